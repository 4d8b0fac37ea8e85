#pragma once
// Per-axis values that belong to the program rather than to the board.
#include <cstdint>

#include "params/param_table.h"

extern float g_velPercent[kAxisCount];      // nominal velocity percent
extern int32_t g_cmdVelPercent[kAxisCount]; // the integer percent last sent to the board
extern bool g_joystickEnabled[kAxisCount];

void ResetGotoSettings();
