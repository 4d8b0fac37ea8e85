#pragma once
// The modeless Power dialog (125): the motor current of each axis and the
// three supply voltages averaged over the last 100 readings, ten times a
// second while the board is connected.
#include <windows.h>

// The open Power dialog; 0 while it is closed.
extern HWND g_powerDlg;

INT_PTR CALLBACK PowerDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// Brings the open dialog to the top, or creates, updates and shows it.
HWND OpenPowerDialog();

// Closes the dialog if it is open and forgets the voltage history.
void ResetPowerDialog();
