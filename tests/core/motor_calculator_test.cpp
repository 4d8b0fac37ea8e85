// The calculator's arithmetic with the numbers a technician meets: stepper
// results across firmware generations, the brushless and brushed formulas,
// zero divisors, rounding and the stored byte forms.
#include "core/motor_calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr MotorCalcParams kQ = {1000, 1000, 500, 5, 0x02060703};   // P049, P058, P061, P078 of the factory Q
constexpr StepperDrive kDrive = {5.0f, 200.0f, 64.0f};

MotorCalcParams WithFirmware(uint32_t firmware)
{
    MotorCalcParams p = kQ;
    p.firmware = firmware;
    return p;
}

TEST(MotorCalculator, StepperResultsFollowTheFirmwareGeneration)
{
    struct Case {
        uint32_t firmware;
        CalcResult torque;
        CalcResult pv;
    };
    const Case kCases[] = {
        {0x0002000A, 2, 1024},         // P061 in mm/s
        {0x0002000B, 20, 1024},        // P061 in tenths: den ÷ 10
        {0x0002000D, 300, 68},         // torque × 15, P V ÷ 15
        {0x00020100, 300, 68},
        {0x00020101, 300, 2560000},    // P V from the step rate
    };
    for (const Case& c : kCases) {
        const CalcResults r = StepperResults(kDrive, WithFirmware(c.firmware));
        EXPECT_EQ(r.torque, c.torque) << std::hex << c.firmware;
        EXPECT_EQ(r.pvNominal, c.pv) << std::hex << c.firmware;
    }
}

TEST(MotorCalculator, ZeroDivisorsAndOverflowGiveNoResult)
{
    MotorCalcParams params = kQ;
    params.velocity = 0;
    EXPECT_EQ(StepperResults(kDrive, params).torque, std::nullopt);
    EXPECT_EQ(StepperResults(kDrive, params).pvNominal, 2560000);

    params = WithFirmware(0x00020100);
    params.cycleTime = 0;
    EXPECT_EQ(StepperResults(kDrive, params).pvNominal, std::nullopt);
    params = WithFirmware(0x00020100);
    params.countsPerMm = 0;
    EXPECT_EQ(StepperResults(kDrive, params).pvNominal, std::nullopt);
    EXPECT_EQ(StepperResults({0.0f, 200.0f, 64.0f}, kQ).pvNominal, std::nullopt);

    EXPECT_EQ(BrushlessTorque(4, 0.0f, 1.0f), std::nullopt);
    EXPECT_EQ(BrushlessTorque(4, 2.0f, 0.0f), std::nullopt);
    EXPECT_EQ(BrushlessPvNominal(0), std::nullopt);
    EXPECT_EQ(BrushedPvNominal(12.0f, {0, 2000, 200, 5, 0}), std::nullopt);
    EXPECT_EQ(BrushedPvNominal(12.0f, {1000, 0, 200, 5, 0}), std::nullopt);
    EXPECT_EQ(BrushedPvNominal(12.0f, {1000, 2000, 0, 5, 0}), std::nullopt);
    // One microstep per mm and a tiny lead: far beyond 32 bits.
    EXPECT_EQ(StepperResults({1e-6f, 200.0f, 64.0f}, kQ).pvNominal, std::nullopt);
}

TEST(MotorCalculator, HoldingTorqueAbove10GivesASignedTorque)
{
    MotorCalcParams params = kQ;
    params.holdingTorque = 15;
    EXPECT_EQ(StepperResults(kDrive, params).torque, -300);
}

TEST(MotorCalculator, BrushlessAndBrushedFormulas)
{
    EXPECT_EQ(BrushlessTorque(4, 2.0f, 1.0f), 4800000);
    EXPECT_EQ(BrushlessTorque(1, 3.0f, 2.0f), 1600000);
    EXPECT_EQ(BrushlessPvNominal(8), 5000);
    EXPECT_EQ(BrushlessPvNominal(3), 13333);
    EXPECT_EQ(BrushlessPvNominal(-3), -13333);
    // The factory zoom: 3840000000 / 1000 / 2000 / 200 × 12 V = 115.2.
    EXPECT_EQ(BrushedPvNominal(12.0f, {1000, 2000, 200, 5, 0}), 115);
}

TEST(MotorCalculator, RoundsHalvesUpward)
{
    const std::pair<float, CalcResult> kCases[] = {
        {2.5f, 3}, {-2.5f, -2}, {2.4f, 2}, {-2.6f, -3}, {0.0f, 0},
        {std::numeric_limits<float>::infinity(), std::nullopt}, {std::nanf(""), std::nullopt},
        {3e9f, std::nullopt}, {-3e9f, std::nullopt},
    };
    for (const auto& [x, rounded] : kCases)
        EXPECT_EQ(RoundCalc(x), rounded) << x;
}

TEST(MotorCalculator, DefaultsAndStoredBytes)
{
    const StepperDrive z = WithStepperDefaults(2, {0.0f, 0.0f, 0.0f});
    EXPECT_EQ(z.lead, 2.54f);
    EXPECT_EQ(z.fullSteps, 200.0f);
    EXPECT_EQ(z.microsteps, 64.0f);
    EXPECT_EQ(WithStepperDefaults(0, {0.0f, 400.0f, 8.0f}).lead, 6.35f);
    EXPECT_EQ(WithStepperDefaults(3, {4.0f, 400.0f, 8.0f}).fullSteps, 400.0f);

    const std::pair<float, uint8_t> kSteps[] = {{200.0f, 50}, {203.0f, 50}, {1020.0f, 255}, {1024.0f, 255},
                                                {5000.0f, 255}, {-4.0f, 0}};
    for (const auto& [steps, stored] : kSteps)
        EXPECT_EQ(StepsByte(steps), stored) << steps;
    const std::pair<float, uint8_t> kMicro[] = {{64.0f, 32}, {3.0f, 1}, {256.0f, 128}, {512.0f, 255}, {-2.0f, 0}};
    for (const auto& [micro, stored] : kMicro)
        EXPECT_EQ(MicrostepsByte(micro), stored) << micro;
}

} // namespace
