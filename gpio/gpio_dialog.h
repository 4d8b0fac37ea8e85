#pragma once
// The modeless GPIO dialog (118): the eight general-purpose pins live, their
// directions and outputs set by hand, their firmware functions (P009) and
// software functions (the flash record), the joystick's active functions,
// the button events and the loop-back self test.
#include <windows.h>

// The open GPIO dialog; 0 while it is closed.
extern HWND g_gpioDlg;

INT_PTR CALLBACK GPIODialogProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "GPIO" button: brings the open dialog to the top or
// opens it.
HWND OpenGpioDialog();

// Closes the dialog if it is open.
void ResetGpioDialog();
