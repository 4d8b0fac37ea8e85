// The readiness check: one driver call per 5 s while the board answers, a
// probe on every call while it does not, the connection work in its order
// after each return of the board, and the answer without the board when the
// lock is held elsewhere.
#include "driver/axb400.h"
#include "homing/board_ready.h"
#include "params/flash_items.h"
#include "params/param_table.h"
#include "sim/board/axbsim.h"
#include "tests/homing/homing_fixture.h"
#include "tests/support/sim_calls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr char kProbe[] = "AXB_GetAxisPosValue(0,4,";
constexpr char kParamRead[] = "AXB_GetParam(";

// The operation names with repeats folded, the flash user area's reads and
// writes named as the flash check that makes them.
std::vector<std::string> CallSequence()
{
    std::vector<std::string> sequence;
    for (std::string name : SimCallNames()) {
        if (name.find("FlashWord") != std::string::npos)
            name = "flash check";
        if (sequence.empty() || sequence.back() != name)
            sequence.push_back(name);
    }
    return sequence;
}

using BoardReady = HomingTest;

TEST_F(BoardReady, FirstAnswerRunsTheConnectionWorkInOrder)
{
    AxbSim_PokeParam(300, 4321);
    AxbSim_PokeParam(511, 77);
    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_ClearCallLog();

    EXPECT_TRUE(IsAXBBoardLoaded(true));

    EXPECT_THAT(CallSequence(), ElementsAre("AXB_GetAxisPosValue", "AXB_GetFirmwareVersion", "AXB_GetJoyStickMode",
                                            "flash check", "AXB_GetAxisReg", "AXB_GetParam"));
    EXPECT_THAT(SimCallsStartingWith("AXB_GetAxisReg("),
                ElementsAre("AXB_GetAxisReg(0,0,2,&0)=1", "AXB_GetAxisReg(0,1,2,&0)=1", "AXB_GetAxisReg(0,2,2,&0)=1",
                            "AXB_GetAxisReg(0,3,2,&0)=1"));
    auto reads = SimCallsStartingWith(kParamRead);
    ASSERT_EQ(reads.size(), 512u);
    for (int n = 0; n < kParamCount; ++n)
        EXPECT_EQ(reads[n].rfind("AXB_GetParam(0," + std::to_string(n) + ",&", 0), 0u) << reads[n];
    EXPECT_EQ(g_param[300], 4321u);
    EXPECT_EQ(g_param[511], 77u);
    EXPECT_EQ(g_param[58], 1000u);
    EXPECT_EQ(g_firmwareVersion, 0x02060703u);
    EXPECT_EQ(g_velScale, 100);
}

TEST_F(BoardReady, AnsweringBoardIsAskedOncePerFiveSeconds)
{
    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_ClearCallLog();
    ASSERT_TRUE(IsAXBBoardLoaded(true));
    const int callsAfterFirst = AxbSim_GetCallCount();

    h.Clock().Advance(4999);
    EXPECT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_TRUE(IsAXBBoardLoaded(false));
    EXPECT_EQ(AxbSim_GetCallCount(), callsAfterFirst) << "trusted for 5 s: no driver call at all";
    EXPECT_EQ(CountSimCalls(kProbe), 1);

    h.Clock().Advance(1);
    EXPECT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_EQ(CountSimCalls(kProbe), 2);
    EXPECT_EQ(AxbSim_GetCallCount(), callsAfterFirst + 1) << "a board still there needs no connection work";

    // The 5 s count again from that probe.
    h.Clock().Advance(4999);
    EXPECT_TRUE(IsAXBBoardLoaded(false));
    EXPECT_EQ(CountSimCalls(kProbe), 2);
    h.Clock().Advance(1);
    EXPECT_TRUE(IsAXBBoardLoaded(false));
    EXPECT_EQ(CountSimCalls(kProbe), 3);
}

TEST_F(BoardReady, LostBoardIsAskedOnEveryCallAndItsReturnRepeatsTheConnectionWork)
{
    ConnectBoard();
    AxbSim_PokeParam(70, 1234);
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(5000);

    EXPECT_FALSE(IsAXBBoardLoaded(true));
    EXPECT_FALSE(IsAXBBoardLoaded(true));
    EXPECT_FALSE(IsAXBBoardLoaded(false));
    EXPECT_EQ(CountSimCalls(kProbe), 3) << "no 5 s grace for a board that did not answer";
    EXPECT_EQ(CountSimCalls(kParamRead), 0);

    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_ClearCallLog();
    EXPECT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_EQ(CountSimCalls("AXB_GetFirmwareVersion("), 1);
    EXPECT_GT(CountSimCalls("AXB_ReadFlashWord(0,15,"), 0) << "the flash check runs again";
    EXPECT_EQ(CountSimCalls(kParamRead), 512);
    EXPECT_EQ(g_param[70], 1234u);

    // Loaded again: trusted for the next 5 s.
    EXPECT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_EQ(CountSimCalls(kProbe), 1);
}

