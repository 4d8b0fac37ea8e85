#pragma once
// The modal dialog that watches an auto-home run: which axes home, and a
// Cancel that stops them all.
#include <windows.h>

INT_PTR CALLBACK AutoHomeProgressDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
void ShowAutoHomeProgress(HWND owner);
