// Reference marks on the scales, latch 2 that captures them, the analog
// mark polarity, distance-coded layouts checked against the program's
// distance-coded calculation, and a hard stop. The program's own sweep over
// coded marks is tested against these layouts in tests/homing.
#include "sim_fixture.h"

#include "core/distance_coded.h"

#include <vector>

namespace {

constexpr uint8_t kEnded = 0x01, kNotInPosition = 0x08, kLimits = 0xC0;
constexpr uint16_t kCaptured = 0x20;

class SimMarksTest : public SimBoardTest {
protected:
    static int32_t Latch(int axis) { return Out<int32_t>([=](auto* v) { return AXB_GetLatchReg(0, axis, 2, v); }); }
};

// How the program arms the reference latch.
void Arm(int axis)
{
    ASSERT_EQ(AXB_SetLatchMode(0, axis, 2, 7), 1);
    ASSERT_EQ(AXB_ClearLatchStatus(0, 15), 1);
}

std::vector<int32_t> Marks(int axis)
{
    std::vector<int32_t> marks(static_cast<size_t>(std::max(AxbSim_GetMarks(axis, nullptr, 0), 0)));
    EXPECT_EQ(AxbSim_GetMarks(axis, marks.data(), static_cast<int>(marks.size())), static_cast<int>(marks.size()));
    return marks;
}

TEST_F(SimMarksTest, LatchTakesTheFirstMarkReachedAfterArmingWhenEverTheProgramLooks)
{
    const int32_t marks[] = {30000, -5000, 20000};
    ASSERT_EQ(AxbSim_SetMarks(kX, marks, 3), 1);
    EXPECT_EQ(Marks(kX), (std::vector<int32_t>{-5000, 20000, 30000}));
    Arm(kX);
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(1000); // two marks passed since the last look
    EXPECT_EQ(AxisStatus(kX) & kCaptured, kCaptured);
    EXPECT_EQ(Latch(kX), 20000) << "the first one";

    AXB_ClearLatchStatus(0, 1); // re-armed at 90000: nothing ahead
    MsUntilEnded(kX, 1000);
    EXPECT_EQ(AxisStatus(kX) & kCaptured, 0);
    AXB_SetAxisPosAbs(0, kX, -100000);
    AxbSim_AdvanceTimeMs(5000);
    EXPECT_EQ(Latch(kX), 30000) << "going down, the first one is the upper";

    // The register keeps the count it latched; the marks stay with the
    // machine when the counter is cleared.
    AXB_ClearCount(0, 1);
    EXPECT_EQ(Latch(kX), 30000);
    EXPECT_EQ(Marks(kX), (std::vector<int32_t>{45000, 70000, 80000}));
}

TEST_F(SimMarksTest, LatchNeedsModeSevenAMarkReachedAndTheMatchingPolarity)
{
    const int32_t mark = 20000;
    AxbSim_SetMarks(kX, &mark, 1);
    // Stopping on the mark from below reaches it: the motor overshoots a
    // little and settles back.
    constexpr struct {
        const char* name;
        int32_t start, target;
        int mode;
        bool inverted;
        uint16_t register2;
        uint32_t p016, p021;
        bool captured;
    } kCases[] = {
        {"armed", 0, 25000, 7, false, 0, 0x0108, 0, true},
        {"latch off", 0, 25000, 0, false, 0, 0x0108, 0, false},
        {"touch-probe mode", 0, 25000, 6, false, 0, 0x0108, 0, false},
        {"standing on the mark", 20000, 25000, 7, false, 0, 0x0108, 0, false},
        {"half a count below", 19999, 25000, 7, false, 0, 0x0108, 0, true},
        {"stopping on the mark", 0, 20000, 7, false, 0, 0x0108, 0, true},
        {"inverted scale, input not inverted", 0, 25000, 7, true, 0, 0x0108, 0, false},
        {"inverted scale, register 2 bit 11", 0, 25000, 7, true, 0x0800, 0x0108, 0, true},
        {"input inverted, scale not", 0, 25000, 7, false, 0x0800, 0x0108, 0, false},
        {"TTL: P021 bit 4 decides, not register 2", 0, 25000, 7, true, 0x0800, 0x0803, 0, false},
        {"TTL inverted through P021", 0, 25000, 7, true, 0, 0x0803, 0x10, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        AxbSim_PlaceAxis(kX, c.start);
        AxbSim_SetMarkInverted(kX, c.inverted ? 1 : 0);
        AXB_SetAxisReg(0, kX, 2, c.register2);
        AxbSim_PokeParam(16, c.p016);
        AxbSim_PokeParam(21, c.p021);
        AXB_SetLatchMode(0, kX, 2, c.mode);
        AXB_ClearLatchStatus(0, 1);
        AXB_SetAxisPosAbs(0, kX, c.target);
        AxbSim_AdvanceTimeMs(500);
        EXPECT_EQ((AxisStatus(kX) & kCaptured) != 0, c.captured);
        if (c.captured) {
            EXPECT_EQ(Latch(kX), mark);
        }
        AXB_SetLatchMode(0, kX, 2, 0);
    }
}

// The program's own calculation decodes the board's marks (the board
// itself never uses it): a layout the board generates must give its zero
// from every pair of neighbours.
TEST_F(SimMarksTest, EveryPairOfNeighbouringMarksOfACodedScaleDecodesToItsZero)
{
    constexpr struct Layout {
        const char* name;
        int coding;
        int32_t lines, countsPerLine, zero;
        bool reversed;
        uint32_t countsPerMm; // P058 the program would have
    } kLayouts[] = {
        {"Acu-Rite, odd increment", AXBSIM_CODING_ACURITE, 501, 400, -11322800, false, 10000},
        {"Acu-Rite, even increment", AXBSIM_CODING_ACURITE, 500, 400, 2000000, false, 10000},
        {"Acu-Rite, reversed", AXBSIM_CODING_ACURITE, 101, 50, 7, true, 5000},
        {"standard", AXBSIM_CODING_STANDARD, 500, 400, -38276544, false, 10000},
        {"standard, 20 um lines on a 1 um scale, reversed", AXBSIM_CODING_STANDARD, 1000, 20, 12345, true, 1000},
        {"standard, short increment", AXBSIM_CODING_STANDARD, 4, 10, 0, false, 1000},
    };
    const auto decoded = [](int32_t last, int32_t previous, const Layout& l) {
        const DistanceCodedResult r = CalcDistanceCodedOffset(
            {last, previous, l.coding == AXBSIM_CODING_ACURITE, 1.0 / l.countsPerMm,
             static_cast<double>(l.countsPerLine) / l.countsPerMm,
             static_cast<double>(l.lines) * l.countsPerLine / l.countsPerMm, l.reversed});
        EXPECT_TRUE(r.ok());
        return r.offset;
    };
    for (const Layout& l : kLayouts) {
        SCOPED_TRACE(l.name);
        AxbSim_SetTravel(kX, -2000000000, 2000000000);
        ASSERT_EQ(AxbSim_SetDistanceCodedScale(kX, l.coding, l.lines, l.countsPerLine, l.zero, l.reversed), 1);
        const std::vector<int32_t> marks = Marks(kX);
        const int32_t h = l.lines / 2;
        const int32_t lastCoded =
            l.coding == AXBSIM_CODING_ACURITE ? std::min(h - 1, l.lines - h - 2) : h - 2;
        ASSERT_EQ(marks.size(), static_cast<size_t>(2 * lastCoded + 3)) << "fixed marks 0..j+1, coded 0..j";
        EXPECT_EQ(l.reversed ? marks.back() : marks.front(), l.zero) << "the first fixed mark is the zero";
        for (size_t i = 0; i + 1 < marks.size(); ++i) {
            // Passed going up (last is the upper) and going down.
            ASSERT_EQ(decoded(marks[i + 1], marks[i], l), l.zero) << "marks " << marks[i] << " and " << marks[i + 1];
            ASSERT_EQ(decoded(marks[i], marks[i + 1], l), l.zero) << "marks " << marks[i + 1] << " and " << marks[i];
        }
    }
    // The worked example of the calculation: an Acu-Rite scale with the
    // zero -11322800 has its fixed mark A(57) at 100000 and the coded mark
    // 58 lines above it. The standard coding needs an even increment: a
    // refused layout leaves the scale as it was.
    AxbSim_SetTravel(kX, -50000, 350000);
    ASSERT_EQ(AxbSim_SetDistanceCodedScale(kX, AXBSIM_CODING_ACURITE, 501, 400, -11322800, 0), 1);
    EXPECT_EQ(Marks(kX), (std::vector<int32_t>{100000, 123200, 300400, 324000}));
    EXPECT_EQ(AxbSim_SetDistanceCodedScale(kX, AXBSIM_CODING_STANDARD, 501, 400, 0, 0), 0);
    EXPECT_EQ(Marks(kX), (std::vector<int32_t>{100000, 123200, 300400, 324000}));
}

TEST_F(SimMarksTest, HardStopStallsTheMotorUntilTheBoardStopsItWithAFollowingError)
{
    // The nominal position reaches the stop after 0.3 s (10000 counts up to
    // speed, 10000 at 100000 counts/s) and is 500 counts (P066) beyond it
    // 5 ms later.
    AxbSim_SetTravel(kX, -20000, 20000);
    AxbSim_SetLimitSwitches(kX, 0);
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(304);
    EXPECT_EQ(Position(kX), 20000) << "stalled against the stop";
    EXPECT_EQ(Lag(kX), 400);
    EXPECT_EQ(ErrorByte(kX), 0);
    EXPECT_EQ(MoveStatus(kX) & (kEnded | kLimits), 0) << "no switch";
    AxbSim_AdvanceTimeMs(2);
    EXPECT_EQ(ErrorByte(kX), 0x02);
    EXPECT_EQ(MoveStatus(kX) & (kEnded | kLimits), kEnded);
    EXPECT_EQ(Lag(kX), 0);
    EXPECT_EQ(Position(kX), 20000);

    // Without a following-error limit the motor pushes on for ever.
    AxbSim_PokeParam(66, 0);
    AXB_SetAxisPosAbs(0, kX, -30000);
    AxbSim_AdvanceTimeMs(2000);
    EXPECT_EQ(MoveStatus(kX) & (kEnded | kNotInPosition), kEnded | kNotInPosition);
    EXPECT_EQ(ErrorByte(kX), 0);
    EXPECT_EQ(Position(kX), -20000);
    EXPECT_EQ(Lag(kX), -10000);
}

} // namespace
