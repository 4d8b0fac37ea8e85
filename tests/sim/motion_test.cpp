// Moves on the virtual clock, against the factory X axis: 1000 counts/mm,
// 100 mm/s (P061 = 1000 tenths), 500 mm/s² (P062), so 100000 counts/s and
// 500000 counts/s².
#include "sim_fixture.h"

namespace {

constexpr uint8_t kEnded = 0x01, kHomeFound = 0x02, kActive = 0x04, kNotInPosition = 0x08;
constexpr uint8_t kLimitPlus = 0x40, kLimitMinus = 0x80;

using SimMotionTest = SimBoardTest;

TEST_F(SimMotionTest, LongMoveRunsTrapezoidAndEndsOnTime)
{
    // 0.2 s up to speed over 10000 counts, 0.8 s at 100000 counts/s, 0.2 s down.
    ASSERT_EQ(AXB_SetAxisPosAbs(0, kX, 100000), 1);
    EXPECT_EQ(MoveStatus(kX) & kEnded, 0);

    AxbSim_AdvanceTimeMs(100); // accelerating: 0.5 a t²
    EXPECT_EQ(Position(kX) + FollowingError(kX), 2500);
    AxbSim_AdvanceTimeMs(500); // cruising
    EXPECT_EQ(Position(kX) + FollowingError(kX), 50000);
    EXPECT_EQ(FollowingError(kX), 50) << "the servo trails by 0.5 ms of travel at speed";

    EXPECT_EQ(MsUntilEnded(kX, 1000), 600u);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 100000);
    EXPECT_EQ(FollowingError(kX), 0);
}

TEST_F(SimMotionTest, ShortMoveRunsTriangleWithoutReachingFullSpeed)
{
    // 5000 counts: peak sqrt(a d) = 50000 counts/s after 0.1 s, down again by 0.2 s.
    AXB_SetAxisPosAbs(0, kX, 5000);
    AxbSim_AdvanceTimeMs(100);
    EXPECT_EQ(Position(kX) + FollowingError(kX), 2500);
    EXPECT_EQ(MsUntilEnded(kX, 1000), 100u);
}

TEST_F(SimMotionTest, ReversedMoveBrakesFirst)
{
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(600); // at 50000, 100000 counts/s upwards
    AXB_SetAxisPosAbs(0, kX, 50000);
    AxbSim_AdvanceTimeMs(200); // braked to a stop 10000 counts further on
    EXPECT_EQ(Position(kX) + FollowingError(kX), 60000);
    // Back 10000 counts as a triangle: 2 sqrt(d / a) = 0.2828 s.
    EXPECT_EQ(MsUntilEnded(kX, 1000), 283u);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 50000);
}

TEST_F(SimMotionTest, NearerTargetWhileAcceleratingBecomesATriangleFromTheCurrentSpeed)
{
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(80); // at 1600 counts, 40000 counts/s
    AXB_SetAxisPosAbs(0, kX, 10000);
    // Peak sqrt(a d + v²/2) = 70711 counts/s: 61.4 ms more up, 141.4 ms down.
    EXPECT_EQ(MsUntilEnded(kX, 1000), 203u);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 10000);
}

TEST_F(SimMotionTest, StopBrakesAtTheAxisAcceleration)
{
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(600);
    ASSERT_EQ(AXB_StopAxis(0, kX), 1);
    EXPECT_EQ(MsUntilEnded(kX, 1000), 200u);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 60000);
}

TEST_F(SimMotionTest, MoveStatusShowsSettlingAfterTheProfileEnds)
{
    EXPECT_EQ(MoveStatus(kX), kActive | kEnded);
    AXB_SetAxisPosAbs(0, kX, 100000);
    EXPECT_EQ(MoveStatus(kX), kActive);
    AxbSim_AdvanceTimeMs(1200);
    EXPECT_EQ(MoveStatus(kX), kActive | kEnded | kNotInPosition) << "lag of 10 counts, target window 5";
    AxbSim_AdvanceTimeMs(20);
    EXPECT_EQ(MoveStatus(kX), kActive | kEnded);
}

TEST_F(SimMotionTest, DisabledAxisStaysAndIsNotActive)
{
    AxbSim_PokeParam(64, 0);
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(2000);
    EXPECT_EQ(Position(kX), 0);
    EXPECT_EQ(MoveStatus(kX), kEnded);
}

