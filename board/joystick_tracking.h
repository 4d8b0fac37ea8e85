#pragma once
// The joystick's quick calibration: while it runs, every tick of the zoom
// timer routine reads the three deflections and widens their extremes, so
// that the technician's sweep is followed while the prompt is open.
#include "core/joystick_word.h"

#include <cstdint>

inline constexpr uint8_t kJoyIdle = 0;
inline constexpr uint8_t kJoyTracking = 1;

extern uint8_t g_joy_state;
extern uint16_t g_joy_max[kCalibratedJoystickAxes];
extern uint16_t g_joy_min[kCalibratedJoystickAxes];
// The readings of the last tracking step (kept when the lock was refused).
extern uint16_t g_joy_reading[kCalibratedJoystickAxes];

// One tracking step, while tracking and the board is ready.
void TrackJoystickExtremes();

void ResetJoystickTracking();
