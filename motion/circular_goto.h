#pragma once
// The modeless "Circular goto" window (128): one circular move of the board
// in a tilted plane, the entered millimetres sent as X counts. While open it
// runs the goto monitor every 10 ms, which keeps the following-error
// bookkeeping of the goto tests going and logs the sampling interval.
#include <windows.h>

// The open window; null while it is closed.
extern HWND g_circularGotoWnd;

INT_PTR CALLBACK CircularGotoDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "Circular Goto": opens the window or brings it to the top.
HWND OpenCircularGoto();

// Closes the window if it is open.
void ResetCircularGoto();
