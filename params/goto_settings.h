#pragma once
// Per-axis values that belong to the program rather than to the board, kept
// in "zoom.ini" in the program's folder, one section "CNC AXIS %d" per axis.
#include <cstdint>
#include <string>

#include "core/param_table.h"

// Until zoom.ini is read, and while its value is not a number, the percent
// is the file's default.
inline constexpr float kDefaultVelPercent = 100.0f;
extern float g_velPercent[kAxisCount];      // nominal velocity percent
extern int32_t g_cmdVelPercent[kAxisCount]; // the integer percent last sent to the board
extern bool g_joystickEnabled[kAxisCount];

// Builds the path, reads "Target mm", "Vel Nominal Percent" and "Joystick
// Enabled" of every axis, and derives the stepper calibration of X..Q from
// the flash record. A value that does not parse leaves its variable.
void LoadZoomIniSettings();
// Writes the fifteen values back; nothing before LoadZoomIniSettings ran.
void SaveZoomIniSettings();
// The kept path; empty until LoadZoomIniSettings ran.
const std::wstring& ZoomIniPath();

void ResetGotoSettings();