TEST_F(SimMotionTest, OpenLoopStepperHasNoEncoderLatchAndNoLag)
{
    AxbSim_PokeParam(64 + 40 * kQ, 4);
    AXB_SetAxisPosAbs(0, kQ, 100000);
    AxbSim_AdvanceTimeMs(500);
    int32_t latch = -1;
    AXB_GetLatchReg(0, kQ, 0, &latch);
    EXPECT_EQ(latch, 0);
    EXPECT_EQ(FollowingError(kQ), 0);
    EXPECT_GT(Position(kQ), 0);
}

TEST_F(SimMotionTest, RealTimeMovesRunOnTheWallClock)
{
    AxbSim_UseVirtualTime(0);
    AXB_SetAxisPosAbs(0, kX, 5000); // 0.2 s
    Sleep(400);
    EXPECT_EQ(MoveStatus(kX) & kEnded, kEnded);
    EXPECT_EQ(Position(kX), 5000);
}

TEST_F(SimMotionTest, VirtualClockSetBeforeTheRealTimeFindsTheAxesAtRest)
{
    AxbSim_UseVirtualTime(0);
    AxbSim_Reset(); // axes placed at the real time
    AXB_OpenDrv();
    AxbSim_SetTimeMs(0);
    EXPECT_EQ(MoveStatus(kX), kActive | kEnded);
    AXB_SetAxisPosAbs(0, kX, 5000);
    EXPECT_EQ(MsUntilEnded(kX, 1000), 200u);
}

// The velocity percent is taken times 100 from firmware 0x0002000B on; older
// firmware also reads P061 in mm/s rather than tenths.
struct FirmwareCase {
    uint32_t firmware;
    uint32_t p061;
    uint16_t halfSpeed;
};

class SimVelocityPercentTest : public SimBoardTest, public ::testing::WithParamInterface<FirmwareCase> {};

TEST_P(SimVelocityPercentTest, HalfSpeedDoublesTheCruise)
{
    const FirmwareCase c = GetParam();
    AxbSim_SetFirmwareVersion(c.firmware);
    AxbSim_PokeParam(61, c.p061);
    ASSERT_EQ(AXB_SetVelocityPercent(0, kX, c.halfSpeed), 1);
    // 50000 counts/s: 0.1 s up (2500 counts), 1.9 s at speed, 0.1 s down.
    AXB_SetAxisPosAbs(0, kX, 100000);
    EXPECT_EQ(MsUntilEnded(kX, 3000), 2100u);
}

INSTANTIATE_TEST_SUITE_P(Firmware, SimVelocityPercentTest,
                         ::testing::Values(FirmwareCase{0x0002000A, 100, 50}, FirmwareCase{0x0002000B, 1000, 5000},
                                           FirmwareCase{0x02060703, 1000, 5000}));

TEST_F(SimMotionTest, NewFirmwareReadsAPlainPercentAsHundredths)
{
    AXB_SetVelocityPercent(0, kX, 50); // 0.5 %: 500 counts/s
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(2000);
    EXPECT_EQ(MoveStatus(kX) & kEnded, 0);
    EXPECT_NEAR(Position(kX), 1000, 5);
}

TEST_F(SimMotionTest, LimitSwitchStopsTheMoveAndReportsItsEnd)
{
    AxbSim_SetTravel(kX, -20000, 20000);
    AXB_SetAxisPosAbs(0, kX, 100000);
    // 10000 counts accelerating (0.2 s), the other 10000 at speed (0.1 s).
    EXPECT_EQ(MsUntilEnded(kX, 1000), 300u);
    EXPECT_EQ(MoveStatus(kX) & (kLimitPlus | kLimitMinus), kLimitPlus);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 20000);

    AXB_SetAxisPosAbs(0, kX, 200000); // further into the switch: nothing moves
    EXPECT_EQ(MoveStatus(kX) & (kEnded | kLimitPlus), kEnded | kLimitPlus);

    AXB_SetAxisPosAbs(0, kX, -100000);
    AxbSim_AdvanceTimeMs(10);
    EXPECT_EQ(MoveStatus(kX) & (kLimitPlus | kLimitMinus), 0) << "left the switch";
    MsUntilEnded(kX, 2000);
    EXPECT_EQ(MoveStatus(kX) & (kLimitPlus | kLimitMinus), kLimitMinus);
}

