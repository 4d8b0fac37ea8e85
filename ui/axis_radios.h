#pragma once
// The axis radios X..Zoom that the main window and the axis dialogs share
// (res/axis_radio_ids.h).
#include <windows.h>

#include "res/axis_radio_ids.h"

inline constexpr int kAxisRadioIds[] = {IDC_AXIS_X, IDC_AXIS_Y, IDC_AXIS_Z, IDC_AXIS_Q, IDC_AXIS_ZOOM};

// The axis (0..4) of a radio id; -1 for any other control.
int AxisOfRadio(int id);
// Checks the axis's radio alone among the five.
void CheckAxisRadio(HWND wnd, int axis);
