// Moves on the virtual clock, against the factory X axis: 1000 counts/mm,
// 100 mm/s (P061 = 1000 tenths), 500 mm/s² (P062), so 100000 counts/s and
// 500000 counts/s².
#include "sim_fixture.h"

namespace {

constexpr uint8_t kEnded = 0x01, kHomeFound = 0x02, kActive = 0x04, kNotInPosition = 0x08;
constexpr uint8_t kLimitPlus = 0x40, kLimitMinus = 0x80;

using SimMotionTest = SimBoardTest;

TEST_F(SimMotionTest, TrapezoidAndTriangleEndOnTime)
{
    // Both start at 500000 counts/s²: 2500 counts after 0.1 s. 100000 counts
    // take 0.2 s up to full speed, 0.8 s at it and 0.2 s down; 5000 counts
    // make a triangle peaking at sqrt(a d) = 50000 counts/s after 0.1 s.
    struct Move {
        int32_t target;
        uint32_t endMs;
    };
    constexpr Move kMoves[] = {{100000, 1200}, {5000, 200}};
    for (const Move& m : kMoves) {
        SCOPED_TRACE(m.target);
        AxbSim_PlaceAxis(kX, 0);
        ASSERT_EQ(AXB_SetAxisPosAbs(0, kX, m.target), 1);
        EXPECT_EQ(MoveStatus(kX), kActive);
        AxbSim_AdvanceTimeMs(100);
        EXPECT_EQ(Nominal(kX), 2500);
        EXPECT_EQ(100 + MsUntilEnded(kX, 2000), m.endMs);
        EXPECT_EQ(MoveStatus(kX), kActive | kEnded | kNotInPosition) << "the servo's lag is still settling";
        AxbSim_AdvanceTimeMs(50);
        EXPECT_EQ(MoveStatus(kX), kActive | kEnded);
        EXPECT_EQ(Position(kX), m.target);
    }
}

TEST_F(SimMotionTest, StopAndReversalBrakeAtTheAxisAcceleration)
{
    // At 600 ms the axis is at 50000 counts, running up at 100000 counts/s;
    // braking takes 0.2 s and 10000 counts, going back those 10000 counts
    // another 2 sqrt(d / a) = 0.2828 s.
    struct Case {
        bool stop;
        int32_t target;
        uint32_t endMs;
    };
    constexpr Case kCases[] = {{true, 60000, 200}, {false, 50000, 483}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.stop ? "stop" : "reversal");
        AxbSim_PlaceAxis(kX, 0);
        AXB_SetAxisPosAbs(0, kX, 100000);
        AxbSim_AdvanceTimeMs(600);
        ASSERT_EQ(c.stop ? AXB_StopAxis(0, kX) : AXB_SetAxisPosAbs(0, kX, c.target), 1);
        EXPECT_EQ(MsUntilEnded(kX, 1000), c.endMs);
        AxbSim_AdvanceTimeMs(50);
        EXPECT_EQ(Position(kX), c.target);
    }
}

// From firmware 0x0002000B on the velocity percent counts in hundredths and
// P061 in tenths of mm/s; before, plain percent and mm/s. Either way the
// percent is capped at 100.
TEST_F(SimMotionTest, VelocityPercentFollowsTheFirmware)
{
    struct Case {
        uint32_t firmware;
        uint32_t p061;
        uint16_t percent;
        int32_t nominalAfter1s;
    };
    constexpr Case kCases[] = {
        // 50000 counts/s: 0.1 s up (2500 counts), then 0.9 s at speed.
        {0x0002000A, 100, 50, 47500},
        {0x0002000B, 1000, 5000, 47500},
        {0x0002000B, 1000, 50, 500},
        {0x0002000A, 100, 5000, 90000},
        {0x0002000B, 1000, 20000, 90000},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firmware << std::dec << ", " << c.percent);
        AxbSim_PlaceAxis(kX, 0);
        AxbSim_SetFirmwareVersion(c.firmware);
        AxbSim_PokeParam(61, c.p061);
        ASSERT_EQ(AXB_SetVelocityPercent(0, kX, c.percent), 1);
        AXB_SetAxisPosAbs(0, kX, 100000);
        AxbSim_AdvanceTimeMs(1000);
        EXPECT_NEAR(Nominal(kX), c.nominalAfter1s, 1);
    }
}

TEST_F(SimMotionTest, LimitSwitchesStopTheAxisAndSetTheirBits)
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
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), -20000);
}

// The run onto a switch ends on a millisecond (0.2 s accelerating, 0.1 s at
// speed); a move back commanded in that very millisecond sets off at once.
TEST_F(SimMotionTest, MoveAwayFromALimitStartsInTheMillisecondItStopped)
{
    struct Case {
        int32_t onto;
        int32_t back;
    };
    constexpr Case kCases[] = {{-100000, -15000}, {100000, 15000}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.onto);
        AxbSim_SetTravel(kX, -20000, 20000);
        AxbSim_PlaceAxis(kX, 0);
        AXB_SetAxisPosAbs(0, kX, c.onto);
        EXPECT_EQ(MsUntilEnded(kX, 1000), 300u);
        EXPECT_EQ(MoveStatus(kX) & (kLimitPlus | kLimitMinus), c.onto < 0 ? kLimitMinus : kLimitPlus);
        AXB_SetAxisPosAbs(0, kX, c.back);
        EXPECT_EQ(MsUntilEnded(kX, 1000), 200u) << "a triangle over 5000 counts";
        AxbSim_AdvanceTimeMs(50);
        EXPECT_EQ(Position(kX), c.back);
    }
}

// With P061 = 0 a move goes nowhere but still ends: at once from rest, after
// braking (0.2 s, 10000 counts) when the axis was running at full speed.
TEST_F(SimMotionTest, MoveWithoutVelocityEndsWhereTheAxisStands)
{
    struct Case {
        uint32_t runMs;
        int32_t target;
        uint32_t endMs;
        int32_t stopsAt;
    };
    constexpr Case kCases[] = {{0, 0, 0, 0}, {0, 10000, 0, 0}, {600, 100000, 200, 60000}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.target);
        AxbSim_PokeParam(61, 1000);
        AxbSim_PlaceAxis(kX, 0);
        AXB_SetAxisPosAbs(0, kX, 100000);
        AxbSim_AdvanceTimeMs(c.runMs);
        AxbSim_PokeParam(61, 0);
        AXB_SetAxisPosAbs(0, kX, c.target);
        EXPECT_EQ(MsUntilEnded(kX, 1000), c.endMs);
        AxbSim_AdvanceTimeMs(50);
        EXPECT_EQ(Position(kX), c.stopsAt);
    }
}

TEST_F(SimMotionTest, HomeSearchZeroesTheZoomCounterOnItsHomeSwitch)
{
    ASSERT_EQ(AXB_SeekHome(0, kZoom), 1);
    EXPECT_LT(MsUntilEnded(kZoom, 5000), 5000u);
    EXPECT_EQ(MoveStatus(kZoom) & (kHomeFound | kLimitMinus), kHomeFound | kLimitMinus);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kZoom), 0);

    AXB_SetAxisPosAbs(0, kZoom, 1000);
    AxbSim_AdvanceTimeMs(200);
    EXPECT_EQ(MoveStatus(kZoom) & (kHomeFound | kLimitMinus), 0) << "until the next command";
    EXPECT_EQ(Position(kZoom), 1000);
}

} // namespace
