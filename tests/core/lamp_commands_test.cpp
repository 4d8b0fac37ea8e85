// The lamp box's command texts and the Lamp Dialog's arithmetic.
#include "core/lamp_commands.h"

#include <gtest/gtest.h>


namespace {

TEST(LampCommands, LevelCommandsScaleTheLevelToTheBoxsThousand)
{
    const struct {
        int channel, level;
        const char* text;
    } cases[] = {
        {3, 128, "$3DO00502\n"},   // 501.96
        {1, 255, "$1DO01000\n"},
        {0, 0, "$0DO00000\n"},     // channel 0: every output
        {2, 1, "$2DO00004\n"},     // 3.92
        {9, 200, "$9DO00784\n"},   // 784.31
        {6, 51, "$6DO00200\n"},
        {7, 255, "$7DO02498\n"},   // channel 7: 637 (2.5 x 255, truncated)
        {7, 1, "$7DO00008\n"},     // 2 -> 7.84
        {7, 2000000000, "$7DO02498\n"},   // held at 255 before the boost
        {4, -5, "$4DO00000\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LampLevelCommand(c.channel, c.level).View(), c.text) << c.channel << " " << c.level;
}

TEST(LampCommands, ThePowerUpAnswerIsRecognisedByItsFirstThreeCharacters)
{
    EXPECT_TRUE(IsLampPowerUpAnswer("*1PU\n"));
    EXPECT_TRUE(IsLampPowerUpAnswer("*1P"));
    EXPECT_TRUE(IsLampPowerUpAnswer("*1PX garbage"));
    EXPECT_FALSE(IsLampPowerUpAnswer("*1"));
    EXPECT_FALSE(IsLampPowerUpAnswer(""));
    EXPECT_FALSE(IsLampPowerUpAnswer("#*1PU"));
    EXPECT_FALSE(IsLampPowerUpAnswer("*2PU"));
}

TEST(LampCommands, SwitchCommandsAndLevelsClampedFromTheirFields)
{
    EXPECT_EQ(LampSwitchCommand(15).View(), "$0QD00015\n");
    EXPECT_EQ(LampSwitchCommand(9).View(), "$0QD00009\n");
    EXPECT_EQ(ClampLampLevel(300), 255);
    EXPECT_EQ(ClampLampLevel(-5), 0) << "never 65531";
    EXPECT_EQ(ClampLampLevel(kLargestLampFieldNumber), 255);
    EXPECT_EQ(ClampLampLevel(128), 128);
}

TEST(LampCommands, Lux400LimitAndModeLiveInBits16To24)
{
    EXPECT_EQ(LuxLimit(0x00320000u), 50);
    EXPECT_EQ(LuxLimit(0xFEFFFFFFu), 255);
    EXPECT_FALSE(LuxMode(0xFEFFFFFFu));
    EXPECT_TRUE(LuxMode(0x01000000u));

    // Only the limit and the mode change; the limit stays within 0..100.
    EXPECT_EQ(WithLux(0xAB00FFFFu, 150, true), 0xAB64FFFFu);
    EXPECT_EQ(WithLux(0xFFFFFFFFu, -3, false), 0xFE00FFFFu);
    EXPECT_EQ(WithLux(0u, 42, false), 0x002A0000u);
}

TEST(LampCommands, Lux400CurrentCaptions)
{
    const struct {
        int limit, fullScale;
        const char* text;
    } cases[] = {
        {50, 200, "100ma"}, {33, 200, "66ma"}, {1, 200, "2ma"}, {0, 200, "0ma"},
        {37, 800, "296ma"}, {100, 800, "800ma"}, {15, 800, "120ma"},
    };
    for (const auto& c : cases) {
        char text[16];
        FormatLuxCurrent(text, sizeof text, c.limit, c.fullScale);
        EXPECT_STREQ(text, c.text);
    }
    char small[4];
    FormatLuxCurrent(small, sizeof small, 100, 800);
    EXPECT_STREQ(small, "800");
}

} // namespace
