#pragma once
// Modeless windows beside the main window (Status, Joystick, Lamp, Zoom,
// GPIO, Multi Axis Goto, Circular goto, Watch, Power). Each exists at most
// once: its handle lives in a process-wide variable of its own, which is
// cleared when the dialog is destroyed. Their periodic work always runs on
// timer 1 (IDT_TICK) of their own window. Closing one never ends the program.
#include <windows.h>

// Brings the open dialog to the top, or creates it (no owner) and shows it.
// The handle variable is remembered so that the message loop gives the
// dialog its keyboard navigation.
HWND OpenModeless(HWND& handle, int templateId, DLGPROC proc);

// Exit, Cancel and the close box: timer 1 stopped, the window destroyed,
// the handle cleared.
void CloseModeless(HWND& handle, HWND wnd);

// WM_DESTROY, however the window goes (also with its owner or at Reset):
// the handle cleared and timer 1 stopped; no quit message.
void ModelessDestroyed(HWND& handle, HWND wnd);

// Destroys the dialog if it is open (Reset, tests).
void DestroyModeless(HWND& handle);

// Offers a message to every open modeless dialog's navigation; true when
// one of them took it.
bool OfferToModelessDialogs(MSG& msg);