TEST_F(SimMotionTest, LimitsStayWithTheMachineWhenTheCountIsCleared)
{
    AxbSim_SetTravel(kX, -20000, 20000);
    AXB_SetAxisPosAbs(0, kX, 15000);
    MsUntilEnded(kX, 1000);
    AxbSim_AdvanceTimeMs(50);
    ASSERT_EQ(AXB_ClearCount(0, 0x01), 1);
    EXPECT_EQ(Position(kX), 0);
    AXB_SetAxisPosAbs(0, kX, 100000);
    MsUntilEnded(kX, 2000);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 5000);
}

TEST_F(SimMotionTest, HomeSearchZeroesTheCounterOnTheZoomHomeSwitch)
{
    AxbSim_SetTravel(kZoom, -4000, 100000);
    ASSERT_EQ(AXB_SeekHome(0, kZoom), 1);
    EXPECT_LT(MsUntilEnded(kZoom, 5000), 5000u);
    EXPECT_EQ(MoveStatus(kZoom) & (kHomeFound | kLimitMinus), kHomeFound | kLimitMinus);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kZoom), 0);

    AXB_SetAxisPosAbs(0, kZoom, 1000);
    AxbSim_AdvanceTimeMs(200);
    EXPECT_EQ(MoveStatus(kZoom) & (kHomeFound | kLimitMinus), 0);
    EXPECT_EQ(Position(kZoom), 1000);
}

TEST_F(SimMotionTest, StoppedHomeSearchFindsNoHome)
{
    AXB_SeekHome(0, kZoom);
    AxbSim_AdvanceTimeMs(10);
    AXB_StopAxis(0, kZoom);
    MsUntilEnded(kZoom, 1000);
    EXPECT_EQ(MoveStatus(kZoom) & (kHomeFound | kLimitMinus), 0);
    EXPECT_LT(Position(kZoom), 0);
}

TEST_F(SimMotionTest, SoftwareFencesHoldTheTarget)
{
    AxbSim_PokeParam(68, 30000);
    AXB_SetAxisPosAbs(0, kX, 100000);
    MsUntilEnded(kX, 2000);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 30000);
    EXPECT_EQ(MoveStatus(kX) & 0x30, 0x10);
}

TEST_F(SimMotionTest, LinearMoveEndsAllAxesTogether)
{
    // X sets the pace: 100000 counts take 1.2 s, Y's 50000 run at half its speed.
    ASSERT_EQ(AXB_SetAxisPosLin(0, 100000, 50000, 0, 0, 10000), 1);
    AxbSim_AdvanceTimeMs(600);
    EXPECT_EQ(Position(kY) + FollowingError(kY), 25000);
    AxbSim_AdvanceTimeMs(599);
    EXPECT_EQ(MoveStatus(kY) & kEnded, 0);
    AxbSim_AdvanceTimeMs(1);
    EXPECT_EQ(MoveStatus(kX) & kEnded, kEnded);
    EXPECT_EQ(MoveStatus(kY) & kEnded, kEnded);
}

TEST_F(SimMotionTest, HalfCircleEndsOppositeItsStart)
{
    // Radius 10 mm from angle 0: the centre lies 10000 counts in -X.
    ASSERT_EQ(AXB_SetAxisPosCircle(0, 10000, 0.0, 180.0, 0, 10000, 0.0, 0.0), 1);
    AxbSim_AdvanceTimeMs(5000);
    EXPECT_EQ(Position(kX), -20000);
    EXPECT_EQ(Position(kY), 0);
    EXPECT_EQ(MoveStatus(kX) & kEnded, kEnded);
}

TEST_F(SimMotionTest, CircleLeavingTheTravelIsRefused)
{
    AxbSim_SetTravel(kY, -5000, 5000);
    EXPECT_EQ(AXB_SetAxisPosCircle(0, 10000, 0.0, 180.0, 0, 10000, 0.0, 0.0), 0);
    AxbSim_AdvanceTimeMs(100);
    EXPECT_EQ(Position(kX), 0);
}

TEST_F(SimMotionTest, ResetBoardStopsTheAxesWhereTheyAre)
{
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(600);
    ASSERT_EQ(AXB_ResetBoard(0), 1);
    AxbSim_AdvanceTimeMs(500);
    EXPECT_EQ(Position(kX), 0) << "counter restarts at 0";
    EXPECT_EQ(MoveStatus(kX) & kEnded, kEnded);
    EXPECT_EQ(AxbSim_PeekPosition(kX), 0);
}

} // namespace
