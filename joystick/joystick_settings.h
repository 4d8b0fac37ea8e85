#pragma once
// The Joystick dialog's settings: its lists, which controls this firmware
// generation has, and the fill and apply of the joystick parameters, P001,
// the calibration enables and the buttons' second functions.
#include <windows.h>

#include <cstdint>

// From this firmware on P001 holds button functions and options instead of
// the position in the single "Button Config" list.
inline constexpr uint32_t kJoystickFunctionFirmware = 0x00020201;
// From this one the buttons have second functions.
inline constexpr uint32_t kJoystickSecondFunctionFirmware = 0x00020306;
inline constexpr uint32_t kJoystickQTrackFirmware = 0x0002040B;
// From this one the joystick says whether it has five buttons.
inline constexpr uint32_t kJoystickFiveButtonFirmware = 0x02050201;
// Bit 7 of the joystick state: a five-button joystick.
inline constexpr uint8_t kJoystickFiveButtonBit = 0x80;

// The lists filled, and the controls of this firmware generation and
// joystick shown (the board is asked which joystick it has).
void PrepareJoystickControls(HWND wnd);
void FillJoystickDialog(HWND wnd);
// Stores what the technician changed, X, Y, Z, Q in turn, then P001 and the
// second functions; the board is written only where it differs.
void ApplyJoystickDialog(HWND wnd);

void ResetJoystickSettings();
