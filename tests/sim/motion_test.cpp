// Moves on the virtual clock, against the factory X axis: 1000 counts/mm,
// 100 mm/s (P061 = 1000 tenths), 500 mm/s² (P062), so 100000 counts/s and
// 500000 counts/s².
#include "sim_fixture.h"

namespace {

constexpr uint8_t kEnded = 0x01, kActive = 0x04, kNotInPosition = 0x08;
constexpr uint8_t kLimitPlus = 0x40, kLimitMinus = 0x80;

using SimMotionTest = SimBoardTest;

TEST_F(SimMotionTest, TrapezoidAndTriangleEndOnTime)
{
    // Both start at 500000 counts/s²: 2500 counts after 0.1 s. 100000 counts
    // take 0.2 s up to full speed, 0.8 s at it and 0.2 s down; 5000 counts
    // make a triangle peaking at sqrt(a d) = 50000 counts/s after 0.1 s.
    constexpr std::pair<int32_t, uint32_t> kMoves[] = {{100000, 1200}, {5000, 200}};
    for (const auto& [target, endMs] : kMoves) {
        SCOPED_TRACE(target);
        AxbSim_PlaceAxis(kX, 0);
        ASSERT_EQ(AXB_SetAxisPosAbs(0, kX, target), 1);
        EXPECT_EQ(MoveStatus(kX), kActive);
        AxbSim_AdvanceTimeMs(100);
        EXPECT_EQ(Nominal(kX), 2500);
        EXPECT_EQ(100 + MsUntilEnded(kX, 2000), endMs);
        EXPECT_EQ(MoveStatus(kX), kActive | kEnded | kNotInPosition) << "the servo's lag is still settling";
        AxbSim_AdvanceTimeMs(50);
        EXPECT_EQ(MoveStatus(kX), kActive | kEnded);
        EXPECT_EQ(Position(kX), target);
    }
}

// From firmware 0x0002000B on the velocity percent counts in hundredths and
// P061 in tenths of mm/s; before, plain percent and mm/s. Either way the
// percent is capped at 100.
TEST_F(SimMotionTest, VelocityPercentFollowsTheFirmware)
{
    constexpr struct {
        uint32_t firmware;
        uint32_t p061;
        uint16_t percent;
        int32_t nominalAfter1s;
    } kCases[] = {
        // 50000 counts/s: 0.1 s up (2500 counts), then 0.9 s at speed.
        {0x0002000A, 100, 50, 47500},    {0x0002000B, 1000, 5000, 47500},
        {0x0002000A, 100, 5000, 90000},  {0x0002000B, 1000, 20000, 90000},
    };
    for (const auto& c : kCases) {
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

// The run onto a switch (0.2 s accelerating, 0.1 s at speed) sets its bit
// and ends on a millisecond: a move back commanded in that very millisecond
// sets off at once and leaves the switch. Further into it nothing moves.
TEST_F(SimMotionTest, LimitSwitchesStopTheAxisAndAMoveBackStartsInTheMillisecondItStopped)
{
    constexpr struct {
        int32_t onto;
        int32_t back;
        uint8_t limit;
    } kCases[] = {{-100000, -15000, kLimitMinus}, {100000, 15000, kLimitPlus}};
    AxbSim_SetTravel(kX, -20000, 20000);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.onto);
        AxbSim_PlaceAxis(kX, 0);
        AXB_SetAxisPosAbs(0, kX, c.onto);
        EXPECT_EQ(MsUntilEnded(kX, 1000), 300u);
        EXPECT_EQ(MoveStatus(kX) & (kLimitPlus | kLimitMinus), c.limit);
        AXB_SetAxisPosAbs(0, kX, c.back);
        AxbSim_AdvanceTimeMs(10);
        EXPECT_EQ(MoveStatus(kX) & (kLimitPlus | kLimitMinus), 0) << "left the switch";
        EXPECT_EQ(10 + MsUntilEnded(kX, 1000), 200u) << "a triangle over 5000 counts";
        EXPECT_EQ(Settled(kX), c.back);
    }
    AXB_SetAxisPosAbs(0, kX, 100000);
    MsUntilEnded(kX, 1000);
    AXB_SetAxisPosAbs(0, kX, 200000);
    EXPECT_EQ(MoveStatus(kX) & (kEnded | kLimitPlus), kEnded | kLimitPlus) << "further into the switch: nothing moves";
}

// At 600 ms a move to 100000 is at 50000 counts, running up at 100000
// counts/s: braking takes 0.2 s and 10000 counts, going back those 10000
// counts another 2 sqrt(d / a) = 0.2828 s. With P061 = 0 a move goes nowhere
// but still ends: at once from rest, after braking when the axis was running.
TEST_F(SimMotionTest, StopReversalAndAMoveWithoutVelocityBrakeAtTheAxisAcceleration)
{
    constexpr struct {
        const char* name;
        uint32_t runMs;
        bool stop;
        uint32_t p061;
        int32_t target;
        uint32_t endMs;
        int32_t stopsAt;
    } kCases[] = {
        {"stop", 600, true, 1000, 0, 200, 60000},
        {"reversal", 600, false, 1000, 50000, 483, 50000},
        {"no velocity, where the axis stands", 0, false, 0, 0, 0, 0},
        {"no velocity, from rest", 0, false, 0, 10000, 0, 0},
        {"no velocity, running", 600, false, 0, 100000, 200, 60000},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        AxbSim_PokeParam(61, 1000);
        AxbSim_PlaceAxis(kX, 0);
        AXB_SetAxisPosAbs(0, kX, 100000);
        AxbSim_AdvanceTimeMs(c.runMs);
        AxbSim_PokeParam(61, c.p061);
        ASSERT_EQ(c.stop ? AXB_StopAxis(0, kX) : AXB_SetAxisPosAbs(0, kX, c.target), 1);
        EXPECT_EQ(MsUntilEnded(kX, 1000), c.endMs);
        EXPECT_EQ(Settled(kX), c.stopsAt);
    }
}

// The servo on a 100 mm move of X, sampled every millisecond: how far it
// runs past the target, the lag at full speed (900 ms), and for how long
// after the end of the profile (1200 ms) it leaves the target window.
class SimServoTest : public SimBoardTest {
protected:
    struct Response {
        int32_t overshoot = 0, lagAtSpeed = 0;
        uint32_t settledMs = 0;
    };
    static Response MoveX(uint32_t d, uint32_t i)
    {
        AxbSim_PokeParam(51, d);
        AxbSim_PokeParam(52, i);
        AxbSim_PlaceAxis(kX, 0);
        AXB_SetAxisPosAbs(0, kX, 100000);
        Response r;
        for (uint32_t ms = 1; ms <= 1600; ++ms) {
            AxbSim_AdvanceTimeMs(1);
            const int32_t past = Position(kX) - 100000;
            r.overshoot = std::max(r.overshoot, past);
            r.lagAtSpeed = ms == 900 ? Lag(kX) : r.lagAtSpeed;
            r.settledMs = std::abs(past) > 5 ? ms - 1199 : r.settledMs;
        }
        return r;
    }
};

TEST_F(SimServoTest, TheGainsShapeTheMoveAndTheMotorsPathDoesNotDependOnThePolling)
{
    const Response factory = MoveX(600, 8), halfD = MoveX(300, 8), fifthD = MoveX(120, 8), strongI = MoveX(600, 8000);
    EXPECT_EQ(factory.overshoot, 10);
    EXPECT_EQ(factory.lagAtSpeed, 50) << "0.5 ms of speed, as before the gains mattered";
    EXPECT_LT(factory.overshoot, halfD.overshoot);
    EXPECT_LT(halfD.overshoot, fifthD.overshoot);
    EXPECT_GT(fifthD.settledMs, 2 * factory.settledMs);
    EXPECT_LT(strongI.lagAtSpeed, factory.lagAtSpeed / 2) << "the integral takes the lag out";

    const auto positionAt1203 = [](uint32_t stepMs) {
        AxbSim_PlaceAxis(kX, 0);
        AXB_SetAxisPosAbs(0, kX, 100000);
        for (uint32_t ms = 0; ms < 1203; ms += stepMs, Position(kX))
            AxbSim_AdvanceTimeMs(stepMs);
        return Position(kX);
    };
    EXPECT_EQ(positionAt1203(1203), positionAt1203(1));
}

} // namespace
