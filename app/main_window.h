#pragma once
#include <windows.h>

#include "ui/main_window_handle.h"

INT_PTR CALLBACK MainDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// Creates dialog 101 modeless and top-level (its initialisation, board
// connection included, runs now), stores it in g_mainWnd and shows it.
HWND CreateMainWindow(HINSTANCE instance);
