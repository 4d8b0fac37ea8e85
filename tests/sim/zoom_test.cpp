// The zoom's home switch and home search, a zoom without a switch homed
// against its lower stop, and a stuck zoom. Factory zoom: 2000 counts/mm,
// 20 mm/s (40000 counts/s), 200 mm/s² (400000 counts/s²), travel -4000 ..
// 100000 counts, following-error limit 1000 counts.
#include "sim_fixture.h"

namespace {

constexpr uint8_t kEnded = 0x01, kHomeFound = 0x02, kActive = 0x04, kOnHomeSwitch = 0x80;

using SimZoomTest = SimBoardTest;

TEST_F(SimZoomTest, HomeSequenceOfAMotorZoomEndsOnItsHomeSwitch)
{
    // The switch is active from the lower end (-4000) up to -2000.
    AxbSim_SetZoomHomeSwitchWidth(2000);

    // Onto the switch: the move runs through it and stops at the end of
    // travel, 4000 counts down: 0.1 s up to speed (2000 counts), 0.05 s at it.
    AXB_SetAxisPosAbs(0, kZoom, -100000);
    AxbSim_AdvanceTimeMs(120);
    EXPECT_EQ(MoveStatus(kZoom) & (kEnded | kOnHomeSwitch), kOnHomeSwitch) << "in the switch, still running";
    EXPECT_EQ(Settled(kZoom), -4000);
    EXPECT_EQ(MoveStatus(kZoom) & kOnHomeSwitch, kOnHomeSwitch);

    // Off the switch, to the start of the slow search 1000 counts above it.
    AXB_SetAxisPosAbs(0, kZoom, -1000);
    MsUntilEnded(kZoom, 1000);
    EXPECT_EQ(MoveStatus(kZoom) & (kEnded | kOnHomeSwitch), kEnded);

    // The slow search at 10 %: 4000 counts/s, 10 ms up to speed (20 counts),
    // the other 980 counts in 0.245 s.
    AXB_SetVelocityPercent(0, kZoom, 1000);
    ASSERT_EQ(AXB_SeekHome(0, kZoom), 1);
    AxbSim_AdvanceTimeMs(200);
    EXPECT_EQ(MoveStatus(kZoom) & (kEnded | kHomeFound | kOnHomeSwitch), 0);
    EXPECT_EQ(MsUntilEnded(kZoom, 1000), 55u);
    EXPECT_EQ(MoveStatus(kZoom), kEnded | kHomeFound | kActive | kOnHomeSwitch);
    EXPECT_EQ(Settled(kZoom), 0) << "the counter is 0 where the switch begins";

    // A search that starts on the switch ends at once, home where it stands.
    AXB_SetVelocityPercent(0, kZoom, 10000);
    AXB_SetAxisPosAbs(0, kZoom, -1000);
    Settled(kZoom);
    AXB_SeekHome(0, kZoom);
    EXPECT_EQ(MoveStatus(kZoom) & (kEnded | kHomeFound), kEnded | kHomeFound);
    EXPECT_EQ(Position(kZoom), 0);
}

TEST_F(SimZoomTest, ZoomWithoutAHomeSwitchIsHomedAgainstItsLowerStop)
{
    AxbSim_SetLimitSwitches(kZoom, 0);
    AxbSim_PlaceAxis(kZoom, 30000);
    ASSERT_EQ(AXB_SeekHome(0, kZoom), 1);
    // 34000 counts to the stop at 40000 counts/s, then the nominal position
    // runs on until it is 1000 counts (P226) beyond it.
    AxbSim_AdvanceTimeMs(900);
    EXPECT_EQ(MoveStatus(kZoom) & (kEnded | kHomeFound | kOnHomeSwitch), 0);
    EXPECT_NEAR(900 + MsUntilEnded(kZoom, 2000), 100 + (34000 - 2000 + 1000) / 40, 1);
    EXPECT_EQ(MoveStatus(kZoom) & (kHomeFound | kOnHomeSwitch), kHomeFound) << "no switch";
    EXPECT_EQ(ErrorByte(kZoom), 0) << "the stall is home, not an error";
    EXPECT_EQ(Position(kZoom), 0);

    AXB_SetAxisPosAbs(0, kZoom, 8000);
    EXPECT_EQ(MoveStatus(kZoom) & kHomeFound, 0) << "until the next command";
    EXPECT_EQ(Settled(kZoom), 8000);
    EXPECT_EQ(AxbSim_PeekPosition(kZoom), 8000) << "the control interface counts from the new zero too";
}

TEST_F(SimZoomTest, StuckZoomLeavesItsMovesUnfinishedUntilFreed)
{
    AxbSim_SetAxisStuck(kZoom, 1);
    AXB_SetAxisPosAbs(0, kZoom, 20000);
    AxbSim_AdvanceTimeMs(60000);
    EXPECT_EQ(MoveStatus(kZoom) & (kEnded | kActive), kActive) << "never ends";
    EXPECT_EQ(Position(kZoom), 0);
    int32_t record[15] = {};
    AXB_GetAxisRecord(0, kZoom, record);
    EXPECT_EQ(record[0], 20000) << "the target stays";

    AxbSim_SetAxisStuck(kZoom, 0);
    EXPECT_EQ(MsUntilEnded(kZoom, 2000), 600u) << "carries on: 0.1 s up, 0.4 s at speed, 0.1 s down";
    EXPECT_EQ(Settled(kZoom), 20000);

    // Sticking on the way: it stands where it was; a stop ends the move.
    AXB_SetAxisPosAbs(0, kZoom, 0);
    AxbSim_AdvanceTimeMs(200);
    AxbSim_SetAxisStuck(kZoom, 1);
    const int32_t stuckAt = Position(kZoom);
    AxbSim_AdvanceTimeMs(1000);
    EXPECT_EQ(Position(kZoom), stuckAt);
    EXPECT_EQ(MoveStatus(kZoom) & kEnded, 0);
    AXB_StopAxis(0, kZoom);
    EXPECT_EQ(MoveStatus(kZoom) & kEnded, kEnded);
    AxbSim_SetAxisStuck(kZoom, 0);
    AxbSim_AdvanceTimeMs(100);
    EXPECT_EQ(Position(kZoom), stuckAt) << "nothing left to carry on with";

    // A home search of a stuck zoom waits; freed, it finds home on the
    // factory switch at the lower end.
    AxbSim_SetAxisStuck(kZoom, 1);
    AXB_SeekHome(0, kZoom);
    AxbSim_AdvanceTimeMs(10000);
    EXPECT_EQ(MoveStatus(kZoom) & (kEnded | kHomeFound), 0);
    AxbSim_SetAxisStuck(kZoom, 0);
    EXPECT_EQ(Settled(kZoom), 0);
    EXPECT_EQ(MoveStatus(kZoom) & (kHomeFound | kOnHomeSwitch), kHomeFound | kOnHomeSwitch);
}

} // namespace
