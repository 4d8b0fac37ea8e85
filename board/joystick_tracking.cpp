#include "board/joystick_tracking.h"

#include "board/board_lock.h"
#include "board/board_ready.h"
#include "core/joystick_calibration.h"
#include "driver/axb400.h"

uint8_t g_joy_state;
uint16_t g_joy_max[kCalibratedJoystickAxes];
uint16_t g_joy_min[kCalibratedJoystickAxes];
uint16_t g_joy_reading[kCalibratedJoystickAxes];

void TrackJoystickExtremes()
{
    if (g_joy_state != kJoyTracking || !IsAXBBoardLoaded(true))
        return;
    if (BoardLockGuard lock; lock)
        for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis)
            AXB_ReadAdc(0, kJoystickFirstAdcChannel + axis, &g_joy_reading[axis]);
    for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis)
        WidenJoystickExtremes(g_joy_reading[axis], g_joy_max[axis], g_joy_min[axis]);
}

void ResetJoystickTracking()
{
    g_joy_state = kJoyIdle;
    for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis) {
        g_joy_max[axis] = kJoystickNoMax;
        g_joy_min[axis] = kJoystickNoMin;
        g_joy_reading[axis] = 0;
    }
}
