// Move-response figures on synthetic captures: a commanded ramp from 0 to
// 1000 counts in 100 ms (10 counts/ms, 20 counts of lag), sampled every
// 10 ms, then the positions given per row from the end of the profile on.
#include "core/move_response.h"

#include "core/param_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr MoveCommand kMove{0, 0, 1000, 5};

std::vector<ResponseSample> Capture(std::vector<double> afterEnd, double cutAtMs = 1e9)
{
    std::vector<ResponseSample> samples;
    for (double t = 0; t < 100 && t < cutAtMs; t += 10)
        samples.push_back({t, 10 * t - (t > 0 ? 20 : 0), t > 0 ? 20.0 : 0.0});
    for (size_t i = 0; i < afterEnd.size() && 100 + 10.0 * i < cutAtMs; ++i)
        samples.push_back({100 + 10.0 * i, afterEnd[i], 1000 - afterEnd[i]});
    return samples;
}

TEST(MoveResponse, FiguresOfOneMove)
{
    const std::optional<double> none;
    const struct {
        const char* name;
        std::vector<double> afterEnd;
        double cutAtMs;
        std::optional<double> moveTime, settling;
        double overshoot, final;
    } kRows[] = {
        {"clean trapezoid", {1000, 1000, 1000}, 1e9, 100, 0, 0, 0},
        {"overshoot of 12 counts", {990, 1012, 1003, 1000, 1000}, 1e9, 120, 20, 12, 0},
        {"ringing out of the window and back", {990, 1008, 996, 1006, 1002, 1000}, 1e9, 120, 40, 8, 0},
        {"never settles", {990, 1010, 990, 1010}, 1e9, none, none, 10, 10},
        {"cut off before the end", {1000}, 50, none, none, 0, 380 - 1000},
    };
    // The same moves with the board's move status captured: "complete" while
    // the axis stands at the command and again from the end of the profile.
    const auto withStatus = [](std::vector<ResponseSample> samples) {
        for (ResponseSample& s : samples)
            s.moveStatus = s.timeMs == 0 || s.timeMs >= 100 ? 0x01 : 0x00;
        return samples;
    };
    for (const auto& row : kRows) {
        for (const bool status : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (status ? ", move status captured" : ""));
            const auto samples = Capture(row.afterEnd, row.cutAtMs);
            const std::optional<MoveFigures> f = MeasureMove(status ? withStatus(samples) : samples, kMove);
            ASSERT_TRUE(f);
            EXPECT_EQ(f->moveTimeMs, row.moveTime);
            EXPECT_EQ(f->settlingMs, row.settling);
            EXPECT_EQ(f->overshoot, row.overshoot);
            EXPECT_EQ(f->finalError, row.final);
            EXPECT_EQ(f->peakFollowingError, 20);
            EXPECT_EQ(f->rmsFollowingError, 20) << "the samples at constant commanded speed";
        }
    }
    g_resolution[0] = 0.001f;
    EXPECT_FLOAT_EQ(OvershootInUnits({{}, {}, 12, 0, {}, 0}, 0, 1), 0.012f / 25.4f);
}

TEST(MoveResponse, BackAndForthRunSplitsIntoMovesWithMeanAndWorst)
{
    std::vector<ResponseSample> run = Capture({990, 1012, 1003, 1000, 1000});
    for (const ResponseSample& s : Capture({990, 1004, 1000, 1000}))
        run.push_back({s.timeMs + 150, 1000 - s.position, -s.followingError});
    run.push_back({run.back().timeMs + 10, 0, 1000}); // a third move the capture ends in
    const std::vector<MoveSpan> moves = SplitMoves(run, 5);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1].first + moves[1].count, run.size() - 2) << "not the move cut off";
    std::vector<MoveFigures> figures;
    for (const MoveSpan& m : moves)
        figures.push_back(*MeasureMove(std::span(run).subspan(m.first, m.count), m.command));
    const RunFigures r = SummariseRun(figures);
    EXPECT_EQ(r.mean.overshoot, 8);
    EXPECT_EQ(r.worst.overshoot, 12);
    EXPECT_EQ(r.worst.settlingMs, 20);
}

TEST(MoveResponse, BrokenCapturesGiveFiguresOrNoneButNeverFail)
{
    EXPECT_FALSE(MeasureMove({}, kMove));
    EXPECT_EQ(MeasureMove(std::vector<ResponseSample>{{0, 1000, 0}}, kMove)->moveTimeMs, 0);
    std::vector<ResponseSample> broken = Capture({1000, 1000});
    broken.insert(broken.begin() + 3, {5, 9999, 0}); // back in time
    broken.insert(broken.begin() + 5, {45, NAN, 0});
    const std::optional<MoveFigures> f = MeasureMove(broken, kMove);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->overshoot, 0) << "the glitches are left out";
    EXPECT_EQ(SplitMoves(CleanSamples(broken), 5).size(), 1u);
}

} // namespace
