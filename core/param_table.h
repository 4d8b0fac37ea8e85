#pragma once
// The program's copy of the board's 512 parameters and the per-axis scales
// derived from it.
#include <cstdint>

#include "core/axes.h"
#include "core/param_numbers.h"

extern uint32_t g_param[kParamCount];
extern float g_resolution[kAxisCount];        // millimetres per count, 0 when unknown

// Motor type, bits 0..2 of P064 + 40·a.
enum MotorType : int {
    kMotorDisabled = 0,
    kMotorBrushedDc = 1,
    kMotorBrushlessDc = 2,
    kMotorStepper = 3,
    kMotorOpenLoopStepper = 4,
    kMotorBrushlessOpenLoop = 5,
};
int AxisMotorType(int axis);

// g_resolution from P058 + 40·a for all five axes.
void RecomputeScales();

void ResetParamTable();
