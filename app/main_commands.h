#pragma once
// The main window's own commands: axis and unit selection, Re-Read, Apply
// and the read-speed test.
#include <windows.h>

// Axis radios and "Display Param Number"; without a control handle (posted
// by the program) only the fields are refilled.
void OnAxisCommand(HWND wnd, int id, HWND control);
void OnUnitCommand(HWND wnd);
void OnReReadButton(HWND wnd);
void OnApplyButton(HWND wnd);
void OnReadSpeedTest(HWND wnd);
