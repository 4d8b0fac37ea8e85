#pragma once
// The modeless "Move Response" window: back-and-forth moves of one axis
// (scope/response_run), a table of runs with their figures, exported as
// CSV, and the selected run's capture (or two overlaid) in the Scope. The
// rows stay until the window closes; the captures stay for the report.
#include <windows.h>

#include <cstddef>

extern HWND g_responseWnd;

INT_PTR CALLBACK MoveResponseDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "Response": opens the window or brings it to the top.
HWND OpenResponseWindow();

// Rows of the table now (0 while the window is closed).
size_t ResponseRows();

void ResetResponseWindow();
