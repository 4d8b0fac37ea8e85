#pragma once
// State of the auto-home run that other subsystems look at.
#include <cstdint>

#include "core/axes.h"

// Stage number per axis; 0 when idle.
extern int8_t g_homingStage[kEncoderAxisCount];
// "LogAutoHomeStates", read when a run starts: extra step lines in the log.
extern int g_logAutoHomeStates;

void ResetAutoHomeState();
