// The Circular goto window: what it logs and sends for the entered values,
// what it refuses to send, its 10 ms goto tick, a circle drawn by the board,
// and closing it.
#include "core/goto_history.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "motion/circular_goto.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>

#include <cmath>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class CircularGoto : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = h.StartProgram();
        PressButton(main, IDC_CIRCULAR_GOTO);
        wnd = g_circularGotoWnd;
        ASSERT_NE(wnd, nullptr);
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }
    // What the window logged, without the sampling-interval lines of its tick.
    std::vector<std::string> Logged()
    {
        std::vector<std::string> lines;
        for (const std::string& line : h.Log().Lines())
            if (line.rfind("  watch_time", 0) != 0)
                lines.push_back(line);
        return lines;
    }
    std::vector<std::string> Circles() { return SimCallsStartingWith("AXB_SetAxisPosCircle("); }

    ProgramHarness h;
    HWND main = nullptr;
    HWND wnd = nullptr;
};

TEST_F(CircularGoto, TheInitialValuesSendAHalfCircleOfTenMillimetres)
{
    EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 10u);
    PressButton(wnd, IDC_CIRC_GOTO);
    EXPECT_THAT(Logged(), ElementsAre("start angle value:0", "end angle buf:180.0,value:180",
                                      "fd:mm:0,0g_resolution[0]:0.0010000000475fdc/gr0:0",
                                      "AXB_SetAxisPosCircle(0,10000(r),0(sa),180(ea),0(lin dist),10000(vel),"
                                      "0.000000(pitch),0.000000(yaw))"));
    EXPECT_THAT(Circles(), ElementsAre("AXB_SetAxisPosCircle(0,10000,0,180,0,10000,0,0)=1"));
}

TEST_F(CircularGoto, EnteredValuesBecomeXCountsAndHundredthsOfAPercent)
{
    // Y's scale differs: radius and feed are X counts all the same.
    g_param[AxisParam(kParamCountsPerMm, 1)] = 2000;
    RecomputeScales();
    struct Case {
        const wchar_t* fields[7];   // vel, start, rel, radius, feed, pitch, yaw
        const char* logged;
        const char* sent;
    };
    const Case kCases[] = {
        {{L"12.345", L"90", L"-90.5", L"3", L"2.5", L"30", L"45"},
         "AXB_SetAxisPosCircle(0,3000(r),90(sa),-90.5(ea),2500(lin dist),1234(vel),30.000000(pitch),45.000000(yaw))",
         "AXB_SetAxisPosCircle(0,3000,90,-90.5,2500,1234,30,45)="},
        {{L"700", L"0", L"360", L"0.0005", L"-1", L"0", L"0"},
         "AXB_SetAxisPosCircle(0,1(r),0(sa),360(ea),-1000(lin dist),65535(vel),0.000000(pitch),0.000000(yaw))",
         "AXB_SetAxisPosCircle(0,1,0,360,-1000,65535,0,0)="},
        {{L"-5", L"0", L"180", L"10", L"0", L"0", L"0"},
         "AXB_SetAxisPosCircle(0,10000(r),0(sa),180(ea),0(lin dist),0(vel),0.000000(pitch),0.000000(yaw))",
         "AXB_SetAxisPosCircle(0,10000,0,180,0,0,0,0)="},
    };
    constexpr int kIds[7] = {IDC_CIRC_VEL_PERCENT, IDC_CIRC_START_ANGLE, IDC_CIRC_REL_ANGLE, IDC_CIRC_RADIUS,
                             IDC_CIRC_FEED, IDC_CIRC_PITCH, IDC_CIRC_YAW};
    for (const Case& c : kCases) {
        h.Log().Clear();
        AxbSim_ClearCallLog();
        for (int i = 0; i < 7; ++i)
            TypeText(wnd, kIds[i], c.fields[i]);
        PressButton(wnd, IDC_CIRC_GOTO);
        const auto lines = Logged();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[3], c.logged);
        ASSERT_EQ(Circles().size(), 1u);
        EXPECT_EQ(Circles()[0].rfind(c.sent, 0), 0u) << Circles()[0];
    }
}

