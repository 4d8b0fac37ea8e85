// The GPIO pins: outputs read back only through the loop-back plug, every
// other pin reads the levels from outside; the plug and those levels belong
// to the machine and stay over a board reset.
#include "sim_fixture.h"

namespace {

using SimGpioTest = SimBoardTest;

uint8_t Levels()
{
    uint8_t levels = 0, states = 0;
    EXPECT_EQ(AXB_GetGpio(0, &levels, &states), 1);
    return levels;
}

TEST_F(SimGpioTest, OutputsReadBackOnlyThroughThePlug)
{
    ASSERT_EQ(Describe("[Board]\nGpioLoopBack=1\nGpioInputs=0x81\n"), 1);
    NewBoard();
    AXB_SetGpio(0, 0x0F, 0x0A);
    EXPECT_EQ(Levels(), 0x8A);
    ASSERT_EQ(AXB_ResetBoard(0), 1);
    AXB_SetGpio(0, 0xF0, 0x70);
    EXPECT_EQ(Levels(), 0x71);
    AxbSim_SetGpioLoopBack(0);
    AxbSim_SetGpioInputs(0x3C);
    EXPECT_EQ(Levels(), 0x3C);
    AxbSim_SetGpioFunctionStates(0x12);
    EXPECT_EQ(Out<uint8_t>([](auto* s) { return AXB_GetGpio(0, nullptr, s); }), 0x12);
    EXPECT_EQ(Describe("[Board]\nGpioInputs=256\n"), 0);
}

} // namespace
