// The probe's over-travel estimate on the machines a technician meets, and
// the retract fields' decimals, which must read back as the value shown.
#include "core/probe_deflection.h"

#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kDecelTime = 13;
constexpr int kDebounce = 24;

struct Machine {
    uint32_t xVelocity = 500, xAcceleration = 1000, decelTime = 0, firmware = 0x02060703;
    bool openLoopJoystick = false, calibrated = true, qPresent = false, xPresent = true;
};

std::string Estimate(const Machine& m)
{
    ResetParamTable();
    ResetUnitConversion();
    SetFirmwareVersion(m.firmware);
    g_param[kParamJoystickOptions] = m.openLoopJoystick ? 0x2000 : 0;
    g_param[kParamCyclesFactor] = 1000;
    g_param[kDebounce] = 100;
    g_param[kDecelTime] = m.decelTime;
    g_param[AxisParam(kParamMotorType, 0)] = m.xPresent ? 2 : 8;   // bit 3 alone: no motor
    g_param[kParamVelocity] = m.xVelocity;
    g_param[kParamAcceleration] = m.xAcceleration;
    g_param[kParamJoystickVelocity] = 20000;
    g_param[kParamAccelerationDelta] = 20;
    // 5 mm per revolution, 200 steps of 10 microsteps: 0.0025 mm per microstep.
    SetStepperCalibration(0, m.calibrated ? 5.0f : 0.0f, 200.0f, 10.0f);
    if (m.qPresent) {
        g_param[AxisParam(kParamMotorType, 3)] = 3;
        g_param[AxisParam(kParamVelocity, 3)] = 1000;
        g_param[AxisParam(kParamAcceleration, 3)] = 1000;
    }
    char value[16], source[8];
    FormatDeflection(EstimateProbeDeflection(), value, sizeof value, source, sizeof source);
    return std::string(value) + " " + source;
}

TEST(ProbeDeflection, LargestOverTravelOfThePresentAxes)
{
    const struct {
        Machine machine;
        const char* shown;
    } kCases[] = {
        {{}, "1.275 x2"},                               // 50 mm/s at 1000 mm/s²: 1.25, debounce 0.025
        {{.firmware = 0x0002000A}, "1.275 x2"},         // P061 ÷ 10 whatever the firmware
        {{.xAcceleration = 0}, "????? x1"},             // the debounce travel alone is the joystick's
        {{.xPresent = false}, "0.000 x0"},
        {{.decelTime = 100}, "1.025 x2"},               // 100 ÷ 50 × 0.5
        {{.xVelocity = 0, .decelTime = 100}, "????? x0"},
        // 50 mm/s and 20 × 0.0025 × P049 = 50 mm/s²: 25 mm.
        {{.openLoopJoystick = true}, "25.025 x1"},
        {{.openLoopJoystick = true, .calibrated = false}, "????? x2"},
        {{.qPresent = true}, "5.050 q"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Estimate(c.machine), c.shown) << c.shown;
}

TEST(ProbeDeflection, RetractFieldsReadBackAsShown)
{
    for (uint32_t stored = 0; stored <= 200000; ++stored) {
        char shown[16];
        FormatHundredths(stored, shown, sizeof shown);
        ASSERT_EQ(HundredthsOf(std::strtod(shown, nullptr)), stored) << shown;
    }
    char erased[16];
    FormatHundredths(0xFFFFFFFF, erased, sizeof erased);
    EXPECT_STREQ(erased, "42949672.95");
    EXPECT_EQ(HundredthsOf(42949672.95), 0xFFFFFFFFu);
    EXPECT_EQ(HundredthsOf(1.25), 125u);
    EXPECT_EQ(HundredthsOf(0.999), 99u);
    EXPECT_EQ(HundredthsOf(-1.0), std::nullopt);
    EXPECT_EQ(HundredthsOf(42949673.0), std::nullopt);
}

} // namespace
