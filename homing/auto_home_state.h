#pragma once
// State of the auto-home run that other subsystems look at.
#include <cstdint>

inline constexpr int kHomingAxisCount = 4;   // X, Y, Z, Q

// Stage number per axis; 0 when idle.
extern int8_t g_homingStage[kHomingAxisCount];
// "LogAutoHomeStates", read when a run starts: extra step lines in the log.
extern int g_logAutoHomeStates;

void ResetAutoHomeState();
