#pragma once
// The Lamp Dialog's LUX400 rows: the current limits and light modes of the
// LUX400 lamp driver, kept in board parameters P026..P032.
#include <windows.h>

// Limits, modes and captions from the program's copy of the parameters.
void FillLuxRows(HWND dialog);
// "Apply LUX": every row's limit and mode into its parameter, on the board.
void ApplyLuxRows(HWND dialog);
void ShowLuxControls(HWND dialog, bool show);
