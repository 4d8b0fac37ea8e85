#pragma once
// The main window's zoom homing: "Home" once, and "Continuous Home", which
// homes the zoom, goes to its target, homes again, and logs the Q and zoom
// positions of every cycle.
#include <windows.h>

#include <cstdint>

void OnHomeButton(HWND wnd);
void OnContinuousHomeButton(HWND wnd);

// Timer step, with the move status and error byte of the current axis.
void ContinuousHomeStep(uint8_t moveStatus, uint8_t errorByte);

void ResetHomeCommands();
