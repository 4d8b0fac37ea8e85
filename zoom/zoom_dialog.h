#pragma once
// The modeless "Zoom Dialog" (112): buttons for the ten zoom positions and
// homing, the digit keys doing the same while the dialog is active, the zoom
// axis live, and the zoom's home type (P233) and second home velocity (P235)
// in the parameter table.
#include <windows.h>

#include <cstdint>

// The open Zoom dialog; 0 while it is closed.
extern HWND g_zoomDlg;

INT_PTR CALLBACK ZoomDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "Zoom" button: brings the open dialog to the top or
// opens it.
HWND OpenZoomDialog();

// The message loop offers every message here before dialog navigation:
// while the dialog is active a key press is logged, and a digit key outside
// the dialog's edit field homes the zoom ("0") or goes to a zoom position
// ("1" .. "9"). True when the key was used up.
bool ForwardZoomDialogKey(const MSG& msg);

// A percent as the board's hundredths, within what the firmware accepts.
int32_t ZoomPercentToBoard(float percent);

// Closes the dialog if it is open and forgets its state.
void ResetZoomDialog();
