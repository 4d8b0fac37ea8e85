// The calculator's arithmetic with the numbers a technician meets: stepper
// results across firmware generations, the brushless and brushed formulas,
// zero divisors and the defaults. The rounding and the stored bytes are the
// fuzz target's (fuzz/calculator.cpp), with these cases among its seeds.
#include "core/motor_calculator.h"

#include <gtest/gtest.h>

namespace {

constexpr MotorCalcParams kQ = {1000, 1000, 500, 5, 0x02060703};   // P049, P058, P061, P078 of the factory Q
constexpr StepperDrive kDrive = {5.0f, 200.0f, 64.0f};

MotorCalcParams WithFirmware(uint32_t firmware, uint32_t holdingTorque = 5)
{
    MotorCalcParams p = kQ;
    p.firmware = firmware;
    p.holdingTorque = holdingTorque;
    return p;
}

TEST(MotorCalculator, StepperResultsFollowTheFirmwareGeneration)
{
    const struct {
        uint32_t firmware, holdingTorque;
        CalcResult torque, pv;
    } kCases[] = {
        {0x0002000A, 5, 2, 1024},          // P061 in mm/s
        {0x0002000B, 5, 20, 1024},         // P061 in tenths: den ÷ 10
        {0x0002000D, 5, 300, 68},          // torque × 15, P V ÷ 15
        {0x00020100, 5, 300, 68},
        {0x00020101, 5, 300, 2560000},     // P V from the step rate
        {0x02060703, 15, -300, 2560000},   // a holding torque above 10 gives a signed torque
    };
    for (const auto& c : kCases) {
        const CalcResults r = StepperResults(kDrive, WithFirmware(c.firmware, c.holdingTorque));
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

    for (const MotorCalcParams& p : {MotorCalcParams{0, 1000, 500, 5, 0x00020100}, {1000, 0, 500, 5, 0x00020100}})
        EXPECT_EQ(StepperResults(kDrive, p).pvNominal, std::nullopt);
    EXPECT_EQ(StepperResults({0.0f, 200.0f, 64.0f}, kQ).pvNominal, std::nullopt);

    EXPECT_EQ(BrushlessTorque(4, 0.0f, 1.0f), std::nullopt);
    EXPECT_EQ(BrushlessTorque(4, 2.0f, 0.0f), std::nullopt);
    EXPECT_EQ(BrushlessPvNominal(0), std::nullopt);
    for (const MotorCalcParams& p : {MotorCalcParams{0, 2000, 200, 5, 0}, {1000, 0, 200, 5, 0}, {1000, 2000, 0, 5, 0}})
        EXPECT_EQ(BrushedPvNominal(12.0f, p), std::nullopt);
    // One microstep per mm and a tiny lead: far beyond 32 bits.
    EXPECT_EQ(StepperResults({1e-6f, 200.0f, 64.0f}, kQ).pvNominal, std::nullopt);
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

TEST(MotorCalculator, EmptyDriveFiguresTakeTheAxissDefaults)
{
    const StepperDrive z = WithStepperDefaults(2, {0.0f, 0.0f, 0.0f});
    EXPECT_EQ(z.lead, 2.54f);
    EXPECT_EQ(z.fullSteps, 200.0f);
    EXPECT_EQ(z.microsteps, 64.0f);
    EXPECT_EQ(WithStepperDefaults(0, {0.0f, 400.0f, 8.0f}).lead, 6.35f);
    EXPECT_EQ(WithStepperDefaults(3, {4.0f, 400.0f, 8.0f}).fullSteps, 400.0f);
}

} // namespace
