#pragma once
// The motor calculator's arithmetic: the "Torque" and "P V(nominal)" tuning
// values from a motor's mechanical data, and the stored forms of a stepper's
// drive data. Single precision where the board's tools use it, so the same
// inputs give the same digits everywhere.
#include <cstdint>
#include <optional>

// A result that has no integer (a zero divisor, or a value outside 32 bits)
// is empty; the dialog shows "?????" for it.
using CalcResult = std::optional<int32_t>;

// Of ceil(x) and floor(x) the one closer to x, ceil on a tie; empty when x is
// not finite or does not fit 32 bits.
CalcResult RoundCalc(float x);

// The board parameters the formulas read, as unsigned values.
struct MotorCalcParams {
    uint32_t cycleTime;      // P049, µs
    uint32_t countsPerMm;    // P058 + 40·a
    uint32_t velocity;       // P061 + 40·a
    uint32_t holdingTorque;  // P078 + 40·a
    uint32_t firmware;       // g_firmwareVersion
};

struct StepperDrive {
    float lead;        // mm per motor revolution
    float fullSteps;   // per revolution
    float microsteps;  // per full step
};

struct CalcResults {
    CalcResult torque;
    CalcResult pvNominal;
};

// Zero entries take their defaults: lead 2.54 mm on Z and 6.35 mm on every
// other axis, 200 full steps, 64 microsteps.
StepperDrive WithStepperDefaults(int axis, StepperDrive drive);

CalcResults StepperResults(const StepperDrive& drive, const MotorCalcParams& params);
CalcResult BrushlessTorque(int32_t polePairs, float leadPitch, float rotations);
CalcResult BrushlessPvNominal(int32_t motorLag);
CalcResult BrushedPvNominal(float volts, const MotorCalcParams& params);

// The flash record keeps full steps ÷ 4 and microsteps ÷ 2 as bytes:
// truncated, and held at 0..255 rather than wrapped (512 microsteps must not
// become 0).
uint8_t StepsByte(float fullSteps);
uint8_t MicrostepsByte(float microsteps);