TEST_F(CircularGoto, NothingIsSentForAFieldWithoutANumberOrAnXWithoutAScale)
{
    struct Case {
        int id;
        const wchar_t* text;
        const char* logged;
    };
    const Case kCases[] = {
        {IDC_CIRC_RADIUS, L"", "Circular goto not sent: Radius holds no number"},
        {IDC_CIRC_REL_ANGLE, L"half", "Circular goto not sent: Rel Angle holds no number"},
        {IDC_CIRC_YAW, L"-", "Circular goto not sent: plane yaw holds no number"},
        {IDC_CIRC_VEL_PERCENT, L"fast", "Circular goto not sent: Vel % holds no number"},
    };
    for (const Case& c : kCases) {
        h.Log().Clear();
        TypeText(wnd, c.id, c.text);
        PressButton(wnd, IDC_CIRC_GOTO);
        EXPECT_THAT(Logged(), ElementsAre(c.logged));
        TypeText(wnd, c.id, L"0");
    }
    h.Log().Clear();
    g_param[AxisParam(kParamCountsPerMm, 0)] = 0;
    RecomputeScales();
    PressButton(wnd, IDC_CIRC_GOTO);
    EXPECT_THAT(Logged(), ElementsAre("Circular goto not sent: X has no counts per mm (P058 is 0)"));
    EXPECT_THAT(Circles(), IsEmpty());
}

TEST_F(CircularGoto, ItsTickLogsTheSamplingIntervalAndKeepsTheGotoBookkeeping)
{
    h.Clock().Advance(10);
    h.Log().Clear();
    AxbSim_SetExtraLag(2, -300);
    h.Clock().Advance(30);
    EXPECT_THAT(h.Log().Lines(), ElementsAre("  watch_time-g_watch_time_last==10", "  watch_time-g_watch_time_last==10",
                                             "  watch_time-g_watch_time_last==10"));
    EXPECT_EQ(g_maxFollowing[2], -300);
    EXPECT_EQ(GotoHistory[2].At(0).lag, -300);
    EXPECT_EQ(GotoHistory[2].At(0).tick, h.Clock().Now64());
    EXPECT_EQ(GotoHistory[2].At(2).tick, h.Clock().Now64() - 20);

    PressButton(wnd, IDC_CIRC_STOP);
    EXPECT_THAT(SimCallsStartingWith("AXB_StopAxis("),
                ElementsAre("AXB_StopAxis(0,0)=1", "AXB_StopAxis(0,1)=1", "AXB_StopAxis(0,2)=1", "AXB_StopAxis(0,3)=1"));
}

TEST_F(CircularGoto, TheBoardDrawsACircleOfTheEnteredRadius)
{
    AxbSim_PlaceAxis(0, 100000);
    AxbSim_PlaceAxis(1, 50000);
    TypeText(wnd, IDC_CIRC_VEL_PERCENT, L"20");
    TypeText(wnd, IDC_CIRC_REL_ANGLE, L"360");
    PressButton(wnd, IDC_CIRC_GOTO);
    ASSERT_THAT(Circles(), ElementsAre("AXB_SetAxisPosCircle(0,10000,0,360,0,2000,0,0)=1"));
    // Start angle 0: the centre lies one radius towards -X.
    const double cx = 90000, cy = 50000;
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    // Z is the slowest axis: 20 % of 50 mm/s, some 6.5 s for the turn.
    for (int t = 0; t < 8000; t += 10) {
        h.Clock().Advance(10);
        const double x = AxbSim_PeekPosition(0), y = AxbSim_PeekPosition(1);
        EXPECT_NEAR(std::hypot(x - cx, y - cy), 10000, 30) << "at " << t << " ms: " << x << ", " << y;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    EXPECT_NEAR(minX, 80000, 30);
    EXPECT_NEAR(maxX, 100000, 30);
    EXPECT_NEAR(minY, 40000, 30);
    EXPECT_NEAR(maxY, 60000, 30);
    EXPECT_NEAR(AxbSim_PeekPosition(0), 100000, 5) << "back where it started";
}

TEST_F(CircularGoto, ClosingStopsItsTimerAndTheTraceAndNeverEndsTheProgram)
{
    for (bool exitButton : {true, false}) {
        if (!g_circularGotoWnd)
            PressButton(main, IDC_CIRCULAR_GOTO);
        wnd = g_circularGotoWnd;
        g_traceOn = true;
        if (exitButton)
            PressButton(wnd, IDC_CIRC_EXIT);
        else
            SendMessageW(wnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(PumpMessages());
        EXPECT_EQ(g_circularGotoWnd, nullptr);
        EXPECT_FALSE(IsWindow(wnd));
        EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 0u);
        EXPECT_FALSE(g_traceOn);
        EXPECT_TRUE(IsWindow(main));
    }
}

} // namespace
