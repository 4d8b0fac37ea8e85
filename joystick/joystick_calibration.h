#pragma once
// The joystick calibrations of X, Y and Z, guided by prompts: "Calibrate"
// follows a sweep to all extremes while its prompt is open, "Calibrate
// Long" samples the stick held at each end and centred. Both write the ADC
// windows to the parameter table and the board; Cancel at any prompt writes
// none and gives the stick its settings back.
#include <windows.h>

void RunQuickJoystickCalibration(HWND wnd);
void RunLongJoystickCalibration(HWND wnd);
