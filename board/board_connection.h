#pragma once
#include <windows.h>

// Opens the board (five attempts, 200 ms apart) and shows its versions in the
// main window's captions and in the log. True when the board is open.
bool ConnectBoard(HWND mainWnd);

// AXB_CloseDrv with its log line.
void CloseBoardDriver();
