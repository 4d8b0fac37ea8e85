#pragma once
// The main window's own commands: axis and unit selection, Re-Read, Apply
// and the read-speed test.
#include <windows.h>

// Axis radios and "Display Param Number"; a command without a control
// (posted by the program) only refills the fields.
void OnAxisRadio(HWND wnd, int axis);
void OnDisplayParamNumber(HWND wnd);
void OnUnitCommand(HWND wnd);
void OnReReadButton(HWND wnd);
void OnApplyButton(HWND wnd);
void OnReadSpeedTest(HWND wnd);