TEST_F(BoardReady, VelocityScaleAndJoystickKindFollowTheFirmware)
{
    struct Case {
        uint32_t firmware;
        bool fiveButtonBoard;
        uint16_t velScale;
        int joystickReads;
        bool fiveButton;
    };
    constexpr Case kCases[] = {
        {0x0002000A, false, 1, 0, false},
        {0x0002000B, false, 100, 0, false},
        {0x02050200, true, 100, 0, false},
        {0x02050201, true, 100, 1, true},
        {0x02050201, false, 100, 1, false},
    };
    ASSERT_EQ(AXB_OpenDrv(), 1);
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << std::hex << "firmware 0x" << c.firmware);
        ResetBoardReadyState();
        AxbSim_SetFirmwareVersion(c.firmware);
        AxbSim_SetFiveButtonJoystick(c.fiveButtonBoard ? 1 : 0);
        AxbSim_ClearCallLog();

        ASSERT_TRUE(IsAXBBoardLoaded(true));
        EXPECT_EQ(g_firmwareVersion, c.firmware);
        EXPECT_EQ(g_velScale, c.velScale);
        EXPECT_EQ(CountSimCalls("AXB_GetJoyStickMode("), c.joystickReads);
        EXPECT_EQ(g_fiveButtonJoystick, c.fiveButton);
    }
}

TEST_F(BoardReady, AnalogReferenceMarkBitIsWrittenOnlyWhereItDiffers)
{
    // X and Y inverted in the user area; Z and Q not.
    WriteValidUserArea(0b0011);
    ASSERT_EQ(AXB_OpenDrv(), 1);
    constexpr uint16_t kBefore[] = {0x0801, 0x0003, 0x0804, 0x0000};
    for (int axis = 0; axis < 4; ++axis)
        AXB_SetAxisReg(0, axis, 2, kBefore[axis]);
    AXB_SetAxisReg(0, 1, 1, 0x0800);   // another register of Y, not to be touched
    AxbSim_ClearCallLog();

    ASSERT_TRUE(IsAXBBoardLoaded(true));

    EXPECT_EQ(krv_user_box_data.analogRefMarkInverted[0], 1);
    EXPECT_EQ(krv_user_box_data.analogRefMarkInverted[2], 0);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetAxisReg("),
                ElementsAre("AXB_SetAxisReg(0,1,2,2051)=1", "AXB_SetAxisReg(0,2,2,4)=1"));
    uint16_t after[4] = {};
    for (int axis = 0; axis < 4; ++axis)
        AXB_GetAxisReg(0, axis, 2, &after[axis]);
    EXPECT_THAT(after, ElementsAre(0x0801, 0x0803, 0x0004, 0x0000));

    // A board that comes back already configured receives no write.
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(5000);
    ASSERT_FALSE(IsAXBBoardLoaded(true));
    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_ClearCallLog();
    ASSERT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_EQ(CountSimCalls("AXB_GetAxisReg(0,"), 4);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetAxisReg("), IsEmpty());
}

TEST_F(BoardReady, LockHeldElsewhereAnswersTheLastKnownStateWithoutTheBoard)
{
    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_ClearCallLog();
    {
        OtherLockOwner other;
        ASSERT_TRUE(other.Holds());
        EXPECT_FALSE(IsAXBBoardLoaded(true)) << "never loaded yet";
        EXPECT_THAT(SimCalls(), IsEmpty());
    }

    ASSERT_TRUE(IsAXBBoardLoaded(true));
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(5000);
    AxbSim_ClearCallLog();
    {
        OtherLockOwner other;
        ASSERT_TRUE(other.Holds());
        EXPECT_TRUE(IsAXBBoardLoaded(true)) << "the board is gone, but nobody asked it";
        EXPECT_THAT(SimCalls(), IsEmpty());
    }

    // The refused call did not restart the 5 s: the next one asks at once.
    EXPECT_FALSE(IsAXBBoardLoaded(true));
    EXPECT_EQ(CountSimCalls(kProbe), 1);
}

TEST_F(BoardReady, WithoutTakeLockTheBoardIsAskedWhoeverHoldsTheLock)
{
    OtherLockOwner other;
    ASSERT_TRUE(other.Holds());
    ASSERT_EQ(AXB_OpenDrv(), 1);
    // Without takeLock the check trusts the caller to hold the lock and
    // asks the board whoever owns it.
    EXPECT_TRUE(IsAXBBoardLoaded(false));
    EXPECT_EQ(CountSimCalls(kProbe), 1);
}

} // namespace
