// Reference marks on the scales, latch 2 that captures them, the analog
// mark polarity, distance-coded layouts checked against the program's
// distance-coded calculation, and homing against a hard stop.
#include "sim_fixture.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kY = 1, kZ = 2;
constexpr uint8_t kEnded = 0x01, kNotInPosition = 0x08, kLimits = 0xC0;
constexpr uint16_t kCaptured = 0x20;

using SimMarksTest = SimBoardTest;

uint16_t AxisStatus(int axis)
{
    uint16_t status = 0;
    EXPECT_EQ(AXB_GetAxisStatus(0, axis, &status), 1);
    return status;
}

int32_t Latch(int axis)
{
    int32_t count = 0;
    EXPECT_EQ(AXB_GetLatchReg(0, axis, 2, &count), 1);
    return count;
}

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
    int32_t mode = 0;
    AXB_GetLatchMode(0, kX, 2, &mode);
    EXPECT_EQ(mode, 7);
    EXPECT_EQ(Latch(kX), 0);
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
    struct Case {
        const char* name;
        int32_t start;
        int mode;
        bool inverted;
        uint16_t register2;
        uint32_t p016, p021;
        bool captured;
    };
    constexpr Case kCases[] = {
        {"armed", 0, 7, false, 0, 0x0108, 0, true},
        {"latch off", 0, 0, false, 0, 0x0108, 0, false},
        {"touch-probe mode", 0, 6, false, 0, 0x0108, 0, false},
        {"standing on the mark", 20000, 7, false, 0, 0x0108, 0, false},
        {"half a count below", 19999, 7, false, 0, 0x0108, 0, true},
        {"inverted scale, input not inverted", 0, 7, true, 0, 0x0108, 0, false},
        {"inverted scale, register 2 bit 11", 0, 7, true, 0x0800, 0x0108, 0, true},
        {"input inverted, scale not", 0, 7, false, 0x0800, 0x0108, 0, false},
        {"TTL: P021 bit 4 decides, not register 2", 0, 7, true, 0x0800, 0x0803, 0, false},
        {"TTL inverted through P021", 0, 7, true, 0, 0x0803, 0x10, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        AxbSim_PlaceAxis(kX, c.start);
        AxbSim_SetMarkInverted(kX, c.inverted ? 1 : 0);
        AXB_SetAxisReg(0, kX, 2, c.register2);
        AxbSim_PokeParam(16, c.p016);
        AxbSim_PokeParam(21, c.p021);
        AXB_SetLatchMode(0, kX, 2, c.mode);
        AXB_ClearLatchStatus(0, 1);
        AXB_SetAxisPosAbs(0, kX, 25000);
        AxbSim_AdvanceTimeMs(500);
        EXPECT_EQ((AxisStatus(kX) & kCaptured) != 0, c.captured);
        AXB_SetLatchMode(0, kX, 2, 0);
    }

    // Stopping on the mark from below reaches it (the motor overshoots a
    // little and settles back).
    AxbSim_SetMarkInverted(kX, 0);
    AXB_SetAxisReg(0, kX, 2, 0);
    AxbSim_PokeParam(16, 0x0108);
    AxbSim_PlaceAxis(kX, 0);
    Arm(kX);
    AXB_SetAxisPosAbs(0, kX, 20000);
    AxbSim_AdvanceTimeMs(1000);
    EXPECT_EQ(AxisStatus(kX) & kCaptured, kCaptured);
    EXPECT_EQ(Latch(kX), 20000);
}

// The program's CalcDistanceCodedOffset, step by step, in 32-bit integers:
// written here again so that the board's layouts are checked against the
// calculation itself, not against the board's own idea of it.
struct Decoded {
    bool ok = false;
    int32_t cpl = 0, nInc = 0, cpi = 0, span = 0, spanLines = 0, half = 0, k = 0;
    double offset = 0;
};

