#pragma once
#include <windows.h>

#include <cstdint>

#include "core/param_table.h"

inline constexpr int kPositionHistory = 4;
inline constexpr UINT kMainTimerPeriodMs = 10;

extern uint32_t g_tickCount;
// The last four raw positions of every axis, one ring index shared by all.
extern int32_t g_posHistory[kAxisCount][kPositionHistory];

// Timer 1 of the main window, every 10 ms: readouts, velocity, following
// error, the status blink and the periodic work of the other subsystems.
// Does nothing without a board.
void OnMainTimer(HWND wnd);

// The readouts and the "Status" caption are written only here; the unit
// change writes Max Following through the same memory of what is shown.
void ShowReadout(HWND wnd, int id, const char* text);
// After the main window was initialised again.
void ForgetShownReadouts();

void ResetMainTimer();
