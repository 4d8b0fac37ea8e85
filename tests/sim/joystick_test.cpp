// The simulated joystick: a scripted stick, the velocity the board makes of
// it, the five-button joystick of a machine description.
#include "sim_fixture.h"

namespace {

class SimJoystickTest : public SimBoardTest {
protected:
    static uint16_t Adc(int channel)
    {
        return Out<uint16_t>([channel](auto* v) { return AXB_ReadAdc(0, channel, v); });
    }
    static int Velocity(int axis)
    {
        return Out<int8_t>([axis](auto* v) { return AXB_GetJoystickVelocity(0, axis, v); });
    }
};

TEST_F(SimJoystickTest, AScriptedStickSweepsAndTheVelocityFollowsTheWindow)
{
    ASSERT_EQ(Describe("[Board]\nFiveButtonJoystick=1\n[Axis Y]\nJoystickAdc=30,1000,512\nJoystickStepMs=200\n"), 1);
    NewBoard();
    std::vector<int> seen;
    for (int t = 0; t < 5; ++t, AxbSim_AdvanceTimeMs(100))
        seen.push_back(Adc(4));
    EXPECT_EQ(seen, (std::vector<int>{30, 515, 1000, 756, 512}));
    EXPECT_EQ(Adc(3), 512) << "centred";
    uint32_t mode = 0;
    uint8_t functions = 0, state = 0;
    AXB_GetJoyStickMode(0, &mode, &functions, &state);
    EXPECT_EQ(state, 0x80);
    const uint16_t held[] = {1023};
    AxbSim_SetJoystickAdc(0, held, 1, 1);
    EXPECT_EQ(Velocity(0), 80) << "the coarse rate at max";
    AXB_SetParam(0, 2, 0x10A50);
    EXPECT_EQ(Velocity(0), -80) << "inverted";
    AxbSim_SetJoystickAdc(0, nullptr, 0, 0);
    EXPECT_EQ(Velocity(0), 0);
    EXPECT_EQ(Describe("[Axis Q]\nJoystickAdc=5\n"), 0) << "Q has no deflection";
    const auto shipped = std::filesystem::path(AXBSIM_MACHINES_DIR) / "five-button-joystick.ini";
    EXPECT_EQ(AxbSim_SetConfigFile(shipped.c_str()), 1);
    AxbSim_SetConfigFile(nullptr);
}

} // namespace
