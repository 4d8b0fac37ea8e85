#pragma once
#include <windows.h>

// Timer 1 of the main window, every 10 ms: readouts and the periodic work of
// the other subsystems. Does nothing without a board.
void OnMainTimer(HWND wnd);