Decoded Decode(int32_t last, int32_t previous, bool acu, double res, double pit, double inc, bool reverse)
{
    Decoded d;
    const double resR = static_cast<int32_t>(std::floor(res * 100000000 + 0.5)) / 100000000.0;
    const double pitR = static_cast<int32_t>(std::floor(pit * 10000000 + 0.5)) / 10000000.0;
    if (resR == 0 || resR >= pitR)
        return d;
    const int32_t l = reverse ? -last : last;
    const int32_t p = reverse ? -previous : previous;
    d.cpl = static_cast<int32_t>(pitR / resR);
    d.nInc = static_cast<int32_t>(std::floor((inc + resR) / pitR));
    d.cpi = d.nInc * d.cpl;
    const int32_t diff = l - p;
    d.span = std::abs(diff);
    d.spanLines = (d.span + 1) / d.cpl;
    d.half = d.nInc / 2;
    const int32_t base = diff < 0 ? l : p;
    const int32_t rest = d.cpi - d.span;
    int32_t offset;
    if (!acu) {
        d.k = (std::abs(d.spanLines - d.half) - 1) * d.cpi;
        offset = d.spanLines > d.half ? base - d.k : base - d.k - rest;
    } else if (d.spanLines > d.half) {
        d.k = (d.nInc - d.spanLines - 1) * d.cpi;
        offset = base - d.k - rest;
    } else {
        d.k = (d.spanLines - 1) * d.cpi;
        offset = base - d.k;
    }
    d.offset = reverse ? -static_cast<double>(offset) : static_cast<double>(offset);
    d.ok = true;
    return d;
}

struct Layout {
    const char* name;
    int coding;
    int32_t lines, countsPerLine, zero;
    bool reversed;
    uint32_t countsPerMm; // P058 the program would have
};

TEST_F(SimMarksTest, EveryPairOfNeighbouringMarksOfACodedScaleDecodesToItsZero)
{
    constexpr Layout kLayouts[] = {
        {"Acu-Rite, odd increment", AXBSIM_CODING_ACURITE, 501, 400, -11322800, false, 10000},
        {"Acu-Rite, even increment", AXBSIM_CODING_ACURITE, 500, 400, 2000000, false, 10000},
        {"Acu-Rite, reversed", AXBSIM_CODING_ACURITE, 101, 50, 7, true, 5000},
        {"standard", AXBSIM_CODING_STANDARD, 500, 400, -38276544, false, 10000},
        {"standard, 20 um lines on a 1 um scale, reversed", AXBSIM_CODING_STANDARD, 1000, 20, 12345, true, 1000},
        {"standard, short increment", AXBSIM_CODING_STANDARD, 4, 10, 0, false, 1000},
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
        const double res = 1.0 / l.countsPerMm;
        const double pit = static_cast<double>(l.countsPerLine) / l.countsPerMm;
        const double inc = static_cast<double>(l.lines) * l.countsPerLine / l.countsPerMm;
        const bool acu = l.coding == AXBSIM_CODING_ACURITE;
        for (size_t i = 0; i + 1 < marks.size(); ++i) {
            // Passed going up (last is the upper) and going down.
            const Decoded up = Decode(marks[i + 1], marks[i], acu, res, pit, inc, l.reversed);
            const Decoded down = Decode(marks[i], marks[i + 1], acu, res, pit, inc, l.reversed);
            ASSERT_TRUE(up.ok && down.ok);
            ASSERT_EQ(up.offset, l.zero) << "marks " << marks[i] << " and " << marks[i + 1];
            ASSERT_EQ(down.offset, l.zero) << "marks " << marks[i + 1] << " and " << marks[i];
        }
    }
}

