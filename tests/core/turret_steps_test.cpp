// The turrets' position code and their shorter way round.
#include "core/turret_steps.h"

#include <gtest/gtest.h>

namespace {

TEST(TurretSteps, PositionCodeOnTheInputBits)
{
    constexpr std::pair<uint8_t, int> kCodes[] = {
        {0x0C, 1}, {0x14, 2}, {0x04, 3}, {0x18, 4}, {0x08, 5}, {0x1C, 99}, {0x00, 99}, {0x10, 99}, {0xEC, 1},
    };
    for (const auto& [inputs, position] : kCodes)
        EXPECT_EQ(TurretPositionFromInputs(inputs), position) << int{inputs};
}

TEST(TurretSteps, TheShorterWayRoundAndItsStepLine)
{
    struct Row {
        int pos, target;
        bool forward;
    };
    constexpr Row kRows[] = {
        {1, 5, false}, {4, 5, true}, {4, 1, true}, {1, 3, true}, {1, 4, false}, {3, 1, false}, {5, 2, true},
        {99, 3, true},
    };
    for (const Row& row : kRows)
        EXPECT_EQ(TurretStepsForward(row.pos, row.target), row.forward) << row.pos << " to " << row.target;
    EXPECT_EQ(OlympusStepValue(false), 0x40);
    EXPECT_EQ(OlympusStepValue(true), 0x80);
    EXPECT_EQ(LimitTurretTarget(9), 5);
    EXPECT_EQ(LimitTurretTarget(-1), 1);
}

} // namespace
