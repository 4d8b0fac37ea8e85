#pragma once
// The Board group's line that says whether the board's state is saved to
// flash, and the question before Exit, the close box or Reset lose it.
#include <windows.h>

// The line as the baseline and the board stand now; red while not saved.
void ShowFlashLine(HWND mainWnd);
// The main window's WM_CTLCOLORSTATIC.
HBRUSH FlashLineColour(HWND mainWnd, HDC dc, HWND control);
// The line clicked: Compare on the board against flash.
void OnFlashLineClicked(HWND mainWnd);
void OnCompareButton(HWND mainWnd);

// True when the program may go on: nothing unsaved, the question switched
// off ("WarnUnsavedChanges" 0), or the technician answered Yes (saved first)
// or No. False for Cancel.
bool MayLoseUnsavedChanges(HWND mainWnd);