TEST_F(SimMarksTest, CodedLayoutsMatchTheWorkedExampleOfTheCalculationWhereItApplies)
{
    // The calculation's worked example: P58 = 10000, P71 = 400, P70 =
    // 200400: res 0.0001 mm, pitch 0.04 mm, increment 20.04 mm; Acu-Rite,
    // last 123456, previous 100000:
    // counts per line 400, pitch lines per increment 501, counts per
    // increment 200400, span lines 58, half 250, k 11422800, offset
    // -11322800. A generated Acu-Rite scale with that zero has its fixed mark
    // A(57) at 100000 and the coded mark 58 lines above, at 123200: the same
    // span in lines, the same k and offset.
    AxbSim_SetTravel(kX, -50000, 350000);
    ASSERT_EQ(AxbSim_SetDistanceCodedScale(kX, AXBSIM_CODING_ACURITE, 501, 400, -11322800, 0), 1);
    std::vector<int32_t> marks = Marks(kX);
    EXPECT_EQ(marks, (std::vector<int32_t>{100000, 123200, 300400, 324000}));
    Decoded d = Decode(123200, 100000, true, 0.0001, 0.04, 20.04, false);
    EXPECT_EQ(d.cpl, 400);
    EXPECT_EQ(d.cpl / 4, 100) << "interpolation";
    EXPECT_EQ(d.nInc, 501);
    EXPECT_EQ(d.cpi, 200400);
    EXPECT_EQ(d.spanLines, 58);
    EXPECT_EQ(d.half, 250);
    EXPECT_EQ(d.k, 11422800);
    EXPECT_EQ(d.offset, -11322800);

    // The standard convention needs an even increment, so the example's 501
    // lines make no standard scale; with 500 (20 mm) and the example's last
    // count 123456 as fixed mark A(192) (250 - 58 increments from the zero),
    // the coded mark below it is 58 lines down, at 100256: span lines 58,
    // half 250, k = 191 increments = 38200000.
    EXPECT_EQ(AxbSim_SetDistanceCodedScale(kX, AXBSIM_CODING_STANDARD, 501, 400, 0, 0), 0);
    EXPECT_EQ(Marks(kX), marks) << "a refused layout leaves the scale as it was";
    ASSERT_EQ(AxbSim_SetDistanceCodedScale(kX, AXBSIM_CODING_STANDARD, 500, 400, 123456 - 192 * 200000, 0), 1);
    marks = Marks(kX);
    ASSERT_GE(marks.size(), 2u);
    EXPECT_EQ(marks[0], 100256);
    EXPECT_EQ(marks[1], 123456);
    d = Decode(123456, 100256, false, 0.0001, 0.04, 20.0, false);
    EXPECT_EQ(d.spanLines, 58);
    EXPECT_EQ(d.half, 250);
    EXPECT_EQ(d.k, 38200000);
    EXPECT_EQ(d.offset, 123456 - 192 * 200000);

    // Reversed, as in the example's third case: the count 100000 is A(192)
    // and the coded mark next to it, B(191), lies above it at 123200.
    ASSERT_EQ(AxbSim_SetDistanceCodedScale(kX, AXBSIM_CODING_STANDARD, 500, 400, 100000 + 192 * 200000, 1), 1);
    marks = Marks(kX);
    ASSERT_GE(marks.size(), 2u);
    EXPECT_EQ(marks[0], 100000);
    EXPECT_EQ(marks[1], 123200);
    d = Decode(123200, 100000, false, 0.0001, 0.04, 20.0, true);
    EXPECT_EQ(d.spanLines, 58);
    EXPECT_EQ(d.offset, 100000 + 192 * 200000);
}

