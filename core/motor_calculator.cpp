#include "core/motor_calculator.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kDefaultLead = 6.35f;
constexpr float kDefaultLeadZ = 2.54f;
constexpr float kDefaultFullSteps = 200.0f;
constexpr float kDefaultMicrosteps = 64.0f;
constexpr int kAxisZ = 2;

// Firmware generations that changed the stepper formulas.
constexpr uint32_t kTenthsVelocityFirmware = 0x0002000A;   // above: P061 in tenths
constexpr uint32_t kScaledTorqueFirmware = 0x0002000C;     // above: torque scaled by 15
constexpr uint32_t kStepRatePvFirmware = 0x00020100;       // above: P V from the step rate

constexpr int32_t kBrushlessTorqueFactor = 2400000;
constexpr int32_t kBrushlessPvFactor = 40000;

float F(uint32_t param) { return static_cast<float>(param); }

uint8_t ClampedByte(float x)
{
    if (!(x > 0.0f))
        return 0;
    if (x >= 255.0f)
        return 255;
    return static_cast<uint8_t>(x);
}

} // namespace

CalcResult RoundCalc(float x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    const double value = x;
    const double up = std::ceil(value);
    const double down = std::floor(value);
    const double nearest = std::fabs(value - up) > std::fabs(value - down) ? down : up;
    if (nearest > std::numeric_limits<int32_t>::max() || nearest < std::numeric_limits<int32_t>::min())
        return std::nullopt;
    return static_cast<int32_t>(nearest);
}

StepperDrive WithStepperDefaults(int axis, StepperDrive drive)
{
    if (drive.lead == 0.0f)
        drive.lead = axis == kAxisZ ? kDefaultLeadZ : kDefaultLead;
    if (drive.fullSteps == 0.0f)
        drive.fullSteps = kDefaultFullSteps;
    if (drive.microsteps == 0.0f)
        drive.microsteps = kDefaultMicrosteps;
    return drive;
}

CalcResults StepperResults(const StepperDrive& drive, const MotorCalcParams& params)
{
    const float lead = drive.lead;
    const float steps = drive.fullSteps;
    const float micro = drive.microsteps;
    CalcResults results;

    float pv = 400000.0f / lead * steps * micro / F(params.cycleTime) / F(params.countsPerMm);
    float num = (20.0f - 2.0f * F(params.holdingTorque)) * 256000.0f;
    float den = (F(params.velocity) / lead) * (micro * steps);
    if (params.firmware > kTenthsVelocityFirmware)
        den = static_cast<float>(static_cast<double>(den) / 10.0);
    if (params.firmware > kScaledTorqueFirmware) {
        num = num * 15.0f;
        pv = pv / 15.0f;
    }
    const bool pvFromStepRate = params.firmware > kStepRatePvFirmware;
    if (pvFromStepRate)
        pv = steps * 1000.0f * micro / lead;

    if (lead != 0.0f && den != 0.0f)
        results.torque = RoundCalc(num / den);
    const bool pvDivisorZero = lead == 0.0f || (!pvFromStepRate && (params.cycleTime == 0 || params.countsPerMm == 0));
    if (!pvDivisorZero)
        results.pvNominal = RoundCalc(pv);
    return results;
}

CalcResult BrushlessTorque(int32_t polePairs, float leadPitch, float rotations)
{
    if (leadPitch == 0.0f || rotations == 0.0f)
        return std::nullopt;
    // The product wraps at 32 bits as the board's tools form it.
    const auto product = static_cast<int32_t>(static_cast<uint32_t>(polePairs) * static_cast<uint32_t>(kBrushlessTorqueFactor));
    return RoundCalc(static_cast<float>(product) / (leadPitch / rotations));
}

CalcResult BrushlessPvNominal(int32_t motorLag)
{
    if (motorLag == 0)
        return std::nullopt;
    return kBrushlessPvFactor / motorLag;
}

CalcResult BrushedPvNominal(float volts, const MotorCalcParams& params)
{
    if (params.cycleTime == 0 || params.countsPerMm == 0 || params.velocity == 0)
        return std::nullopt;
    return RoundCalc(3840000000.0f / F(params.cycleTime) / F(params.countsPerMm) / F(params.velocity) * volts);
}

uint8_t StepsByte(float fullSteps) { return ClampedByte(fullSteps * 0.25f); }
uint8_t MicrostepsByte(float microsteps) { return ClampedByte(microsteps * 0.5f); }
