#pragma once
// The joystick configuration word P001 from firmware 0x00020201 on: a
// function nibble per button and the option bits. The Joystick dialog
// composes it; the GPIO button events and the Watch window read it.
#include <cstdint>

inline constexpr int kJoystickButtons = 5;
// Where button 1..5's function nibble lies (0 "Disable (Software)").
inline constexpr int kJoystickButtonShift[kJoystickButtons] = {0, 4, 8, 20, 24};
inline constexpr uint32_t kJoystickNibble = 0xF;
inline constexpr int kJoystickExpoShift = 16;           // curve number 1..15
inline constexpr uint32_t kJoystickTwoAxis = 0x1000;    // Z calibrated from Y
inline constexpr uint32_t kJoystickOpenLoop = 0x2000;
inline constexpr uint32_t kJoystickQTrack = 0x4000;
inline constexpr uint32_t kJoystickLevelButtons = 0x8000;
inline constexpr uint32_t kJoystickThrottle = 0x10000000;
inline constexpr uint32_t kJoystickZDp = 0x80000000;

// The function nibble of button 0..4 (0 "Disable (Software)").
constexpr uint32_t JoystickButtonFunction(uint32_t word, int button)
{
    return (word >> kJoystickButtonShift[button]) & kJoystickNibble;
}
