// The move-status poll: what counts as done and as an error for the axes of
// the mask and for the others, the settings that change that, the system
// stop lines, the touch probe and the refused lock.
#include "driver/axb400.h"
#include "homing/auto_home_state.h"
#include "homing/board_ready.h"
#include "homing/move_status.h"
#include "infra/settings.h"
#include "params/param_table.h"
#include "sim/board/axbsim.h"
#include "tests/homing/homing_fixture.h"
#include "tests/support/sim_calls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr uint32_t kAllAxes = 0x1F;
constexpr char kRetracting4[] = "IsTPRetracting is true: status bit 3 (value 4) is set";
constexpr char kRetracting2[] = "IsTPRetracting is true: status bit 2 (value 2) is set";

struct Poll {
    bool ok = false;
    bool done = false;
    bool error = false;
    MoveStatusRecord record{};
};

class MoveStatus : public HomingTest {
protected:
    void SetUp() override { ConnectBoard(); }

    static Poll PollStatus(uint32_t axisMask, bool logAlways = false, const char* tag = "AutoHomeTimer")
    {
        Poll p;
        p.ok = CncGetMoveStatus(logAlways, p.done, p.error, p.record, axisMask, tag);
        return p;
    }
};

TEST_F(MoveStatus, ReadsEveryAxisAndTheSystemAtRest)
{
    AxbSim_SetAxisStatus(2, 0x18);
    AxbSim_SetErrorByte(4, 0x80);   // an emergency-stop bit of the zoom is not among its errors
    AxbSim_SetSystemStatus(0x40);   // neither is a system bit above the six stop causes

    Poll p = PollStatus(kAllAxes, true);

    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.done);
    EXPECT_FALSE(p.error);
    for (int axis = 0; axis < kMoveStatusAxes; ++axis)
        EXPECT_EQ(p.record.moveStatus[axis] & 0x05u, 0x05u) << "axis " << axis << " active and complete";
    EXPECT_EQ(p.record.axisStatus[2], 0x18u);
    EXPECT_EQ(p.record.errorBits[4], 0x80u);
    EXPECT_EQ(p.record.systemStatus, 0x40u);
    EXPECT_EQ(p.record.probeStatus, 0u);
    EXPECT_THAT(SimCallNames(),
                ElementsAre("AXB_ReadStatusWord", "AXB_GetMoveStatus", "AXB_GetAxisStatus", "AXB_GetMoveStatus",
                            "AXB_GetAxisStatus", "AXB_GetMoveStatus", "AXB_GetAxisStatus", "AXB_GetMoveStatus",
                            "AXB_GetAxisStatus", "AXB_GetMoveStatus", "AXB_GetAxisStatus", "AXB_GetSystemStatus",
                            "AXB_GetProbeStatus", "AXB_GetProbeStatus"));
    EXPECT_THAT(SimCallsStartingWith("AXB_GetMoveStatus("),
                ElementsAre(::testing::StartsWith("AXB_GetMoveStatus(0,0,"), ::testing::StartsWith("AXB_GetMoveStatus(0,1,"),
                            ::testing::StartsWith("AXB_GetMoveStatus(0,2,"), ::testing::StartsWith("AXB_GetMoveStatus(0,3,"),
                            ::testing::StartsWith("AXB_GetMoveStatus(0,4,")));
    EXPECT_THAT(LogLinesStartingWith("**SS "), IsEmpty());
    EXPECT_TRUE(AnotherThreadCanTakeBoardLock()) << "every acquire released";
}

TEST_F(MoveStatus, OnlyTheAxesOfTheMaskHoldTheMoveOpen)
{
    ASSERT_EQ(AXB_SetAxisPosAbs(0, 1, 100000), 1);   // Y on its way

    EXPECT_TRUE(PollStatus(0x01).done) << "Y is outside the mask";
    EXPECT_TRUE(PollStatus(0x1D).done);
    Poll watchingY = PollStatus(0x02);
    EXPECT_FALSE(watchingY.done);
    EXPECT_FALSE(watchingY.error);
    EXPECT_EQ(watchingY.record.moveStatus[1] & 0x05u, 0x04u);

    h.Clock().Advance(20000);
    EXPECT_TRUE(PollStatus(0x02).done);
    EXPECT_EQ(AxbSim_PeekPosition(1), 100000);
}

TEST_F(MoveStatus, HardwareLimitOfAnyLinearAxisIsAnErrorUnlessTheSetupSequencerRuns)
{
    AxbSim_PlaceAxis(3, 100000);   // Q on its upper limit switch

    Poll p = PollStatus(0x01);
    EXPECT_TRUE(p.error) << "Q is outside the mask, its limit still counts";
    EXPECT_FALSE(p.done);
    EXPECT_EQ(p.record.moveStatus[3] & 0xC0u, 0x40u);

    WriteSettingString(L"CNC", L"SetupSequencerActive", L"1");
    p = PollStatus(0x01);
    EXPECT_FALSE(p.error);
    EXPECT_TRUE(p.done);

    // Read on every check, not remembered.
    WriteSettingString(L"CNC", L"SetupSequencerActive", L"0");
    EXPECT_TRUE(PollStatus(0x01).error);

    // The zoom's lower limit is its home switch: never an error here.
    AxbSim_PlaceAxis(3, 0);
    AxbSim_PlaceAxis(4, -4000);
    p = PollStatus(kAllAxes);
    EXPECT_EQ(p.record.moveStatus[4] & 0x80u, 0x80u);
    EXPECT_FALSE(p.error);
}

