#pragma once
// The modeless Joystick dialog (104): the joystick axes' rates, direction
// and ADC windows, the joystick configuration word P001 in the layout of the
// board's firmware generation, the joystick live, external output 5, and
// the two calibrations.
#include <windows.h>

// The open Joystick dialog; 0 while it is closed.
extern HWND g_joystickDlg;

INT_PTR CALLBACK JoystickDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "Joystick" button: brings the open dialog to the top or
// opens it.
HWND OpenJoystickDialog();

// Closes the dialog if it is open and forgets its state.
void ResetJoystickDialog();
