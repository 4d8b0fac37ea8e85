#pragma once
// Modeless windows beside the main window (Status, Joystick, Lamp, Zoom,
// GPIO, Multi Axis Goto, Circular goto, Watch, Power). Each exists at most
// once: its handle lives in a process-wide variable of its own, which the
// dialog clears when it is destroyed.
#include <windows.h>

// Brings the open dialog to the top, or creates it (no owner) and shows it.
// The handle variable is remembered so that the message loop gives the
// dialog its keyboard navigation.
HWND OpenModeless(HWND& handle, int templateId, DLGPROC proc);

// Offers a message to every open modeless dialog's navigation; true when
// one of them took it.
bool OfferToModelessDialogs(MSG& msg);