TEST_F(MoveStatus, SoftwareLimitSettingIsReadOnceAndKeptUntilRestart)
{
    AxbSim_PokeParam(AxisParam(68, 4), 0);   // zoom at its fence: never counted
    EXPECT_FALSE(PollStatus(kAllAxes).error);

    AxbSim_PokeParam(AxisParam(68, 2), 0);   // Z at its + fence
    Poll p = PollStatus(0x01);
    EXPECT_TRUE(p.error) << "CheckSoftwareLimitErrors defaults to 1, Z counts outside the mask";
    EXPECT_EQ(p.record.moveStatus[2] & 0x30u, 0x10u);

    WriteSettingString(L"CNC", L"CheckSoftwareLimitErrors", L"0");
    EXPECT_TRUE(PollStatus(0x01).error) << "the value read first stays for the life of the process";

    ResetMoveStatus();   // as after a restart
    EXPECT_FALSE(PollStatus(0x01).error);
    WriteSettingString(L"CNC", L"CheckSoftwareLimitErrors", L"1");
    EXPECT_FALSE(PollStatus(0x01).error);
}

TEST_F(MoveStatus, AxisErrorsCountOnlyForActiveAxesOfTheMask)
{
    AxbSim_SetErrorByte(1, 0x02);   // following error on Y
    EXPECT_FALSE(PollStatus(0x1D).error);
    Poll p = PollStatus(0x02);
    EXPECT_TRUE(p.error);
    EXPECT_FALSE(p.done);

    g_homingStage[1] = 2;           // homing runs Y against a stop on purpose
    EXPECT_FALSE(PollStatus(0x02).error);

    ASSERT_EQ(AXB_SetParam(0, AxisParam(kParamMotorType, 1), 0), 1);   // Y switched off
    AxbSim_SetErrorByte(1, 0x0F);
    g_homingStage[1] = 0;
    p = PollStatus(0x02);
    EXPECT_FALSE(p.error) << "errors of an inactive axis do not count";
    EXPECT_TRUE(p.done);
}

// The settings the rules read come from the test's own folder.
using IsMoveErrorRules = HomingTest;

TEST_F(IsMoveErrorRules, ErrorBitsPerAxisAndHomingStage)
{
    struct Case {
        int axis;
        uint32_t moveStatus;
        uint32_t errorBits;
        int8_t homingStage;
        uint32_t axisMask;
        bool error;
    };
    constexpr Case kCases[] = {
        {0, 0x05, 0x01, 0, 0x01, true},    // motion monitor
        {0, 0x05, 0x02, 0, 0x01, true},    // following error
        {0, 0x05, 0x04, 0, 0x01, true},    // over current
        {0, 0x05, 0x08, 0, 0x01, true},    // touch probe retract
        {0, 0x05, 0x80, 0, 0x01, false},   // emergency stop comes through the system status
        {0, 0x05, 0x02, 4, 0x01, false},   // following error while homing
        {0, 0x05, 0x01, 4, 0x01, true},
        {0, 0x05, 0x04, 4, 0x01, true},
        {0, 0x05, 0x08, 4, 0x01, true},
        {0, 0x01, 0x0F, 0, 0x01, false},   // axis not active
        {3, 0x05, 0x02, 0, 0x07, false},   // Q not in the mask
        {3, 0x05, 0x02, 0, 0x08, true},
        {4, 0x05, 0x08, 0, 0x10, false},   // the zoom has no touch probe
        {4, 0x05, 0x02, 0, 0x10, true},
        {4, 0x05, 0x04, 0, 0x0F, false},
    };
    for (const Case& c : kCases) {
        uint32_t moveStatus[kMoveStatusAxes] = {0x05, 0x05, 0x05, 0x05, 0x05};
        uint32_t errorBits[kMoveStatusAxes] = {};
        moveStatus[c.axis] = c.moveStatus;
        errorBits[c.axis] = c.errorBits;
        ResetAutoHomeState();
        if (c.axis < kHomingAxisCount)
            g_homingStage[c.axis] = c.homingStage;
        EXPECT_EQ(IsMoveError(moveStatus, errorBits, 0, c.axisMask), c.error)
            << "axis " << c.axis << " errors 0x" << std::hex << c.errorBits << " stage " << int(c.homingStage)
            << " mask 0x" << c.axisMask;
    }
}

