// What the goto windows work out without a window: velocity words, random
// legs, when a leg has ended, the lines they log, the Watch layout and font
// fit, and the circle's counts.
#include "core/circular_move.h"
#include "core/goto_legs.h"
#include "core/goto_lines.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/unit_conversion.h"
#include "core/velocity_word.h"
#include "core/watch_layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(VelocityWord, ProductsBeyondTheWordSaturateAndNegativeSendsZero)
{
    constexpr struct {
        uint16_t scale;
        float percent;
        uint16_t rounded;   // RoundedVelocityWord
        uint16_t whole;     // WholePercentVelocityWord of the truncated percent
    } kCases[] = {
        {100, 12.345f, 1235, 1200},   // rounded to the nearest word; whole percent first
        {1, 2.5f, 3, 2},              // a half rounds up
        {100, 700.0f, 65535, 65535},  // not 70000 - 65536 = 4464
        {100, 655.35f, 65535, 65500},
        {100, -5.0f, 0, 0},           {1, 1e30f, 65535, 65535},     {100, NAN, 0, 0},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(RoundedVelocityWord(c.scale, c.percent), c.rounded) << c.scale << " x " << c.percent;
        EXPECT_EQ(WholePercentVelocityWord(TruncateToInt32(c.percent), c.scale), c.whole)
            << c.scale << " x " << c.percent;
    }
}

class LegArithmetic : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetParamTable();
        ResetMotionState();
        ResetGotoSequence();
    }
    void CountsPerMm(int axis, uint32_t counts)
    {
        g_param[AxisParam(kParamCountsPerMm, axis)] = counts;
        RecomputeScales();
    }
};

TEST_F(LegArithmetic, FixedLegsAlternateAndUseTheGotoConversion)
{
    for (int a = 0; a < kGotoAxisCount; ++a)
        CountsPerMm(a, 1000);
    g_targetMm[0] = 3.0f;   // 3 / 0.001f truncated is 2999
    g_targetMm[1] = -0.0005f;
    g_targetMm[2] = 0.0f;   // Z and Q stay at the user zero
    g_targetMm[3] = 0.0f;
    EXPECT_EQ(ChooseFixedLeg(kGotoAxisCount), (LegCounts{3000, -1, 0, 0}));
    EXPECT_EQ(ChooseFixedLeg(kGotoAxisCount), (LegCounts{0, 0, 0, 0}));
    EXPECT_EQ(ChooseFixedLeg(kGotoAxisCount), (LegCounts{3000, -1, 0, 0}));
    // Only X compared: a changed Y alone still gives the zero leg.
    g_targetMm[1] = 5.0f;
    EXPECT_EQ(ChooseFixedLeg(1), (LegCounts{0, 0, 0, 0}));
    EXPECT_EQ(ChooseFixedLeg(kGotoAxisCount), (LegCounts{3000, 5000, 0, 0}));
}

TEST_F(LegArithmetic, RandomLegsLieBetweenTheUserZeroAndEachTarget)
{
    const float targets[kGotoAxisCount] = {10.0f, -20.0f, 0.0f, 3.5f};
    const uint32_t scales[kGotoAxisCount] = {1000, 1000, 2000, 10000};
    for (int a = 0; a < kGotoAxisCount; ++a) {
        CountsPerMm(a, scales[a]);
        g_targetMm[a] = targets[a];
    }
    g_legRandom.Seed(12345);
    bool nonzero[kGotoAxisCount] = {};
    for (int leg = 0; leg < 200; ++leg) {
        const LegCounts c = DrawRandomLeg();
        for (int a = 0; a < kGotoAxisCount; ++a) {
            const double limit = targets[a] * scales[a];
            EXPECT_GE(c[a], std::min(0.0, limit)) << "axis " << a;
            EXPECT_LE(c[a], std::max(0.0, limit)) << "axis " << a;
            EXPECT_EQ(g_multiGotoTarget[a], c[a]) << "recorded for a retry";
            nonzero[a] = nonzero[a] || c[a] != 0;
        }
    }
    EXPECT_TRUE(nonzero[0] && nonzero[1] && nonzero[3]);
    EXPECT_FALSE(nonzero[2]);
    // The draw is a fraction of 2^30 of the target; that the count stays
    // within the target is the fuzz target's.
    EXPECT_EQ(RandomLegCount((1u << 30) - 1, 10.0f, 1000), 10000) << "float rounding reaches the target";
    EXPECT_EQ(RandomLegCount(1u << 29, -10.0f, 1000), -5000);
}

