#pragma once
// The joystick configuration word P001 from firmware 0x00020201 on: a
// function nibble per button and the option bits. The Joystick dialog
// composes it; the GPIO button events and the Watch window read it.
#include <cstdint>

// The firmware generations of the joystick: from the first P001 holds
// button functions and options instead of the position in the single
// "Button Config" list; from the second the buttons have second functions;
// from the fourth the joystick mode tells a five-button joystick apart.
inline constexpr uint32_t kJoystickFunctionFirmware = 0x00020201;
inline constexpr uint32_t kJoystickSecondFunctionFirmware = 0x00020306;
inline constexpr uint32_t kJoystickQTrackFirmware = 0x0002040B;
inline constexpr uint32_t kJoystickFiveButtonFirmware = 0x02050201;
// Bit 7 of the joystick state: a five-button joystick.
inline constexpr uint8_t kJoystickFiveButtonBit = 0x80;

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

constexpr uint32_t WithJoystickButtonFunction(uint32_t word, int button, uint32_t function)
{
    const int shift = kJoystickButtonShift[button];
    return (word & ~(kJoystickNibble << shift)) | (function & kJoystickNibble) << shift;
}

// The "Expo" list position (curve number - 1); -1 for the curve number 0,
// which the list has no entry for.
constexpr int JoystickExpoPosition(uint32_t word)
{
    return static_cast<int>((word >> kJoystickExpoShift) & kJoystickNibble) - 1;
}
constexpr uint32_t WithJoystickExpoPosition(uint32_t word, int position)
{
    const uint32_t curve = static_cast<uint32_t>(position + 1) & kJoystickNibble;
    return (word & ~(kJoystickNibble << kJoystickExpoShift)) | curve << kJoystickExpoShift;
}

constexpr uint32_t WithJoystickFlag(uint32_t word, uint32_t flag, bool on) { return on ? word | flag : word & ~flag; }

// A joystick axis's rate parameter: coarse and fine percent and direction.
// The bits above the direction are the firmware's and keep their values.
inline constexpr uint32_t kJoystickRateByte = 0xFF;
inline constexpr int kJoystickFineShift = 8;
inline constexpr uint32_t kJoystickInvert = 0x10000;

struct JoystickRate {
    uint32_t coarse;
    uint32_t fine;
    bool invert;
};
constexpr JoystickRate SplitJoystickRate(uint32_t word)
{
    return {word & kJoystickRateByte, (word >> kJoystickFineShift) & kJoystickRateByte, (word & kJoystickInvert) != 0};
}
// Rates beyond a byte are cut to their low 8 bits.
constexpr uint32_t ComposeJoystickRate(uint32_t stored, const JoystickRate& rate)
{
    const uint32_t owned = kJoystickRateByte | kJoystickRateByte << kJoystickFineShift | kJoystickInvert;
    return (stored & ~owned) | (rate.coarse & kJoystickRateByte) |
           (rate.fine & kJoystickRateByte) << kJoystickFineShift | (rate.invert ? kJoystickInvert : 0);
}

// The joystick axes X, Y, Z, Q and their parameters: the rate and the
// calibrated ADC window. X, Y and Z are read on ADC channels 3..5.
inline constexpr int kJoystickAxes = 4;
inline constexpr int kCalibratedJoystickAxes = 3;
inline constexpr int kJoystickFirstAdcChannel = 3;
struct JoystickAxisParams {
    int rate, min, centre, max, deadband;
};
inline constexpr JoystickAxisParams kJoystickAxisParams[kJoystickAxes] = {
    {2, 35, 36, 37, 38}, {3, 39, 40, 41, 42}, {4, 43, 44, 45, 46}, {204, 206, 207, 208, 209}};
