// The Circular goto window: what it logs and sends for the entered values,
// what it refuses to send, its 10 ms goto tick and closing it. The circle the
// board draws from the call is the simulated board's own test.
#include "core/goto_history.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "motion/circular_goto.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

class CircularGoto : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        Press(IDC_CIRCULAR_GOTO);
        wnd = g_circularGotoWnd;
        ASSERT_NE(wnd, nullptr);
        Forget();
    }
    std::vector<std::string> Circles() { return Calls("AXB_SetAxisPosCircle("); }

    HWND wnd = nullptr;
};

TEST_F(CircularGoto, EnteredValuesBecomeXCountsAndHundredthsOfAPercent)
{
    EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 10u);
    // As it opens: half a circle of 10 mm at full speed.
    PressButton(wnd, IDC_CIRC_GOTO);
    EXPECT_THAT(h.Log().Lines(), ElementsAre("start angle value:0", "end angle buf:180.0,value:180",
                                             "fd:mm:0,0g_resolution[0]:0.0010000000475fdc/gr0:0",
                                             "AXB_SetAxisPosCircle(0,10000(r),0(sa),180(ea),0(lin dist),10000(vel),"
                                             "0.000000(pitch),0.000000(yaw))"));
    EXPECT_THAT(Circles(), ElementsAre("AXB_SetAxisPosCircle(0,10000,0,180,0,10000,0,0)=1"));

    // Y's scale differs: radius and feed are X counts all the same.
    g_param[AxisParam(kParamCountsPerMm, 1)] = 2000;
    RecomputeScales();
    const std::pair<int, const wchar_t*> kFields[] = {
        {IDC_CIRC_VEL_PERCENT, L"12.345"}, {IDC_CIRC_START_ANGLE, L"90"}, {IDC_CIRC_REL_ANGLE, L"-90.5"},
        {IDC_CIRC_RADIUS, L"3"},           {IDC_CIRC_FEED, L"2.5"},       {IDC_CIRC_PITCH, L"30"},
        {IDC_CIRC_YAW, L"45"}};
    for (const auto& [id, text] : kFields)
        TypeText(wnd, id, text);
    Forget();
    PressButton(wnd, IDC_CIRC_GOTO);
    EXPECT_THAT(LinesStartingWith({"AXB_SetAxisPosCircle("}),
                ElementsAre("AXB_SetAxisPosCircle(0,3000(r),90(sa),-90.5(ea),2500(lin dist),1234(vel),"
                            "30.000000(pitch),45.000000(yaw))"));
    EXPECT_THAT(Circles(), ElementsAre(StartsWith("AXB_SetAxisPosCircle(0,3000,90,-90.5,2500,1234,30,45)=")));
}

TEST_F(CircularGoto, NothingIsSentForAFieldWithoutANumberOrAnXWithoutAScale)
{
    const std::tuple<int, const wchar_t*, const char*> kCases[] = {
        {IDC_CIRC_RADIUS, L"", "Circular goto not sent: Radius holds no number"},
        {IDC_CIRC_REL_ANGLE, L"half", "Circular goto not sent: Rel Angle holds no number"},
        {IDC_CIRC_YAW, L"-", "Circular goto not sent: plane yaw holds no number"},
        {IDC_CIRC_VEL_PERCENT, L"fast", "Circular goto not sent: Vel % holds no number"}};
    for (const auto& [id, text, logged] : kCases) {
        Forget();
        TypeText(wnd, id, text);
        PressButton(wnd, IDC_CIRC_GOTO);
        EXPECT_THAT(h.Log().Lines(), ElementsAre(logged));
        TypeText(wnd, id, L"0");
    }
    Forget();
    g_param[AxisParam(kParamCountsPerMm, 0)] = 0;
    RecomputeScales();
    PressButton(wnd, IDC_CIRC_GOTO);
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Circular goto not sent: X has no counts per mm (P058 is 0)"));
    EXPECT_THAT(Circles(), IsEmpty());
}

TEST_F(CircularGoto, ItsTickLogsTheSamplingIntervalAndKeepsTheGotoBookkeeping)
{
    h.Clock().Advance(10);   // the first tick has no earlier one to measure from
    Forget();
    AxbSim_SetExtraLag(2, -300);
    h.Clock().Advance(30);
    EXPECT_THAT(h.Log().Lines(), ElementsAre("  watch_time-g_watch_time_last==10", "  watch_time-g_watch_time_last==10",
                                             "  watch_time-g_watch_time_last==10"));
    EXPECT_EQ(g_maxFollowing[2], -300);
    EXPECT_EQ(GotoHistory[2].At(0).lag, -300);
    EXPECT_EQ(GotoHistory[2].At(0).tick, h.Clock().Now64());
    EXPECT_EQ(GotoHistory[2].At(2).tick, h.Clock().Now64() - 20);

    PressButton(wnd, IDC_CIRC_STOP);
    EXPECT_THAT(Calls("AXB_StopAxis("),
                ElementsAre("AXB_StopAxis(0,0)=1", "AXB_StopAxis(0,1)=1", "AXB_StopAxis(0,2)=1", "AXB_StopAxis(0,3)=1"));
}

TEST_F(CircularGoto, ClosingStopsItsTimerAndTheTraceAndNeverEndsTheProgram)
{
    for (bool exitButton : {true, false}) {
        SCOPED_TRACE(exitButton ? "Exit" : "close box");
        if (!g_circularGotoWnd)
            Press(IDC_CIRCULAR_GOTO);
        wnd = g_circularGotoWnd;
        g_traceOn = true;
        exitButton ? PressButton(wnd, IDC_CIRC_EXIT) : CloseByCloseBox(wnd);
        EXPECT_FALSE(PumpMessages());
        EXPECT_EQ(g_circularGotoWnd, nullptr);
        EXPECT_FALSE(IsWindow(wnd));
        EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 0u);
        EXPECT_FALSE(g_traceOn);
        EXPECT_TRUE(IsWindow(main));
    }
}

} // namespace