TEST_F(LegArithmetic, BackToZeroAlternatesRandomLegsWithTheUserZero)
{
    CountsPerMm(0, 1000);
    g_targetMm[0] = 50.0f;
    g_backToZeroState = kBackToZeroNext;
    g_followErrorRetries = 1;
    g_multiGotoTarget[0] = 777;
    EXPECT_EQ(ChooseRandomLeg(), (LegCounts{}));
    EXPECT_EQ(g_multiGotoTarget[0], 0);
    EXPECT_EQ(g_followErrorRetries, 0) << "a new leg has its own retry";
    EXPECT_EQ(g_backToZeroState, kBackToZeroDone);
    const LegCounts random = ChooseRandomLeg();
    EXPECT_EQ(g_backToZeroState, kBackToZeroNext);
    EXPECT_EQ(g_multiGotoTarget[0], random[0]);
    EXPECT_EQ(ChooseRandomLeg(), (LegCounts{}));
}

TEST(LegEnd, EveryActiveAxisMustHaveFinishedOrBeOverItsLimit)
{
    constexpr struct {
        uint8_t status[kGotoAxisCount];
        bool over[kGotoAxisCount];
        bool wait;
        bool ended;
    } kCases[] = {
        {{0x05, 0x04, 0x05, 0x05}, {}, false, false},              // Y still moving
        {{0x05, 0x04, 0x05, 0x05}, {false, true}, false, true},    // Y over its lag limit
        {{0x05, 0x00, 0xF2, 0x08}, {}, false, true},               // inactive axes never hold it
        {{0x0D, 0x05, 0x05, 0x05}, {}, false, true},
        {{0x0D, 0x05, 0x05, 0x05}, {}, true, false},               // ended but not settled
        {{0x05, 0x05, 0x05, 0x05}, {}, true, true},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(LegEnded(c.status, c.over, c.wait), c.ended)
            << std::hex << int(c.status[0]) << " " << int(c.status[1]) << " wait " << c.wait;
}

TEST(LegEnd, LagOverLimitCountsOnlyWhatTheBoardDidNotReport)
{
    constexpr struct {
        uint8_t status;
        uint8_t error;
        int32_t lag;
        uint32_t limit;
        bool over;
    } kCases[] = {
        {0x04, 0x00, 501, 500, true},   {0x04, 0x00, -501, 500, true},  {0x04, 0x00, 500, 500, false},
        {0x00, 0x00, 9999, 500, false}, {0x04, 0x02, 9999, 500, false}, {0x04, 0x01, 9999, 500, true},
        {0x04, 0x00, INT32_MIN, 2147483647u, true},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(LagOverLimit(c.status, c.error, c.lag, c.limit), c.over) << c.lag << " over " << c.limit;
}

// A line longer than its buffer is cut and keeps its line end (the sample
// shows it; that every line fits is the fuzz target's).
TEST(GotoLines, LegLinesAndSamplesInTheirFormats)
{
    const LegLine line{7, 1010, 5050, {10.0f}, {0x05, 0x04}, 4, 9.9995f};
    char text[kLegLineCapacity];
    FormatLegLine(text, sizeof text, line);
    EXPECT_STREQ(text, "7,time,1010,5050,target,10.0000,0.0000,0.0000,status,0x05,0x04,0x00,probe,0x04,xpos,9.9995\n");

    // In decimal, with the low 32 bits of the tick.
    const GotoSample sample{-600, 12345, 10000, 0x05, 0x02, 0x1'0000'0010ull};
    FormatGotoSample(text, sizeof text, sample);
    EXPECT_STREQ(text, "lag,-600,pos,12345,target,10000,status,5,error,2,time,16\n");
    char small[12];
    FormatGotoSample(small, sizeof small, sample);
    EXPECT_STREQ(small, "lag,-600,p\n");
}

TEST(WatchLayout, ReadoutsShareTheWidthAndOkKeepsItsCorner)
{
    const WatchLayout l = LayoutWatch(662, 478, 75, 23, 96);
    for (int i = 0; i < 3; ++i) {
        const WatchRect& r = l.readouts[i];
        EXPECT_EQ(r.x, 21 + 210 * i);
        EXPECT_EQ(r.y, 21);
        EXPECT_EQ(r.width, 200);
        EXPECT_EQ(r.height, 200);
    }
    EXPECT_EQ(l.ok.x, 662 - 75 - 21);
    EXPECT_EQ(l.ok.y, 478 - 23 - 21);
    EXPECT_EQ(l.listY, 257);
    EXPECT_EQ(l.listWidth, 200);
    const WatchLayout large = LayoutWatch(994, 718, 113, 35, 144);   // margins and gaps 1.5 times
    EXPECT_EQ(large.readouts[1].x, 32 + 300 + 15);
    const WatchLayout tiny = LayoutWatch(30, 40, 75, 23, 96);
    EXPECT_EQ(tiny.readouts[0].width, 0);
    EXPECT_EQ(tiny.readouts[0].height, 0);
}

TEST(WatchLayout, TheFontIsTheLargestWhoseDigitsFit)
{
    // Digits 6 px wide per unit of height, as high as the font.
    auto measure = [](int height) { return TextExtent{true, 6 * height, height}; };
    constexpr struct {
        int width, height, font;
    } kCases[] = {
        {600, 1000, 99},   // the width decides: 6 x 100 reaches 600
        {6000, 50, 49},    // the height decides
        {0, 0, 7},         // nothing fits: one below the first trial
        {10000, 10000, 199},   // nothing reaches the readout: the largest trial, not 12
    };
    for (const auto& c : kCases)
        EXPECT_EQ(FitReadoutFontHeight(c.width, c.height, measure), c.font) << c.width << " x " << c.height;
    // A failed measurement decides nothing.
    auto failing = [](int height) { return TextExtent{height > 20, 6 * height, height}; };
    EXPECT_EQ(FitReadoutFontHeight(60, 60, failing), 20);
}

TEST_F(LegArithmetic, CircleLengthsUseXsCountsPerMmThroughTheGotoConversion)
{
    CountsPerMm(0, 1000);
    CountsPerMm(1, 2000);
    constexpr struct {
        float radius, feed, percent;
        int32_t r, fd;
        uint16_t vel;
    } kCases[] = {
        {3.0f, -2.5f, 12.345f, 3000, -2500, 1234},   // 3 / 0.001f truncated would be 2999
        {0.0005f, 0.0f, 700.0f, 1, 0, 65535},
        {-1.0f, 0.0f, -1.0f, -1000, 0, 0},
    };
    for (const auto& c : kCases) {
        const CircularGotoEntry entry{.velPercent = c.percent, .radiusMm = c.radius, .feedMm = c.feed};
        CircularMove move;
        ASSERT_TRUE(MakeCircularMove(entry, move));
        EXPECT_EQ(move.radius, c.r) << c.radius;
        EXPECT_EQ(move.feed, c.fd) << c.feed;
        EXPECT_EQ(move.velocity, c.vel) << c.percent;
    }
    CountsPerMm(0, 0);
    CircularMove move;
    EXPECT_FALSE(MakeCircularMove({}, move)) << "no counts per mm on X";
}

} // namespace
