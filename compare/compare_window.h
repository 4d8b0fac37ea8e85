#pragma once
// The modeless Compare window: two sources of parameters and record items
// (the board now, the flash baseline, a ".par" file, a saved state of the
// board's history, or one axis of the board against another) row by row,
// with writing the other side's values to the board and a CSV export.
#include <windows.h>

extern HWND g_compareDlg;

INT_PTR CALLBACK CompareDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

enum class CompareStart {
    AsLeft,              // the sources chosen last (the board against flash at first)
    BoardAgainstFlash,
};
HWND OpenCompareWindow(CompareStart start);
// The board's sides taken again after the board was written.
void RefreshCompareWindow();

void ResetCompareWindow();
