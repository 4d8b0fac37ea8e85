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
        {9, 200, "$9DO00784\n"},   // 784.31
        {7, 255, "$7DO02498\n"},   // channel 7: 637 (2.5 x 255, truncated)
        {7, 1, "$7DO00008\n"},     // 2 -> 7.84
        {7, 2000000000, "$7DO02498\n"},   // held at 255 before the boost
        {4, -5, "$4DO00000\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LampLevelCommand(c.channel, c.level).View(), c.text) << c.channel << " " << c.level;
    EXPECT_EQ(LampSwitchCommand(15).View(), "$0QD00015\n");
    // A field's number is held at the ends of the scale, never 65531 for -5.
    EXPECT_EQ(ClampLampLevel(300), 255);
    EXPECT_EQ(ClampLampLevel(-5), 0);
}

TEST(LampCommands, ThePowerUpAnswerIsRecognisedByItsFirstThreeCharacters)
{
    for (const char* answer : {"*1P", "*1PX garbage"})
        EXPECT_TRUE(IsLampPowerUpAnswer(answer)) << answer;
    for (const char* answer : {"*1", "#*1PU", "*2PU"})
        EXPECT_FALSE(IsLampPowerUpAnswer(answer)) << answer;
}

// The limit in bits 16..23, the mode in bit 24; that nothing else changes
// and the limit is held at 0..100 is the fuzz target's.
TEST(LampCommands, Lux400LimitAndModeLiveInBits16To24)
{
    EXPECT_EQ(LuxLimit(0xFEFFFFFFu), 255);
    EXPECT_FALSE(LuxMode(0xFEFFFFFFu));
    EXPECT_TRUE(LuxMode(0x01000000u));
    EXPECT_EQ(WithLux(0xAB00FFFFu, 150, true), 0xAB64FFFFu);
}

TEST(LampCommands, Lux400CurrentCaptions)
{
    const struct {
        int limit, fullScale;
        const char* text;
    } cases[] = {{33, 200, "66ma"}, {0, 200, "0ma"}, {37, 800, "296ma"}, {100, 800, "800ma"}};
    for (const auto& c : cases) {
        char text[16];
        FormatLuxCurrent(text, sizeof text, c.limit, c.fullScale);
        EXPECT_STREQ(text, c.text);
    }
}

} // namespace
