#pragma once
// Conversions between the board's stored parameter values and what the
// technician sees in inches or millimetres. The arithmetic (32-bit float
// except where a kind says double) is part of the contract: the same stored
// value must show the same digits as on every other installation.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/param_table.h"

enum ConversionKind : int {
    kConvRaw = 0,
    kConvCountsInch = 1,
    kConvCountsMm = 2,
    kConvMmInch = 3,
    kConvMicrostepsInch = 4,
    kConvMicrostepsMm = 5,
    kConvMicrostepAccInch = 6,
    kConvMicrostepAccMm = 7,
    kConvVelocityInch = 8,
    kConvVelocityMm = 9,
};

// Millimetres per inch. Where a conversion is in float the float constant is
// part of the result, so both forms are named.
inline constexpr double kMmPerInch = 25.4;
inline constexpr float kMmPerInchF = 25.4f;

// Stepper calibration per axis, derived from the flash record when the goto
// settings are loaded.
extern float g_leadscrew_lead[kAxisCount];   // mm per motor revolution
extern float g_motorSteps[kAxisCount];
extern float g_microsteps[kAxisCount];
extern int g_stepperCalValid[kAxisCount];

// Leads outside 0.001..30 mm are not believable: the calibration then falls
// back to the pass-through values and is marked invalid. No stepper has
// zero steps or microsteps: such a calibration is kept but never valid.
void SetStepperCalibration(int axis, float lead, float motorSteps, float microsteps);
// The calibration of X..Q from the drive data of the flash record, which
// keeps steps per revolution divided by 4 and microsteps divided by 2 so
// that each fits a byte.
void SetStepperCalibrationFromRecord(int axis);

// Of ceil(x) and floor(x) the one closer to x, ceil on a tie; saturated to the
// 32-bit range (0 for a value that is not a number).
int32_t Nearest(double x);
// Half away from zero, saturated likewise.
int32_t RoundHalfAway(double x);
// Toward zero, saturated likewise: a velocity percent as the board takes it.
int32_t TruncateToInt32(double x);

// The board's counters wrap at 32 bits; so do sums of counts.
constexpr int32_t AddCounts(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Kinds 6 and 7 cannot convert with a zero lead: the caller logs this text.
using ConversionLog = void (*)(const char* text);

float CountsToUnits(int32_t stored, int axis, int kind);
int32_t UnitsToCounts(float value, int axis, int kind, ConversionLog log = nullptr);

bool IsStepperKind(int kind);

// A goto target in millimetres as counts of the axis: the product with its
// counts per mm in double, rounded half away from zero (0 for an axis whose
// counts per mm is unknown).
int32_t TargetMmToCounts(float mm, int axis);

// The same, none when the counts leave the 32-bit range: a huge target
// must be refused, not saturated to the end of the counter.
std::optional<int32_t> GotoCounts(float mm, int axis);
// The counter value of a goto target in millimetres: its counts plus the
// user zero (machine zero offset and software zero). None when the sum
// leaves the 32-bit counter, where it would wrap round to the other end of
// the travel.
std::optional<int32_t> GotoRawCounts(float mm, int axis);

// A length in millimetres as the readouts show it: "%.4f" mm, or in inch
// mode the millimetres ÷ 25.4 in double with "%.5f".
void FormatDisplayMm(char* out, size_t size, float mm);

void ResetUnitConversion();
