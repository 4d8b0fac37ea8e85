#include "core/probe_deflection.h"

#include "core/joystick_word.h"
#include "core/param_table.h"
#include "core/unit_conversion.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kParamDecelTime = 13;      // P013, 0: braking at the acceleration
constexpr int kParamDebounce = 24;       // P024, units of 5 µs
constexpr float kDebounceSeconds = 0.000005f;
constexpr int kProbeAxes = 4;

float Param(int xParam, int axis) { return static_cast<float>(g_param[AxisParam(xParam, axis)]); }

struct Braking {
    float distance = 0;
    bool undetermined = false;
};

// From speed v at acceleration a, or over the board's own deceleration time
// when P013 sets one (the rule the board's tools use, unit as P013 has it).
Braking BrakingDistance(float v, float a, float decelTime)
{
    if (decelTime == 0.0f) {
        if (a == 0.0f)
            return {0, true};
        return {v * v * 0.5f / a, false};
    }
    if (v == 0.0f)
        return {0, true};
    return {decelTime / v * 0.5f, false};
}

// The open-loop joystick drives the axis in microsteps: its speed and
// acceleration in mm follow from the stepper calibration only.
Braking JoystickBraking(int axis, float decelTime)
{
    if ((g_param[kParamJoystickOptions] & kJoystickOpenLoop) == 0)
        return {};
    if (!g_stepperCalValid[axis]) {
        Braking b = BrakingDistance(0, 0, decelTime);
        b.undetermined = true;
        return b;
    }
    const float perMicrostep = g_leadscrew_lead[axis] / (g_motorSteps[axis] * g_microsteps[axis]);
    const float v = Param(kParamJoystickVelocity, axis) * perMicrostep;
    // P049 turns P081's change per cycle into one per second.
    const float a = Param(kParamAccelerationDelta, axis) * perMicrostep *
                    static_cast<float>(g_param[kParamCyclesFactor]);
    return BrakingDistance(v, a, decelTime);
}

} // namespace

ProbeDeflection EstimateProbeDeflection()
{
    ProbeDeflection best;
    const float decelTime = static_cast<float>(g_param[kParamDecelTime]);
    for (int a = 0; a < kProbeAxes; ++a) {
        if (AxisMotorType(a) == kMotorDisabled)
            continue;
        Braking joystick = JoystickBraking(a, decelTime);
        // P061 is in 0.1 mm/s on every firmware here, as the board's tools
        // read it.
        const float v = Param(kParamVelocity, a) / 10.0f;
        Braking motion = BrakingDistance(v, Param(kParamAcceleration, a), decelTime);
        // The board still travels at speed until the debounced hit counts.
        const float debounce = static_cast<float>(g_param[kParamDebounce]) * kDebounceSeconds * v;
        joystick.distance += debounce;
        motion.distance += debounce;
        best.undetermined = best.undetermined || joystick.undetermined || motion.undetermined;
        if (joystick.distance > best.mm)
            best = {joystick.distance, a, kDeflectionJoystick, best.undetermined};
        if (motion.distance > best.mm)
            best = {motion.distance, a, kDeflectionMotion, best.undetermined};
    }
    return best;
}

void FormatDeflection(const ProbeDeflection& deflection, char* value, size_t valueSize, char* source,
                      size_t sourceSize)
{
    if (deflection.undetermined)
        std::snprintf(value, valueSize, "?????");
    else
        std::snprintf(value, valueSize, "%.3f", static_cast<double>(deflection.mm));
    if (deflection.axis < kAxisQ)
        std::snprintf(source, sourceSize, "%c%d", "xyz"[deflection.axis], deflection.source);
    else
        std::snprintf(source, sourceSize, "q");
}

void FormatHundredths(uint32_t value, char* out, size_t size) { std::snprintf(out, size, "%.2f", value * 0.01); }

std::optional<uint32_t> HundredthsOf(double typed)
{
    const double hundredths = std::trunc(typed * 100.0 + 1e-6);
    if (!(typed >= 0.0) || hundredths > static_cast<double>(UINT32_MAX))
        return std::nullopt;
    return static_cast<uint32_t>(hundredths);
}
