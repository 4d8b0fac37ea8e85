// "Home" and "Continuous Home" of the main window: homing through the zoom's
// states from anywhere, with and without a home switch, the home-and-go cycle
// with its line per cycle, the 60-second move timeout, and the start time
// every command records.
#include "core/motion_state.h"
#include "infra/clock.h"
#include "tests/zoom/zoom_fixture.h"

#include <gmock/gmock.h>

#include <regex>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

class MainWindowHome : public ZoomTest {
protected:
    void SetUp() override
    {
        Start();
        ChooseAxis(IDC_AXIS_ZOOM);
    }
    // Main-window ticks until a log line starts with the prefix, at most 20 s.
    void RunUntilLine(const std::string& prefix)
    {
        for (int t = 0; t < 20000 && LinesStartingWith({prefix}).empty(); t += 10)
            h.Clock().Advance(10);
    }
};

// The lines a zoom sequence writes as it passes through these states.
std::vector<std::string> StateLinesThrough(std::vector<int> states)
{
    const char* kNames[] = {"INACTIVE", "SEEKING_HOME", "COMING_OFF_HOME", "", "GOING_TO_ZOOM_START", "SEEKING_HOME2"};
    std::vector<std::string> lines;
    for (size_t i = 0; i < states.size(); ++i) {
        if (i > 0)
            lines.push_back(std::string("Moving from KRV_STATE_ZOOM_") + kNames[states[i - 1]] + " to KRV_STATE_ZOOM_" +
                            kNames[states[i]]);
        lines.push_back("just changed to zoom state:" + std::to_string(states[i]));
    }
    return lines;
}

TEST_F(MainWindowHome, HomeRunsTheZoomsStatesFromAnywhereAndEndsAtCounterZero)
{
    struct Case {
        const char* name;
        const wchar_t* zoomType;
        int32_t start;
        std::string startLine;
        std::vector<std::string> states;
    };
    // The runs onto the switch end between two milliseconds: the simulated
    // board does not start a move away from its lower limit that is commanded
    // in the very millisecond the run onto it ends.
    const Case kCases[] = {
        {"far above", L"0", 60020, "ZoomHomeServo called", StateLinesThrough({1, 2, 4, 5, 0})},
        {"near zero", L"0", 1234, "ZoomHomeServo called", StateLinesThrough({1, 2, 4, 5, 0})},
        {"on the switch", L"0", kZoomTravelMin, "ZoomHomeServo called", StateLinesThrough({2, 4, 5, 0})},
        {"without a switch", L"5", 25000, "ZoomHomeNoLimit called", StateLinesThrough({1, 0})},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        // The program learns the kind of zoom as it starts.
        Start([&] { WriteSetting(L"stagetune", L"ZoomType", c.zoomType); });
        ChooseAxis(IDC_AXIS_ZOOM);
        AxbSim_PlaceAxis(kZoom, c.start);
        g_zoomLogLevel = 1;
        Forget();
        Press(IDC_HOME);
        EXPECT_TRUE(Logged(c.startLine));
        ASSERT_TRUE(RunUntilIdle());
        h.Clock().Advance(10);
        EXPECT_THAT(StateLines(), ElementsAreArray(c.states));
        EXPECT_THAT(Calls("AXB_SeekHome("), ElementsAre("AXB_SeekHome(0,4)=1"));
        EXPECT_TRUE(g_zoomHomed);
        EXPECT_EQ(g_offset[kZoom], 0);
        h.Clock().Advance(100);
        EXPECT_EQ(AxbSim_PeekPosition(kZoom), 0);
    }
}

TEST_F(MainWindowHome, ContinuousHomeHomesGoesToTheTargetAndLogsEachCycle)
{
    AxbSim_PlaceAxis(kZoom, 25000);
    g_targetMm[kZoom] = 0.251f;
    Press(IDC_CONT_HOME);
    EXPECT_EQ(g_contHomeState, kContHomeHoming);
    EXPECT_TRUE(Logged("ZoomHomeServo called"));

    for (int t = 0; t < 20000 && g_contHomeState != kContHomeGoing; t += 10)
        h.Clock().Advance(10);
    ASSERT_EQ(g_contHomeState, kContHomeGoing);
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(502)) << "the target in counts, rounded";

    RunUntilLine("0,Q,");
    const auto cycle = LinesStartingWith({"0,Q,"});
    ASSERT_EQ(cycle.size(), 1u);
    EXPECT_TRUE(std::regex_match(cycle[0], std::regex(R"(0,Q,0,V,50[0-9],Delta,-50[0-9],time,\d+)"))) << cycle[0];
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(-100000));
    EXPECT_EQ(g_zoomState, kZoomSeekingHome);

    RunUntilLine("1,Q,");
    EXPECT_EQ(LinesStartingWith({"1,Q,"}).size(), 1u) << "and round again";

    Press(IDC_CONT_HOME);
    EXPECT_EQ(g_contHomeState, kContHomeOff);
    EXPECT_EQ(g_zoomState, kZoomInactive);
}

TEST_F(MainWindowHome, ContinuousHomeRestartsAMoveThatTakesOverAMinute)
{
    AxbSim_SetAxisStuck(kZoom, 1);
    // The zoom's own timeout would halt the sequence first.
    WriteSetting(L"zoom", L"timeout_ms", L"100000");
    Press(IDC_CONT_HOME);
    Forget();
    h.Clock().Advance(60000);
    EXPECT_THAT(LinesStartingWith({"***Timed out"}), ::testing::IsEmpty());
    h.Clock().Advance(10);
    EXPECT_THAT(LinesStartingWith({"***Timed out"}),
                ElementsAre("***Timed out waiting for goto to complete,pos,0,lag,0"));
    EXPECT_TRUE(Logged("ZoomHomeServo called")) << "homing starts again";
    EXPECT_EQ(g_zoom_start_time, NowMs()) << "and its move is timed from now";
}

} // namespace
