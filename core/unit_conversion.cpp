#include "core/unit_conversion.h"

#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/session_state.h"

#include <cmath>
#include <cstdio>
#include <limits>

float g_leadscrew_lead[kAxisCount];
float g_motorSteps[kAxisCount];
float g_microsteps[kAxisCount];
int g_stepperCalValid[kAxisCount];

namespace {

constexpr float kMaxBelievableLead = 30.0f;
constexpr float kMinBelievableLead = 0.001f;
constexpr float kFallbackLead = 12800.0f;
constexpr float kFallbackMotorSteps = 200.0f;
constexpr float kFallbackMicrosteps = 64.0f;

int32_t Saturate(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (x <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}

bool VelocityInTenths() { return g_firmwareVersion > kLastWholePercentFirmware; }

float Signed(uint32_t param) { return static_cast<float>(static_cast<int32_t>(param)); }

// µsteps per mm of travel: S × M / L, kept in the order the board's own
// tools compute it so the float results agree.
float MicrostepsOf(int axis) { return g_motorSteps[axis] * g_microsteps[axis]; }

} // namespace

void SetStepperCalibration(int axis, float lead, float motorSteps, float microsteps)
{
    if (lead > kMaxBelievableLead || lead < kMinBelievableLead) {
        g_stepperCalValid[axis] = 0;
        g_leadscrew_lead[axis] = kFallbackLead;
        g_motorSteps[axis] = kFallbackMotorSteps;
        g_microsteps[axis] = kFallbackMicrosteps;
        return;
    }
    // Zero steps or microsteps would divide every stepper field by zero: the
    // fields then show "?????", and the data stays as entered.
    g_stepperCalValid[axis] = motorSteps > 0.0f && microsteps > 0.0f ? 1 : 0;
    g_leadscrew_lead[axis] = lead;
    g_motorSteps[axis] = motorSteps;
    g_microsteps[axis] = microsteps;
}

int32_t Nearest(double x)
{
    double up = std::ceil(x);
    double down = std::floor(x);
    return Saturate(up - x <= x - down ? up : down);
}

int32_t RoundHalfAway(double x) { return Saturate(std::round(x)); }

int32_t TruncateToInt32(double x) { return Saturate(std::trunc(x)); }

int32_t TargetMmToCounts(float mm, int axis)
{
    return RoundHalfAway(static_cast<double>(mm) * g_param[AxisParam(kParamCountsPerMm, axis)]);
}

namespace {

std::optional<int32_t> InCounterRange(double counts)
{
    if (!(counts >= std::numeric_limits<int32_t>::min() && counts <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(counts);
}

} // namespace

std::optional<int32_t> GotoCounts(float mm, int axis)
{
    return InCounterRange(std::round(static_cast<double>(mm) * g_param[AxisParam(kParamCountsPerMm, axis)]));
}

std::optional<int32_t> GotoRawCounts(float mm, int axis)
{
    const std::optional<int32_t> counts = GotoCounts(mm, axis);
    if (!counts)
        return std::nullopt;
    return InCounterRange(static_cast<double>(*counts) + machine_zero_offset[axis] + g_offset[axis]);
}

bool IsStepperKind(int kind) { return kind >= kConvMicrostepsInch && kind <= kConvMicrostepAccMm; }

float CountsToUnits(int32_t stored, int axis, int kind)
{
    const float c = static_cast<float>(stored);
    switch (kind) {
    case kConvCountsInch: return c * g_resolution[axis] / kMmPerInchF;
    case kConvCountsMm: return c * g_resolution[axis];
    case kConvMmInch: return c / kMmPerInchF;
    case kConvMicrostepsInch: return c * g_leadscrew_lead[axis] / MicrostepsOf(axis) / kMmPerInchF;
    case kConvMicrostepsMm: return c * g_leadscrew_lead[axis] / MicrostepsOf(axis);
    case kConvMicrostepAccInch:
        return c * g_leadscrew_lead[axis] / MicrostepsOf(axis) / kMmPerInchF * Signed(g_param[kParamCyclesFactor]);
    case kConvMicrostepAccMm:
        return c * g_leadscrew_lead[axis] / MicrostepsOf(axis) * Signed(g_param[kParamCyclesFactor]);
    case kConvVelocityInch: {
        float v = c / kMmPerInchF;
        return VelocityInTenths() ? v / 10 : v;
    }
    case kConvVelocityMm: return VelocityInTenths() ? c / 10 : c;
    default: return c;
    }
}

int32_t UnitsToCounts(float value, int axis, int kind, ConversionLog log)
{
    // Kinds 1 and 2 scale with the axis selected in the main window.
    const double countsPerMm = g_param[AxisParam(kParamCountsPerMm, g_radio_last)];
    const float lead = g_leadscrew_lead[axis];
    switch (kind) {
    case kConvCountsInch: return RoundHalfAway(static_cast<double>(value) * kMmPerInch * countsPerMm);
    case kConvCountsMm: return RoundHalfAway(static_cast<double>(value) * countsPerMm);
    case kConvMmInch: return Nearest(value * kMmPerInchF);
    case kConvMicrostepsInch: return Nearest(MicrostepsOf(axis) * (value / lead) * kMmPerInchF);
    case kConvMicrostepsMm: return Nearest(MicrostepsOf(axis) * (value / lead));
    case kConvMicrostepAccInch:
    case kConvMicrostepAccMm: {
        if (lead == 0.0f) {
            if (log) {
                char text[128];
                std::snprintf(text, sizeof text, "Error Divide by zero g_leadscrew_lead[%d]=%.12g", axis,
                              static_cast<double>(lead));
                log(text);
            }
            return 0;
        }
        const float cycles = Signed(g_param[kParamCyclesFactor]);
        if (kind == kConvMicrostepAccInch)
            return Nearest(MicrostepsOf(axis) * (value / lead) * kMmPerInchF / cycles);
        return Nearest(MicrostepsOf(axis) * (value / lead) / cycles);
    }
    case kConvVelocityInch: {
        float v = value * kMmPerInchF;
        return Nearest(VelocityInTenths() ? v * 10 : v);
    }
    case kConvVelocityMm: return Nearest(VelocityInTenths() ? value * 10 : value);
    default: return Nearest(value);
    }
}

void FormatDisplayMm(char* out, size_t size, float mm)
{
    if (g_unitMode == kUnitInch)
        std::snprintf(out, size, "%.5f", static_cast<double>(mm) / kMmPerInch);
    else
        std::snprintf(out, size, "%.4f", static_cast<double>(mm));
}

void ResetUnitConversion()
{
    for (int a = 0; a < kAxisCount; ++a) {
        g_leadscrew_lead[a] = 0.0f;
        g_motorSteps[a] = 0.0f;
        g_microsteps[a] = 0.0f;
        g_stepperCalValid[a] = 0;
    }
}

void SetStepperCalibrationFromRecord(int axis)
{
    SetStepperCalibration(axis, krv_user_box_data.distancePerMotorRevMm[axis],
                          4.0f * krv_user_box_data.stepsPerRevDiv4[axis],
                          2.0f * krv_user_box_data.microStepsPerStepDiv2[axis]);
}
