#pragma once
// The modeless Status dialog (108): every status word of the board in
// hexadecimal with its known bits as read-only check boxes, refreshed ten
// times a second while the board is connected; it clears encoder errors
// and opens the Power dialog.
#include <windows.h>

// The open Status dialog; 0 while it is closed.
extern HWND g_statusDlg;

INT_PTR CALLBACK StatusDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// Reads every status word. A full refresh rewrites every field and box;
// otherwise only those of a word whose value differs from the one shown.
void RefreshStatus(HWND dialog, bool full);

// The main window's "Status" button: brings the open dialog to the top or
// opens it.
HWND OpenStatusDialog();

// Closes the dialog if it is open.
void ResetStatusDialog();
