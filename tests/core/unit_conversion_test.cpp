// Conversions between stored values and inches or millimetres: the float and
// double arithmetic and the rounding rules decide which digits a technician
// sees and which counts reach the board.
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <tuple>

namespace {

std::string Shown(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

class UnitConversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetParamTable();
        ResetUnitConversion();
        ResetSessionState();
    }
    void CountsPerMm(int axis, uint32_t counts)
    {
        g_param[AxisParam(kParamCountsPerMm, axis)] = counts;
        RecomputeScales();
    }
};

TEST_F(UnitConversion, NearestTakesTheCeilingOnATieAndSaturates)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    const struct {
        double x;
        int32_t nearest, halfAway, truncated;
    } kCases[] = {
        {2.5, 3, 3, 2},         {-2.5, -2, -3, -2},      {2.4999, 2, 2, 2},      {-2.6, -3, -3, -2},
        {-50.5, -50, -51, -50}, {37.9, 38, 38, 37},      {-37.9, -38, -38, -37},
        {1e12, kMax, kMax, kMax}, {-5e9, kMin, kMin, kMin},
        {std::numeric_limits<double>::infinity(), kMax, kMax, kMax},
        {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Nearest(c.x), c.nearest) << c.x;
        EXPECT_EQ(RoundHalfAway(c.x), c.halfAway) << c.x;
        EXPECT_EQ(TruncateToInt32(c.x), c.truncated) << c.x;
    }
}

// Kinds 1 and 2 take the counts per mm of the main window's axis whatever
// axis is passed, in double and rounded half away; the way back takes the
// passed axis's resolution.
TEST_F(UnitConversion, CountsKindsScaleWithTheSelectedAxis)
{
    CountsPerMm(0, 500);
    CountsPerMm(1, 2000);
    g_radio_last = 1;
    EXPECT_EQ(UnitsToCounts(0.001f, 0, kConvCountsInch), 51);   // 50.8
    EXPECT_EQ(UnitsToCounts(-0.001f, 0, kConvCountsInch), -51);
    EXPECT_EQ(UnitsToCounts(1.5f, 0, kConvCountsMm), 3000);
    EXPECT_EQ(Shown(CountsToUnits(51, 1, kConvCountsInch)), "0.00100394");
    EXPECT_EQ(Shown(CountsToUnits(3000, 1, kConvCountsMm)), "1.5");
    EXPECT_EQ(Shown(CountsToUnits(3000, 0, kConvCountsMm)), "6");
    EXPECT_EQ(UnitsToCounts(1.0f, 0, kConvMmInch), 25);
    EXPECT_EQ(Shown(CountsToUnits(254, 0, kConvMmInch)), "10");
    // An unknown counts per mm shows and stores zero.
    CountsPerMm(1, 0);
    EXPECT_EQ(CountsToUnits(1234, 1, kConvCountsMm), 0.0f);
    EXPECT_EQ(UnitsToCounts(5.0f, 0, kConvCountsMm), 0);
}

TEST_F(UnitConversion, VelocityIsInTenthsFromFirmware2000B)
{
    const std::tuple<uint32_t, int32_t, const char*, int32_t> kCases[] = {{0x0002000B, 125, "12.5", 254},
                                                                          {0x0002000A, 13, "125", 25}};
    for (const auto& [firmware, mmCounts, shown, inchCounts] : kCases) {
        SetFirmwareVersion(firmware);
        EXPECT_EQ(UnitsToCounts(12.5f, 0, kConvVelocityMm), mmCounts);
        EXPECT_EQ(Shown(CountsToUnits(125, 0, kConvVelocityMm)), shown);
        EXPECT_EQ(UnitsToCounts(1.0f, 0, kConvVelocityInch), inchCounts);
    }
}

TEST_F(UnitConversion, StepperKindsUseTheCalibration)
{
    SetStepperCalibration(3, 6.35f, 200.0f, 64.0f);
    EXPECT_EQ(g_stepperCalValid[3], 1);
    EXPECT_EQ(UnitsToCounts(1.0f, 3, kConvMicrostepsMm), 2016);   // 12800 / 6.35 = 2015.75
    EXPECT_EQ(Shown(CountsToUnits(2016, 3, kConvMicrostepsMm)), "1.00012");
    EXPECT_EQ(UnitsToCounts(0.1f, 3, kConvMicrostepsInch), 5120);

    g_param[kParamCyclesFactor] = 100;
    EXPECT_EQ(UnitsToCounts(100.0f, 3, kConvMicrostepAccMm), 2016);
    EXPECT_EQ(Shown(CountsToUnits(2016, 3, kConvMicrostepAccMm)), "100.012");
}

TEST_F(UnitConversion, UnbelievableLeadInvalidatesTheCalibration)
{
    for (float lead : {0.0005f, 30.5f, 0.0f}) {
        SetStepperCalibration(1, lead, 100.0f, 16.0f);
        EXPECT_EQ(g_stepperCalValid[1], 0) << lead;
        EXPECT_EQ(g_leadscrew_lead[1], 12800.0f);
        EXPECT_EQ(g_motorSteps[1], 200.0f);
        EXPECT_EQ(g_microsteps[1], 64.0f);
    }
    for (float lead : {30.0f, 0.001f}) {
        SetStepperCalibration(1, lead, 100.0f, 16.0f);
        EXPECT_EQ(g_stepperCalValid[1], 1) << lead;
    }
}

std::string g_conversionLog;
void RecordConversionLog(const char* text) { g_conversionLog += text; }

// A zero lead is logged and stores zero; a zero cycles factor never
// produces an undefined count.
TEST_F(UnitConversion, ZeroDivisorsOfTheAccelerationKinds)
{
    g_param[kParamCyclesFactor] = 10;
    g_conversionLog.clear();
    EXPECT_EQ(UnitsToCounts(5.0f, 2, kConvMicrostepAccMm, RecordConversionLog), 0);
    EXPECT_EQ(g_conversionLog, "Error Divide by zero g_leadscrew_lead[2]=0");

    SetStepperCalibration(0, 6.35f, 200.0f, 64.0f);
    g_param[kParamCyclesFactor] = 0;
    EXPECT_EQ(UnitsToCounts(1.0f, 0, kConvMicrostepAccMm), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(UnitsToCounts(0.0f, 0, kConvMicrostepAccMm), 0) << "0/0 is not a number";
}

} // namespace