TEST_F(SimMarksTest, ProgramLikeSweepFindsTwoMarksThatDecodeToTheScaleZero)
{
    // Armed, swept at a constant speed and looked at every 10 ms the way the
    // program's CheckReferenceMark does it: accept a latched count unless it
    // is within 990 counts of the last, re-arm, decode two marks.
    struct Case {
        const char* name;
        Layout layout;
        int32_t target;
        uint16_t percent;
    };
    constexpr Case kCases[] = {
        {"standard, 1 um", {"", AXBSIM_CODING_STANDARD, 1000, 20, -30000, false, 1000}, 1000000, 10000},
        {"standard reversed, downwards", {"", AXBSIM_CODING_STANDARD, 1000, 20, 60000, true, 1000}, -1000000, 10000},
        {"Acu-Rite, 0.1 um", {"", AXBSIM_CODING_ACURITE, 501, 400, -5000000, false, 10000}, 1000000, 5000},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const Layout& l = c.layout;
        AxbSim_PlaceAxis(kX, 0);
        AxbSim_PokeParam(58, l.countsPerMm);
        AxbSim_PokeParam(66, 5000);
        ASSERT_EQ(AxbSim_SetDistanceCodedScale(kX, l.coding, l.lines, l.countsPerLine, l.zero, l.reversed), 1);
        Arm(kX);
        int32_t last = Latch(kX), previous = 0, count = 0;
        AXB_SetVelocityPercent(0, kX, c.percent);
        AXB_SetAxisPosAbs(0, kX, c.target);
        for (int ms = 0; ms < 10000 && count < 2; ms += 10) {
            AxbSim_AdvanceTimeMs(10);
            if (!(AxisStatus(kX) & kCaptured))
                continue;
            const int32_t latched = Latch(kX);
            if (count == 0 || std::abs(latched - last) > 990) {
                previous = last;
                last = latched;
                ++count;
            }
            AXB_ClearLatchStatus(0, 1);
        }
        AXB_StopAxis(0, kX);
        ASSERT_EQ(count, 2);
        const Decoded d = Decode(last, previous, l.coding == AXBSIM_CODING_ACURITE, 1.0 / l.countsPerMm,
                                 static_cast<double>(l.countsPerLine) / l.countsPerMm,
                                 static_cast<double>(l.lines) * l.countsPerLine / l.countsPerMm, l.reversed);
        EXPECT_EQ(d.offset, l.zero) << "marks " << previous << ", " << last;
        AxbSim_AdvanceTimeMs(1000);
    }
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

    AXB_SetAxisPosAbs(0, kX, 0);
    EXPECT_EQ(ErrorByte(kX), 0) << "cleared by the next command";
    MsUntilEnded(kX, 2000);
    AxbSim_AdvanceTimeMs(50);
    EXPECT_EQ(Position(kX), 0);

    // Without a following-error limit the motor pushes on for ever.
    AxbSim_PokeParam(66, 0);
    AXB_SetAxisPosAbs(0, kX, -30000);
    AxbSim_AdvanceTimeMs(2000);
    EXPECT_EQ(MoveStatus(kX) & (kEnded | kNotInPosition), kEnded | kNotInPosition);
    EXPECT_EQ(ErrorByte(kX), 0);
    EXPECT_EQ(Position(kX), -20000);
    EXPECT_EQ(Lag(kX), -10000);
}

TEST_F(SimMarksTest, HomeSearchAgainstAHardStopZeroesTheCounterThere)
{
    AxbSim_SetLimitSwitches(kY, 0);
    AxbSim_SetTravel(kY, -20000, 20000);
    ASSERT_EQ(AXB_SeekHome(0, kY), 1);
    EXPECT_LT(MsUntilEnded(kY, 5000), 5000u);
    EXPECT_EQ(MoveStatus(kY) & 0x02, 0x02) << "home found";
    EXPECT_EQ(ErrorByte(kY), 0);
    EXPECT_EQ(Position(kY), 0);
    AXB_SetAxisPosAbs(0, kY, 1000);
    EXPECT_EQ(MoveStatus(kY) & 0x02, 0) << "until the next command";
    AxbSim_AdvanceTimeMs(200);
    EXPECT_EQ(Position(kY), 1000);
    EXPECT_EQ(AxbSim_PeekPosition(kY), 1000);
    (void)kZ;
}

} // namespace
