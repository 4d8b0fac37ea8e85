// The motor calculator with any figures: no undefined behaviour, every
// result empty or the integer nearest to what it stands for, the stored
// drive bytes held in 0..255.
//
// Input: uint32 cycle time, counts per mm, velocity, holding torque,
// firmware; float lead, full steps, microsteps; int32 axis, pole pairs;
// float lead pitch, rotations; int32 motor lag; float volts, a value to
// round.
#include "core/motor_calculator.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <limits>

namespace {

// The nearest integer when there is one in 32 bits, ceil on a tie.
void CheckRounded(float x, const CalcResult& result)
{
    const double value = x;
    const bool fits = std::isfinite(value) && value > std::numeric_limits<int32_t>::min() - 0.5 &&
                      value < std::numeric_limits<int32_t>::max() + 0.5;
    FUZZ_CHECK(result.has_value() == fits);
    if (result) {
        const double distance = *result - value;
        FUZZ_CHECK(distance > -0.5 && distance <= 0.5);
    }
}

// Truncated and held at 0..255.
void CheckDriveByte(float scaled, uint8_t stored)
{
    const double expected = !(scaled > 0.0f) ? 0.0 : scaled >= 255.0f ? 255.0 : std::trunc(scaled);
    FUZZ_CHECK(stored == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const auto params = in.Take<MotorCalcParams>();
    const auto drive = in.Take<StepperDrive>();
    const auto axis = in.Take<int32_t>();
    const auto polePairs = in.Take<int32_t>();
    const auto leadPitch = in.Take<float>();
    const auto rotations = in.Take<float>();
    const auto motorLag = in.Take<int32_t>();
    const auto volts = in.Take<float>();
    const auto x = in.Take<float>();

    const StepperDrive completed = WithStepperDefaults(axis, drive);
    FUZZ_CHECK(completed.lead != 0.0f && completed.fullSteps != 0.0f && completed.microsteps != 0.0f);
    StepperResults(drive, params);
    StepperResults(completed, params);
    BrushlessTorque(polePairs, leadPitch, rotations);
    const CalcResult pv = BrushlessPvNominal(motorLag);
    FUZZ_CHECK(pv.has_value() == (motorLag != 0));
    FUZZ_CHECK(!pv || (*pv >= -40000 && *pv <= 40000));
    BrushedPvNominal(volts, params);

    CheckRounded(x, RoundCalc(x));
    CheckDriveByte(drive.fullSteps * 0.25f, StepsByte(drive.fullSteps));
    CheckDriveByte(drive.microsteps * 0.5f, MicrostepsByte(drive.microsteps));
    return 0;
}
