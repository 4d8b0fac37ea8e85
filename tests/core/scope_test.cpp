// The Scope without a window: which samples a trigger keeps, the capture
// file and its refusals, and where samples and cursors land on the plot.
#include "core/capture_csv.h"
#include "core/scope_plot.h"
#include "core/scope_trigger.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace {

constexpr uint32_t kStartTick = 0xFFFFFF00u;   // the board's tick wraps during the capture

// X position and lag at 1 um per count; X moves from tick moveTick on, its
// lag growing one count per tick.
class Recording : public ::testing::Test {
protected:
    std::vector<ScopeSample> Run(const ScopeTriggerSettings& settings, int moveTick, int ticks)
    {
        recorder.Start({{kAxisX, ScopeQuantity::kPosition, "mm"}, {kAxisX, ScopeQuantity::kFollowingError, "mm"}},
                       {{0.001}, {0.001}}, settings);
        std::vector<ScopeSample> last;
        for (int i = 0; i < ticks; ++i) {
            ScopeAxisReading readings[kAxisCount]{};
            for (ScopeAxisReading& r : readings)
                r.moveStatus = 0x01;
            const bool moving = i >= moveTick && i < moveTick + 50;
            readings[kAxisX] = {i * 10, moving ? i - moveTick : 0, 0, static_cast<uint8_t>(moving ? 0 : 1)};
            if (auto capture = recorder.Tick(kStartTick + 10u * i, readings)) {
                last = *capture;
                ++captures;
            }
        }
        return last;
    }
    ScopeRecorder recorder;
    int captures = 0;
};

TEST_F(Recording, MoveStartTriggerKeepsThePreTriggerShareAndTimesFromTheTrigger)
{
    const auto samples = Run({.mode = ScopeMode::kSingle, .lengthS = 1, .preTriggerPercent = 20}, 300, 500);
    ASSERT_EQ(samples.size(), 100u);
    EXPECT_EQ(samples.front().timeMs, -200);
    EXPECT_EQ(samples[20].timeMs, 0);
    EXPECT_DOUBLE_EQ(samples[20].values[0], 3.0);   // position at the trigger tick
    EXPECT_DOUBLE_EQ(samples[21].values[1], 0.001);
    EXPECT_EQ(samples.back().timeMs, 790);
    EXPECT_EQ(recorder.ZeroTick(), kStartTick + 3000u);
    EXPECT_EQ(recorder.State(), ScopeState::kStopped);
    EXPECT_EQ(recorder.AxesRead(), 0u);   // nothing read once stopped
}

TEST_F(Recording, ArmedEarlyTheCaptureHasWhatPrecededAndNormalArmsAgain)
{
    // Moves start at tick 5 and, Normal, again never: one capture only.
    const auto early = Run({.mode = ScopeMode::kNormal, .lengthS = 1, .preTriggerPercent = 50}, 5, 200);
    EXPECT_EQ(captures, 1);
    ASSERT_EQ(early.size(), 55u);
    EXPECT_EQ(early.front().timeMs, -50);
    EXPECT_EQ(recorder.State(), ScopeState::kArmed);
    EXPECT_EQ(recorder.AxesRead(), AxisBit(kAxisX));
}

TEST_F(Recording, AnAxisAlreadyMovingWhenArmedDoesNotTrigger)
{
    EXPECT_TRUE(Run({.mode = ScopeMode::kSingle, .lengthS = 1}, 0, 400).empty());
}

TEST_F(Recording, LagThresholdTriggersOnItsEdgeAndRollKeepsTheLength)
{
    const auto lag = Run({.kind = ScopeTriggerKind::kFollowingError, .lagThresholdCounts = 7, .lengthS = 1,
                          .preTriggerPercent = 0},
                         100, 300);
    ASSERT_FALSE(lag.empty());
    EXPECT_DOUBLE_EQ(lag.front().values[1], 0.007);
    Run({.mode = ScopeMode::kRoll, .lengthS = 1}, 0, 250);
    const auto rolled = recorder.Samples();
    ASSERT_EQ(rolled.size(), 100u);
    EXPECT_EQ(rolled.front().timeMs, 0);
    EXPECT_DOUBLE_EQ(rolled.front().values[0], 1.5);
}

TEST(ScopeSettings, LengthAndPreTriggerAreHeldInTheirRanges)
{
    EXPECT_EQ(ClampedTrigger({.lengthS = 0, .preTriggerPercent = 80}).lengthS, 1);
    EXPECT_EQ(ClampedTrigger({.lengthS = 61, .preTriggerPercent = -1}).lengthS, 60);
    EXPECT_EQ(ClampedTrigger({.preTriggerPercent = 80}).preTriggerPercent, 50);
    EXPECT_EQ(ClampedTrigger({.preTriggerPercent = -1}).preTriggerPercent, 0);
}

