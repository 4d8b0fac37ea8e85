#pragma once
// The Joystick dialog's settings: its lists, which controls this firmware
// generation has, and the fill and apply of the joystick parameters, P001,
// the calibration enables and the buttons' second functions.
#include <windows.h>

#include <cstdint>

// The lists filled, and the controls of this firmware generation and
// joystick shown (the board is asked which joystick it has).
void PrepareJoystickControls(HWND wnd);
void FillJoystickDialog(HWND wnd);
// Stores what the technician changed, X, Y, Z, Q in turn, then P001 and the
// second functions; the board is written only where it differs.
void ApplyJoystickDialog(HWND wnd);

void ResetJoystickSettings();
