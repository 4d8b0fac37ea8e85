#pragma once
// The SW Fence dialog (114, tester mode): the board's fence parameters of X,
// Y and Z and the stored fences of the flash record, in the main window's
// unit. A fence is a safety limit: it changes only where the technician
// typed a new value, never by being viewed.
#include <windows.h>

INT_PTR CALLBACK SwFenceDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
void RunSwFenceDialog(HWND owner);

void ResetSwFenceDialog();
