#include "board/axis_position.h"

#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"

#include <cstdio>

int32_t RawPositionByMotorType(int axis)
{
    int32_t position = 0;
    if (AxisMotorType(axis) == kMotorOpenLoopStepper)
        AXB_GetAxisPosValue(0, axis, &position);
    else
        AXB_GetLatchReg(0, axis, 0, &position);
    return position;
}

int32_t RawPosition(int axis)
{
    if (axis == kZoomAxis) {
        int32_t position = 0;
        AXB_GetAxisPosValue(0, axis, &position);
        return position;
    }
    return RawPositionByMotorType(axis);
}

int32_t UserPosition(int axis, int32_t raw)
{
    // Wraps like the board's own 32-bit counters.
    return static_cast<int32_t>(static_cast<uint32_t>(raw) - static_cast<uint32_t>(machine_zero_offset[axis]) -
                                static_cast<uint32_t>(g_offset[axis]));
}

void FormatLength(char* out, size_t size, int32_t counts, int axis)
{
    // The product in float, as every readout of the family shows it.
    FormatDisplayMm(out, size, static_cast<float>(counts) * g_resolution[axis]);
}

AxisSample SampleAxis(int axis)
{
    AxisSample sample;
    sample.raw = RawPosition(axis);
    // Open-loop steppers have no encoder to report on.
    if (AxisMotorType(axis) != kMotorOpenLoopStepper)
        AXB_GetAxisStatus(0, axis, &sample.status);
    return sample;
}

void FormatAxisReadout(char* out, size_t size, int axis, const AxisSample& sample)
{
    if (sample.status & kAxisStatusFrequencyError)
        std::snprintf(out, size, "freq error");
    else if (sample.status & kAxisStatusSignalError)
        std::snprintf(out, size, "sig error");
    else
        FormatLength(out, size, UserPosition(axis, sample.raw), axis);
}