TEST_F(MoveStatus, SystemStopsAreLoggedInBitOrderWithTheTag)
{
    AxbSim_SetSystemStatus(0x7F);
    Poll p = PollStatus(0x01, false, "ZoomTimer");
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.error);
    EXPECT_FALSE(p.done);
    EXPECT_THAT(LogLinesStartingWith("**SS "),
                ElementsAre("**SS ZoomTimer Watchdog timer 1 underflow", "**SS ZoomTimer Emergency stop activated",
                            "**SS ZoomTimer Air stop activated", "**SS ZoomTimer Joystick override",
                            "**SS ZoomTimer Trackball override", "**SS ZoomTimer Heart beat monitor underflow"));

    h.Log().Clear();
    AxbSim_SetSystemStatus(0x04);
    PollStatus(0x01);
    EXPECT_THAT(LogLinesStartingWith("**SS "), ElementsAre("**SS AutoHomeTimer Air stop activated"));

    h.Log().Clear();
    AxbSim_SetSystemStatus(0);
    PollStatus(0x01, true);
    AxbSim_SetSystemStatus(0x40);
    PollStatus(0x01, true);
    EXPECT_THAT(LogLinesStartingWith("**SS "), IsEmpty()) << "nothing to say, even when always logging";
}

TEST_F(MoveStatus, RetractingOrDeflectedProbeHoldsTheMove)
{
    AxbSim_SetProbeStatus(4);
    Poll p = PollStatus(kAllAxes);
    EXPECT_FALSE(p.done);
    EXPECT_FALSE(p.error);
    EXPECT_EQ(p.record.probeStatus, 4u);
    EXPECT_THAT(h.Log().Lines(), ElementsAre(kRetracting4));

    h.Log().Clear();
    AxbSim_SetProbeStatus(2);
    EXPECT_FALSE(PollStatus(kAllAxes).done);
    EXPECT_THAT(h.Log().Lines(), ElementsAre(kRetracting2));

    h.Log().Clear();
    AxbSim_SetProbeStatus(6);
    EXPECT_FALSE(PollStatus(kAllAxes).done);
    EXPECT_THAT(h.Log().Lines(), ElementsAre(kRetracting4));

    h.Log().Clear();
    AxbSim_SetProbeStatus(0);
    EXPECT_TRUE(PollStatus(kAllAxes).done);
    EXPECT_THAT(h.Log().Lines(), IsEmpty());
    EXPECT_TRUE(AnotherThreadCanTakeBoardLock()) << "every acquire released";
}

TEST_F(MoveStatus, FirmwareWithoutProbeRetractStatusOnlyHoldsOnTheRecord)
{
    ResetBoardReadyState();
    AxbSim_SetFirmwareVersion(0x0002040B);
    ASSERT_TRUE(IsAXBBoardLoaded(true));
    AxbSim_ClearCallLog();
    h.Log().Clear();

    AxbSim_SetProbeStatus(2);
    EXPECT_TRUE(PollStatus(kAllAxes).done);
    AxbSim_SetProbeStatus(4);
    EXPECT_FALSE(PollStatus(kAllAxes).done) << "the record's probe status still says retracting";
    EXPECT_EQ(CountSimCalls("AXB_GetProbeStatus("), 2) << "one read per poll, none by the retract check";
    EXPECT_THAT(h.Log().Lines(), IsEmpty());

    // From 0x0002040C on the retract check reads the probe itself.
    ResetBoardReadyState();
    AxbSim_SetFirmwareVersion(0x0002040C);
    ASSERT_TRUE(IsAXBBoardLoaded(true));
    AxbSim_SetProbeStatus(2);
    EXPECT_TRUE(IsTPRetracting());
}

TEST_F(MoveStatus, RetractCheckWithoutTheBoardForgetsTheFirmware)
{
    AxbSim_SetProbeStatus(4);
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(5000);

    EXPECT_FALSE(IsTPRetracting());
    EXPECT_EQ(g_firmwareVersion, 0u);
    EXPECT_THAT(h.Log().Lines(), IsEmpty());
}

TEST_F(MoveStatus, RetractCheckWithTheLockHeldElsewhereAsksNothing)
{
    AxbSim_SetProbeStatus(4);
    OtherLockOwner other;
    ASSERT_TRUE(other.Holds());

    EXPECT_FALSE(IsTPRetracting());
    EXPECT_EQ(g_firmwareVersion, 0x02060703u);
    EXPECT_THAT(SimCalls(), IsEmpty());
}

TEST_F(MoveStatus, LockHeldElsewhereLeavesTheOutputsAlone)
{
    OtherLockOwner other;
    ASSERT_TRUE(other.Holds());
    Poll p;
    p.done = true;
    p.error = true;
    std::memset(&p.record, 0xA5, sizeof p.record);
    const MoveStatusRecord before = p.record;

    EXPECT_FALSE(CncGetMoveStatus(true, p.done, p.error, p.record, kAllAxes, "ZoomTimer"));

    EXPECT_TRUE(p.done);
    EXPECT_TRUE(p.error);
    EXPECT_EQ(std::memcmp(&p.record, &before, sizeof before), 0);
    EXPECT_THAT(h.Log().Lines(), ElementsAre("CncGetMoveStatus Error: lock failure"));
    EXPECT_THAT(SimCalls(), IsEmpty());
}

} // namespace
