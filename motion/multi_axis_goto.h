#pragma once
// The modeless "Multi Axis Goto" window (102): the technician's bench for X,
// Y, Z and Q. Live readouts per axis, single-axis gotos, a coordinated
// four-axis goto, and the continuous run ("Fixed" legs between the targets
// and the user zero, or "Random" points within the targets) watched by
// GotoMonitorTick every second.
#include <windows.h>

// The open window; null while it is closed.
extern HWND g_multiGotoWnd;

INT_PTR CALLBACK MultiAxisGotoDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "4 Axis Goto": opens the window or brings it to the top.
HWND OpenMultiAxisGoto();

// Closes the window if it is open.
void ResetMultiAxisGoto();
