#pragma once
// The modeless "Watch" window (117): one quantity of X, Y and Z in digits
// that fill the window, so a technician reads it from across the machine.
// Refreshed every 100 ms; the font is fitted again at every resize.
#include <windows.h>

// The open window; null while it is closed.
extern HWND g_watchWnd;

INT_PTR CALLBACK WatchDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// Multi Axis Goto's "Watch": opens the window or brings it to the top.
HWND OpenWatchWindow();

// Closes the window if it is open.
void ResetWatchWindow();
