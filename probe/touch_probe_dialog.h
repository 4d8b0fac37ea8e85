#pragma once
// "Touch Probe" (107): the trigger inputs' polarity, the probe's board
// parameters and type, the over-travel a hit can cause; in tester mode the
// probe test with its 1 ms poll. Modal; the main window stops its timer
// around it.
#include <windows.h>

INT_PTR CALLBACK TouchProbeDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
void RunTouchProbeDialog(HWND owner);
