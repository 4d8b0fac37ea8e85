// The distance-coded zero: the worked figures of a 20.04 mm increment, the
// refusals, and the odd increment the standard coding gets wrong. That every
// neighbouring mark pair of a scale gives its zero is checked against the
// simulated board's layouts (tests/sim/marks_test.cpp).
#include "core/distance_coded.h"

#include <gtest/gtest.h>

namespace {

// res 0.0001 mm, pitch 0.04 mm (400 counts a line), increment 20.04 mm (501
// lines); last 123456, previous 100000, or marks and scale of one's own.
DistanceCodedInput MarksAt(int32_t last = 123456, int32_t previous = 100000, double inc = 20.04, double pit = 0.04)
{
    return {last, previous, false, 1.0 / 10000, pit, inc, false};
}

TEST(DistanceCoded, WorkedExampleInEveryConvention)
{
    const struct {
        const char* name;
        bool acu, reverse;
        int32_t toZero;
        double offset;
    } kCases[] = {
        {"other convention", false, false, 38276400, -38353344.0},
        {"Acu-Rite", true, false, 11422800, -11322800.0},
        {"reversed counting", false, true, 38276400, 38576800.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        DistanceCodedInput in = MarksAt();
        in.acu = c.acu;
        in.reverse = c.reverse;
        const DistanceCodedResult r = CalcDistanceCodedOffset(in);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.countsPerLine, 400);
        EXPECT_EQ(r.linesPerIncrement, 501);
        EXPECT_EQ(r.countsPerIncrement, 200400);
        EXPECT_EQ(r.span, 23456);
        EXPECT_EQ(r.spanLines, 58);
        EXPECT_EQ(r.toZero, c.toZero);
        EXPECT_EQ(r.offset, c.offset);
    }
}

// Each would otherwise "succeed" with a zero that has nothing to do with the scale.
TEST(DistanceCoded, RefusesFiguresThatLocateNothing)
{
    const struct {
        const char* name;
        double res, pit, inc;
        DistanceCodedStep step;
    } kRefusals[] = {
        {"no counts per mm", 0.0, 0.04, 20.04, DistanceCodedStep::RefusedResolution},
        {"pitch equal to the resolution", 0.0001, 0.0001, 20.04, DistanceCodedStep::RefusedResolution},
        {"pitch below the resolution", 0.001, 0.0004, 20.04, DistanceCodedStep::RefusedResolution},
        {"pitch beyond the counter", 0.0001, 1e6, 20.04, DistanceCodedStep::RefusedResolution},
        {"no increment set", 0.0001, 0.04, 0.0, DistanceCodedStep::RefusedIncrement},
        {"increment of one line", 0.0001, 0.04, 0.05, DistanceCodedStep::RefusedIncrement},
        {"increment beyond the counter", 0.0001, 0.04, 1e9, DistanceCodedStep::RefusedIncrement},
    };
    for (const auto& c : kRefusals) {
        SCOPED_TRACE(c.name);
        DistanceCodedInput in = MarksAt(123456, 100000, c.inc, c.pit);
        in.res = c.res;
        const DistanceCodedResult r = CalcDistanceCodedOffset(in);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.step, c.step);
        EXPECT_EQ(r.offset, 0.0);
    }
}

// No two neighbouring marks lie this far apart: each pair would "succeed"
// with a zero whole increments away.
TEST(DistanceCoded, RefusesMarksNoNeighboursCanBe)
{
    const struct {
        const char* name;
        DistanceCodedInput in;
        int32_t spanLines;
    } kImpossibleSpans[] = {
        {"one mark latched twice", MarksAt(100000, 100000), 0},
        {"less than a line apart", MarksAt(100398, 100000), 0},
        {"a whole increment apart", MarksAt(300400, 100000), 501},
        {"a mark missed between them", MarksAt(100000, 523456), 1058},
        {"the whole counter apart", MarksAt(INT32_MIN, 0), 5368709},
        {"half an increment, standard coding", MarksAt(200000, 100000, 20.0), 250},
        {"one count latched twice at one count a line", MarksAt(5, 5, 0.012, 0.00012), 1},
    };
    for (const auto& c : kImpossibleSpans) {
        SCOPED_TRACE(c.name);
        const DistanceCodedResult r = CalcDistanceCodedOffset(c.in);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.step, DistanceCodedStep::RefusedSpan);
        EXPECT_EQ(r.spanLines, c.spanLines);
        EXPECT_GT(r.countsPerIncrement, 0) << "the figures reached are kept";
        EXPECT_EQ(r.toZero, 0);
        EXPECT_EQ(r.offset, 0.0);
    }
}

TEST(DistanceCoded, CountsPerLineAreRoundedNotTruncated)
{
    // 0.02 / 0.00002 is 999.9999999999999 in double.
    EXPECT_EQ(CountsPerPitchLine(0.00002, 0.02), 1000);
    EXPECT_EQ(CountsPerPitchLine(1.0 / 50000, 1000.0 / 50000), 1000);
}

// Kept as the board's makers defined it; the program warns about it. With
// the zero at 0, fixed mark j lies j increments up and its coded mark 250 - j
// lines below it: from the fixed mark below, the pair is an increment off.
TEST(DistanceCoded, OddIncrementOfTheOtherConventionIsOffForHalfThePairs)
{
    for (int32_t j : {1, 2, 5}) {
        const int32_t fixed = j * 200400, coded = fixed - (250 - j) * 400;
        EXPECT_EQ(CalcDistanceCodedOffset(MarksAt(fixed, coded)).offset, 0.0) << j;
        EXPECT_EQ(CalcDistanceCodedOffset(MarksAt(coded, fixed - 200400)).offset, -200400.0) << j;
    }
}

} // namespace
