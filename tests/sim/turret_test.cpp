// The Olympus turret on the GPIO pins: its code on bits 0x1C, one position
// per falling edge on 0x40 (on) or 0x80 (back), turning for its step time.
#include "sim_fixture.h"

namespace {

using SimTurretTest = SimBoardTest;

uint8_t Code()
{
    uint8_t levels = 0;
    AXB_GetGpio(0, &levels, nullptr);
    return levels & 0x1C;
}

TEST_F(SimTurretTest, StepsOnFallingEdgesAndWrapsRound)
{
    ASSERT_EQ(Describe("[Board]\nTurret=1\nTurretTurnMs=100\nTurretPosition=5\nGpioInputs=0xE3\n"), 1);
    NewBoard();
    EXPECT_EQ(Code(), 0x08);
    AXB_SetGpio(0, 0xC0, 0xC0);
    AXB_SetGpio(0, 0xC0, 0x80);   // 0x40 falls: on, past 5 to 1
    AXB_SetGpio(0, 0xC0, 0x00);   // lost while turning
    AxbSim_AdvanceTimeMs(99);
    EXPECT_EQ(Code(), 0x1C);
    AxbSim_AdvanceTimeMs(1);
    EXPECT_EQ(Code(), 0x0C);
    AXB_SetGpio(0, 0xC0, 0xC0);
    AXB_SetGpio(0, 0x00, 0x00);   // inputs now: nothing driven, no edge
    AXB_SetGpio(0, 0xC0, 0xC0);
    AXB_SetGpio(0, 0xC0, 0x40);   // 0x80 falls: back, 1 to 5
    AxbSim_AdvanceTimeMs(100);
    EXPECT_EQ(Code(), 0x08);
    uint8_t levels = 0;
    AXB_GetGpio(0, &levels, nullptr);
    EXPECT_EQ(levels & ~0x1C, 0xE3 & ~0x1C) << "the other pins as without the turret";
    EXPECT_EQ(Describe("[Board]\nTurretPosition=6\n"), 0);
}

} // namespace
