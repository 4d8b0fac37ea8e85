#pragma once
// The modeless Lamp Dialog (113): one slider and one number field per lamp
// channel, applied at once; the serial box's switches; the LUX400 lamp
// driver's current limits and light modes; the laser.
#include <windows.h>

// The open Lamp Dialog; 0 while it is closed.
extern HWND g_lampDlg;

INT_PTR CALLBACK LampDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "Lamp" button: brings the open dialog to the top or
// opens it.
HWND OpenLampDialog();

// Closes the dialog if it is open.
void ResetLampDialog();
