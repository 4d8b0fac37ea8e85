#pragma once
// Per-axis values that belong to the program rather than to the board, kept
// in "zoom.ini" in the program's folder, one section "CNC AXIS %d" per axis.
#include <cstdint>
#include <string>

#include "core/session_state.h"

// Builds the path, reads "Target mm", "Vel Nominal Percent" and "Joystick
// Enabled" of every axis, and derives the stepper calibration of X..Q from
// the flash record. A value that does not parse leaves its variable.
void LoadZoomIniSettings();
// Writes the fifteen values back; nothing before LoadZoomIniSettings ran.
void SaveZoomIniSettings();
// The kept path; empty until LoadZoomIniSettings ran.
const std::wstring& ZoomIniPath();

void ResetGotoSettings();
