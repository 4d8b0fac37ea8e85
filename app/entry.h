#pragma once
#include <windows.h>

// The whole life of the program: the main window, the single-instance rule
// and the message loop. Returns the exit code.
int RunStagetune(HINSTANCE instance);

// The dialog navigation of the main window and of every open modeless
// dialog; true when one of them took the message.
bool HandleDialogNavigation(MSG& msg);

// Runs the message loop until the quit message; returns its wParam.
int RunMessageLoop();
