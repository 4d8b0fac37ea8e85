#pragma once
// The touch probe's arithmetic: how far a machine can over-travel after a
// probe hit at the speeds it is set to (the probe must take that much
// deflection), and the retract fields, which show hundredths of a
// millimetre or percent as decimals.
#include <cstddef>
#include <cstdint>
#include <optional>

enum DeflectionSource : int { kDeflectionNone = 0, kDeflectionJoystick = 1, kDeflectionMotion = 2 };

struct ProbeDeflection {
    float mm = 0;
    int axis = 0;   // X..Q that gave it
    int source = kDeflectionNone;
    // An axis's speed or braking is not known (no acceleration, no stepper
    // calibration for an open-loop joystick): no figure can be trusted.
    bool undetermined = false;
};

// Over the axes X..Q present (motor type not 0), from g_param and the
// stepper calibration; the arithmetic is in float.
ProbeDeflection EstimateProbeDeflection();

// "?????" when undetermined, else "%.3f"; the source as the axis letter and
// the source digit ("x2"), "q" for Q.
void FormatDeflection(const ProbeDeflection& deflection, char* value, size_t valueSize, char* source,
                      size_t sourceSize);

// A value kept in hundredths (P048 retract distance, P015 retract velocity)
// as its field shows it: "%.2f" of value × 0.01 in double, so that even an
// erased word 0xFFFFFFFF shows whole ("42949672.95").
void FormatHundredths(uint32_t value, char* out, size_t size);
// The hundredths of a typed decimal, truncated toward zero. The product is
// nudged by 1e-6 first: 1.15 × 100 is 114.99999999999999 in binary, and a
// field that shows "1.15" must store 115 again, not creep down to 114 on
// every OK. None for a negative number or one beyond 32 bits.
std::optional<uint32_t> HundredthsOf(double typed);