ScopeCapture SmallCapture()
{
    ScopeCapture c{"4.0.0", "12345", "2.4.12.0", "2026-12-07 08:00:00", 4000000000u, {}, {}};
    c.channels = {{kAxisX, ScopeQuantity::kPosition, "mm"},
                  {kAxisZ, ScopeQuantity::kVelocity, "in/s"},
                  {kZoomAxis, ScopeQuantity::kMoveStatus, ""}};
    c.samples = {{-10, {-0.0000004, 1.0 / 3.0, 1, 0}}, {0, {12.345678, -2.5, 0, 0}}, {10, {1e9, 0.1, 129, 0}}};
    return c;
}

TEST(CaptureCsv, SaveLoadSaveGivesTheSameBytes)
{
    const std::string first = WriteCaptureCsv(SmallCapture());
    const auto loaded = ReadCaptureCsv(first);
    ASSERT_TRUE(std::holds_alternative<ScopeCapture>(loaded)) << std::get<CaptureCsvError>(loaded).reason;
    EXPECT_EQ(WriteCaptureCsv(std::get<ScopeCapture>(loaded)), first);
    EXPECT_EQ(first.substr(first.find("channel,Z")), "channel,Z,velocity,in/s\nchannel,Zoom,move status,\n"
                                                     "time (ms),X position (mm),Z velocity (in/s),Zoom move status\n"
                                                     "-10,-0.000000,0.333333,1\n0,12.345678,-2.500000,0\n"
                                                     "10,1000000000.000000,0.100000,129\n");
}

TEST(CaptureCsv, FilesThatAreNoCaptureAreRefusedWithTheirLine)
{
    const std::string good = WriteCaptureCsv(SmallCapture());
    const size_t rows = good.find("-10,");
    std::string many = good;
    for (int i = 0; i < 1000000; ++i)
        many += std::to_string(20 + i) + ",1,1,1\n";
    const struct {
        std::string text;
        int line;
    } kCases[] = {
        {"", 1},
        {"time,X\n", 1},
        {good.substr(0, good.find("serial")), 3},                          // header cut short
        {good.substr(0, rows) + "-10,1,2\n", 11},                          // a missing column
        {good.substr(0, rows) + "-10,1,x,2\n", 11},                        // text in a number
        {good.substr(0, rows) + "-10,1,nan,2\n", 11},
        {good.substr(0, rows) + "0,1,1,1\n0,1,1,1\n", 12},                 // time going back
        {good.substr(0, rows), 11},                                        // no samples
        {many, 11 + 3 + kCaptureCsvMaxRows - 3},                           // 10^6 rows
        {good.substr(0, good.find("time (ms)")) + "time (ms),X\n", 10},     // columns not the channels
    };
    for (const auto& c : kCases) {
        const auto read = ReadCaptureCsv(c.text);
        ASSERT_TRUE(std::holds_alternative<CaptureCsvError>(read)) << c.text.substr(0, 300);
        EXPECT_EQ(std::get<CaptureCsvError>(read).line, c.line) << std::get<CaptureCsvError>(read).reason;
    }
}

TEST(ScopePlot, TimesAndValuesMapToTheRectangleEdgesAndBack)
{
    const PlotRect rect{100, 50, 1001, 201};
    const PlotRange time{-200, 800};
    EXPECT_EQ(TimeToX(-200, time, rect), 100);
    EXPECT_EQ(TimeToX(800, time, rect), 1100);
    EXPECT_EQ(TimeToX(1e12, time, rect), 2100);   // held beyond the edge
    EXPECT_DOUBLE_EQ(XToTime(600, time, rect), 300);
    EXPECT_EQ(ValueToY(2.0, {-2, 2}, rect), 50);
    EXPECT_EQ(ValueToY(-2.0, {-2, 2}, rect), 250);
    EXPECT_EQ(GridStep(1000, 10), 100);
    EXPECT_EQ(GridStep(0.7, 5), 0.2);
    const PlotRange zoomed = ZoomAbout(time, 300, 0.5);
    EXPECT_EQ(zoomed, (PlotRange{50, 550}));
}

TEST(ScopePlot, CursorsReadTheLastSampleAndALongCaptureKeepsItsPeaks)
{
    std::vector<ScopeSample> samples;
    for (int i = 0; i < 6000; ++i)
        samples.push_back({i * 10, {i == 3001 ? 100.0 : 0.0, static_cast<double>(i)}});
    EXPECT_EQ(ValueAt(samples, 1, 25.0), 2.0);
    EXPECT_EQ(ValueAt(samples, 1, -1.0), std::nullopt);
    EXPECT_EQ(ValueAt(samples, 1, 60000.0), std::nullopt);
    const PlotRange time = FitTime(samples);
    const PlotRange values = FitValues(samples, 0, time);
    EXPECT_EQ(values, (PlotRange{-5, 105}));
    std::vector<PlotPoint> line;
    PlotLine(samples, 0, time, values, {0, 0, 1280, 800}, line);
    EXPECT_LE(line.size(), 4u * 1280);
    EXPECT_NE(std::find_if(line.begin(), line.end(), [&](PlotPoint p) { return p.y == ValueToY(100, values, {0, 0, 1280, 800}); }),
              line.end());
}

} // namespace
