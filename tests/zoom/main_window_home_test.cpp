// "Home" and "Continuous Home" of the main window: homing with and without
// a home switch, the home-and-go cycle with its line per cycle, the
// 60-second move timeout, and the start time every command records.
#include "core/motion_state.h"
#include "infra/clock.h"
#include "infra/settings.h"
#include "tests/zoom/zoom_fixture.h"

#include <gmock/gmock.h>

#include <regex>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

const std::vector<std::string> kHomingWithSwitch = {
    "just changed to zoom state:1",
    "Moving from KRV_STATE_ZOOM_SEEKING_HOME to KRV_STATE_ZOOM_COMING_OFF_HOME",
    "just changed to zoom state:2",
    "Moving from KRV_STATE_ZOOM_COMING_OFF_HOME to KRV_STATE_ZOOM_GOING_TO_ZOOM_START",
    "just changed to zoom state:4",
    "Moving from KRV_STATE_ZOOM_GOING_TO_ZOOM_START to KRV_STATE_ZOOM_SEEKING_HOME2",
    "just changed to zoom state:5",
    "Moving from KRV_STATE_ZOOM_SEEKING_HOME2 to KRV_STATE_ZOOM_INACTIVE",
};
const std::vector<std::string> kHomingWithoutSwitch = {
    "just changed to zoom state:1",
    "Moving from KRV_STATE_ZOOM_SEEKING_HOME to KRV_STATE_ZOOM_INACTIVE",
};

class MainWindowHome : public ZoomFixture, public ::testing::Test {
protected:
    void HomeOnce(const wchar_t* zoomType, const char* startLine, const std::vector<std::string>& states)
    {
        WriteSettingString(L"stagetune", L"ZoomType", zoomType);
        Start();
        SelectZoomAxis();
        AxbSim_PlaceAxis(kZoom, 25000);
        g_zoomLogLevel = 1;
        h.Log().Clear();
        AxbSim_ClearCallLog();
        PressButton(main, IDC_HOME);
        EXPECT_TRUE(h.Log().HasLine(startLine));
        ASSERT_TRUE(RunUntilIdle());
        EXPECT_THAT(StateLines(), ::testing::ElementsAreArray(states));
        EXPECT_THAT(SimCalls(), Contains("AXB_SeekHome(0,4)=1"));
        EXPECT_TRUE(g_zoomHomed);
        h.Clock().Advance(100);
        EXPECT_EQ(AxbSim_PeekPosition(kZoom), 0);
    }
};

TEST_F(MainWindowHome, HomeUsesTheHomeSwitch) { HomeOnce(L"0", "ZoomHomeServo called", kHomingWithSwitch); }

TEST_F(MainWindowHome, HomeWithoutASwitchUsesTheBoardsHomeSearch)
{
    HomeOnce(L"5", "ZoomHomeNoLimit called", kHomingWithoutSwitch);
}

TEST_F(MainWindowHome, ContinuousHomeHomesGoesToTheTargetAndLogsEachCycle)
{
    Start();
    SelectZoomAxis();
    AxbSim_PlaceAxis(kZoom, 25000);
    g_targetMm[kZoom] = 0.251f;
    PressButton(main, IDC_CONT_HOME);
    EXPECT_EQ(g_contHomeState, kContHomeHoming);
    EXPECT_TRUE(h.Log().HasLine("ZoomHomeServo called"));

    for (int t = 0; t < 20000 && g_contHomeState != kContHomeGoing; t += 10)
        h.Clock().Advance(10);
    ASSERT_EQ(g_contHomeState, kContHomeGoing);
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(502)) << "the target in counts, rounded";

    for (int t = 0; t < 20000 && LinesStartingWith({"0,Q,"}).empty(); t += 10)
        h.Clock().Advance(10);
    const auto cycle = LinesStartingWith({"0,Q,"});
    ASSERT_EQ(cycle.size(), 1u);
    EXPECT_TRUE(std::regex_match(cycle[0], std::regex(R"(0,Q,0,V,50[0-9],Delta,-50[0-9],time,\d+)"))) << cycle[0];
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(-100000));
    EXPECT_EQ(g_zoomState, kZoomSeekingHome);

    for (int t = 0; t < 20000 && LinesStartingWith({"1,Q,"}).empty(); t += 10)
        h.Clock().Advance(10);
    EXPECT_EQ(LinesStartingWith({"1,Q,"}).size(), 1u) << "and round again";

    PressButton(main, IDC_CONT_HOME);
    EXPECT_EQ(g_contHomeState, kContHomeOff);
    EXPECT_EQ(g_zoomState, kZoomInactive);
}

TEST_F(MainWindowHome, ContinuousHomeRestartsAMoveThatTakesOverAMinute)
{
    Start();
    SelectZoomAxis();
    AxbSim_SetAxisStuck(kZoom, 1);
    // The zoom's own timeout would halt the sequence first.
    WriteSettingString(L"zoom", L"timeout_ms", L"100000");
    PressButton(main, IDC_CONT_HOME);
    h.Log().Clear();
    h.Clock().Advance(60000);
    EXPECT_TRUE(LinesStartingWith({"***Timed out"}).empty());
    h.Clock().Advance(10);
    EXPECT_THAT(LinesStartingWith({"***Timed out"}),
                ElementsAre("***Timed out waiting for goto to complete,pos,0,lag,0"));
    EXPECT_TRUE(h.Log().HasLine("ZoomHomeServo called")) << "homing starts again";
    EXPECT_EQ(g_zoom_start_time, NowMs()) << "and its move is timed from now";
}

} // namespace
