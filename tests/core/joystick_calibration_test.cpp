// The joystick's words and the arithmetic of both calibrations.
#include "core/joystick_calibration.h"
#include "core/joystick_word.h"

#include <gtest/gtest.h>

TEST(JoystickWord, RatesAndP001KeepWhatTheyDoNotCompose)
{
    EXPECT_EQ(ComposeJoystickRate(0, {80, 10, true}), 0x00010A50u);
    EXPECT_EQ(ComposeJoystickRate(0xFF0000FF, {300, 10, false}), 0xFF000A2Cu) << "bytes cut, firmware bits kept";
    EXPECT_EQ(WithJoystickExpoPosition(0, 2), 0x00030000u);
    EXPECT_EQ(WithJoystickExpoPosition(0x60000000, 0), 0x60010000u);
    EXPECT_EQ(JoystickExpoPosition(0x00100000), -1) << "curve 0 has no list entry";
    EXPECT_EQ(WithJoystickButtonFunction(0xFFFFFFFF, 3, 0x12), 0xFF2FFFFFu) << "a position is masked to its nibble";
}

TEST(JoystickCalibration, QuickWindowFromTheSweepOrTheCentre)
{
    EXPECT_EQ(QuickJoystickWindow(false, 600, 900, 100), (JoystickWindow{0, 600, 1024})) << "capped";
    EXPECT_EQ(QuickJoystickWindow(false, 300, 0, 10000), (JoystickWindow{0, 300, 600}));
    EXPECT_EQ(QuickJoystickWindow(true, 512, 1000, 40), (JoystickWindow{40, 512, 1000}));
    EXPECT_FALSE(QuickJoystickWindow(true, 512, kJoystickNoMax, kJoystickNoMin)) << "never widened";
    uint16_t max = kJoystickNoMax, min = kJoystickNoMin;
    for (uint16_t reading : {500, 40, 1000, 512})
        WidenJoystickExtremes(reading, max, min);
    EXPECT_EQ(max, 1000);
    EXPECT_EQ(min, 40);
}

TEST(JoystickCalibration, LongWindowTakesTheInnerEdgesWhicheverWayTheAxisRuns)
{
    JoystickLongSamples s;
    auto hold = [&](int axis, int position, std::initializer_list<uint16_t> readings) {
        for (uint16_t r : readings)
            s[JoystickSampleIndex(axis, position)].Take(r);
    };
    hold(0, kHeldAtMinimum, {98, 102});
    hold(0, kHeldAtMaximum, {897, 903});
    hold(0, kCentred, {500, 503});
    hold(1, kHeldAtMinimum, {948, 952});   // falling
    hold(1, kHeldAtMaximum, {49, 51});
    hold(1, kCentred, {509, 511});
    EXPECT_EQ(LongJoystickWindow(s, 0), (JoystickWindow{102, 501, 897}));
    EXPECT_EQ(LongJoystickWindow(s, 1), (JoystickWindow{51, 510, 948}));
    EXPECT_FALSE(LongJoystickWindow(s, 2)) << "Z was never read";
    for (int position : {kHeldAtMinimum, kHeldAtMaximum, kCentred})
        CopyJoystickSamplesYToZ(s, position);
    EXPECT_EQ(LongJoystickWindow(s, 2), LongJoystickWindow(s, 1));
}
