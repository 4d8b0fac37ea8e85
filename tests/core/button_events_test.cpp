// Software-function masks from the pins and joystick buttons, the events
// they make, and the values of the loop-back test.
#include "core/button_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

TEST(ButtonEvents, OnlySoftwarePinsAndButtonsMarkTheMaskOfTheirFunction)
{
    ButtonSources pins;
    pins.gpioFunctions = 0x10000010;            // pins 2 and 8: firmware functions
    pins.gpioSoftware = {1, 2, 3, 4, 4, 0, 9, 1};
    pins.gpioStates = 0xFF;
    EXPECT_THAT(MasksOf(pins), ElementsAre(0x0001, 0x0000, 0x0004, 0x0018));

    ButtonSources five;
    five.fiveButtons = true;
    five.secondFunction = {1, 2, 3, 4, 1};
    five.joystickState = 0x1F;
    EXPECT_THAT(MasksOf(five), ElementsAre(0x1100, 0x0200, 0x0400, 0x0800));
    five.joystickWord = 0x01000010;             // buttons 2 and 5 carry firmware functions
    EXPECT_THAT(MasksOf(five), ElementsAre(0x0100, 0x0000, 0x0400, 0x0800));

    // Three buttons: their software states in bits 3..5, bits 0..2 are the buttons themselves.
    ButtonSources three = five;
    three.fiveButtons = false;
    three.joystickWord = 0;
    three.joystickState = 0x07;
    EXPECT_THAT(MasksOf(three), ElementsAre(0, 0, 0, 0));
    three.joystickState = 0x30;
    EXPECT_THAT(MasksOf(three), ElementsAre(0, 0x0200, 0x0400, 0));
}

TEST(GpioPins, TheTestWalksAOneAndAZeroThenDrivesEveryByte)
{
    const auto values = GpioTestValues();
    EXPECT_THAT(std::vector<uint8_t>(values.begin(), values.begin() + 16),
                ElementsAreArray({0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80,
                                  0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F}));
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(values[16 + v], v);
    EXPECT_EQ(WithGpioFirmwareFunction(0x12345678, 2, 0x1F), 0x12345F78u);
}

} // namespace
