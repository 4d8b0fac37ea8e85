#pragma once
// Positions of the axes as the main window and the motion tests show them.
#include <cstddef>
#include <cstdint>

#include "core/axes.h"
#include "core/status_bits.h"

// The axis's counter: the commanded position for the zoom and for open-loop
// steppers (they have no encoder), else the encoder count in latch 0.
int32_t RawPosition(int axis);
// By motor type alone, for the zero buttons of X..Q.
int32_t RawPositionByMotorType(int axis);

// raw − machine_zero_offset − g_offset, in counts.
int32_t UserPosition(int axis, int32_t raw);

// Counts of the axis in the display unit: "%.5f" inches in inch mode,
// "%.4f" millimetres otherwise.
void FormatLength(char* out, size_t size, int32_t counts, int axis);

// One reading of an axis: its counter and, for axes with an encoder, its
// status word.
struct AxisSample {
    int32_t raw = 0;
    uint16_t status = 0;
};
AxisSample SampleAxis(int axis);

// The readout beside the zero buttons: "freq error" or "sig error" while the
// encoder reports one, else the displayed position.
void FormatAxisReadout(char* out, size_t size, int axis, const AxisSample& sample);
