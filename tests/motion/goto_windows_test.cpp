// The goto windows as a technician uses them: Multi Axis Goto, its runs and
// what it refuses to send, the Watch window it opens, and Circular goto. What
// the windows work out without a window is the core tests' (goto arithmetic).
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/goto_history.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "homing/auto_home.h"
#include "motion/circular_goto.h"
#include "motion/goto_controls.h"
#include "motion/multi_axis_goto.h"
#include "motion/watch_window.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <regex>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

// Field i of a logged linear move: 0..3 the absolute X..Q targets, 4 the velocity.
int LinField(const std::string& call, int i)
{
    int f[5] = {};
    std::sscanf(call.c_str(), "AXB_SetAxisPosLin(0,%d,%d,%d,%d,%d)", &f[0], &f[1], &f[2], &f[3], &f[4]);
    return f[i];
}

// The program with the window open and X, Y, Z, Q at rest on the user zero,
// so that nothing goes anywhere unless a test asks; the window's one-second
// timer runs when the test lets time pass.
class MultiAxisGoto : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        Open();
        for (const GotoAxisControls& row : kGotoAxisControls) {
            Type(row.target, L"0");
            Type(row.velPercent, L"100");
        }
        Forget();
    }
    void Open()
    {
        Press(IDC_MULTI_AXIS_GOTO);
        wnd = g_multiGotoWnd;
        ASSERT_NE(wnd, nullptr);
    }
    void Type(int id, const std::wstring& text) { TypeText(wnd, id, text); }
    void Target(int axis, const std::wstring& mm) { Type(kGotoAxisControls[axis].target, mm); }
    void Click(int id) { PressButton(wnd, id); }
    void ChooseRandomLegs()
    {
        constexpr int kLegKinds[] = {IDC_MAG_FIXED, IDC_MAG_RANDOM};
        ChooseRadio(wnd, IDC_MAG_RANDOM, kLegKinds);
    }
    void Tick(int seconds = 1) { h.Clock().Advance(1000u * static_cast<uint32_t>(seconds)); }
    using ProgramTest::Text;
    std::string Text(int id) { return Text(wnd, id); }
    std::vector<std::string> Legs() { return Calls("AXB_SetAxisPosLin("); }
    // Ticks until the run has sent n legs, at most a minute.
    void TickUntilLegs(size_t n)
    {
        for (int s = 0; s < 60 && Legs().size() < n; ++s)
            Tick();
        ASSERT_GE(Legs().size(), n);
    }
    // Exit, a setting as the technician would set it, and open again.
    void Reopen(const wchar_t* key, const wchar_t* value)
    {
        Click(IDC_MAG_EXIT);
        WriteSetting(L"stagetune", key, value);
        Forget();
        Open();
    }

    // X and Y on long moves at 50 %.
    void StartRun(bool random)
    {
        Target(0, L"100");
        Target(1, L"80");
        Type(IDC_MAG_VEL_PERCENT_X, L"50");
        if (random)
            ChooseRandomLegs();
        Click(IDC_MAG_CONT_GOTO);
        ASSERT_EQ(g_multiGotoRunning, 1);
    }
    size_t Count(const std::string& prefix) { return LinesStartingWith({prefix}).size(); }

    HWND wnd = nullptr;
};

// The window as it opens, X..Q at 5 mm and 100 %: what a field that cannot be
// read must keep.
class GotoGuards : public MultiAxisGoto {
protected:
    void SetUp() override
    {
        Start();
        Open();
        Forget();
    }
};

TEST_F(GotoGuards, TheWindowSendsTheTargetsAndPercentsItShows)
{
    // The window shows X at 5 mm and 100 %; the main window then sets 20 mm
    // and 10 % for X.
    ASSERT_EQ(Text(IDC_MAG_TARGET_X), "5.0000");
    TypeText(main, IDC_TARGET, L"20");
    TypeText(main, IDC_VEL_PERCENT, L"10");
    Press(IDC_APPLY);
    Forget();
    Click(IDC_MAG_GOTO);
    EXPECT_THAT(Legs(), ElementsAre("AXB_SetAxisPosLin(0,5000,5000,5000,5000,10000)=1"));
    EXPECT_THAT(Calls("AXB_SetVelocityPercent(0,0,"), ElementsAre("AXB_SetVelocityPercent(0,0,10000)=1"));
    // Only Continuous Goto, the axis Gotos and Exit copy a target to the
    // main window's field.
    EXPECT_EQ(Text(main, IDC_TARGET), "20");
    Click(IDC_MAG_GOTO_X);
    EXPECT_EQ(Text(main, IDC_TARGET), "5.0000");
}

TEST_F(GotoGuards, FieldsWithoutAFiniteNumberKeepTheValueShown)
{
    for (const wchar_t* text : {L"nan", L"inf", L"5E55", L"-infinity"}) {
        SCOPED_TRACE(Narrow(text));
        Type(IDC_MAG_TARGET_X, text);
        Type(IDC_MAG_VEL_PERCENT_X, text);
        Forget();
        Click(IDC_MAG_GOTO_X);
        EXPECT_THAT(Calls("AXB_SetAxisPosAbs("), ElementsAre("AXB_SetAxisPosAbs(0,0,5000)=1"));
        EXPECT_THAT(Calls("AXB_SetVelocityPercent("), ::testing::Each("AXB_SetVelocityPercent(0,0,10000)=1"));
        EXPECT_EQ(g_targetMm[0], 5.0f);
        EXPECT_EQ(g_velPercent[0], 100.0f);
        g_lastTargetMm[0] = 0.0f;
    }
}

TEST_F(GotoGuards, ATargetBeyondTheCounterIsRefusedByEveryGoto)
{
    // 3000000 mm at 1000 counts per mm saturates to 2147483647 counts; with
    // the zero 1000 counts on, the sum would wrap to -2147482649.
    g_offset[0] = 1000;
    constexpr char kRefusal[] = "Goto refused: the target 3000000.0000 mm of axis 0 is beyond its counter";
    for (int button : {IDC_MAG_GOTO, IDC_MAG_CONT_GOTO, IDC_MAG_GOTO_X}) {
        SCOPED_TRACE(button);
        Type(IDC_MAG_TARGET_X, L"3000000");
        Forget();
        Click(button);
        EXPECT_THAT(Legs(), IsEmpty());
        EXPECT_THAT(Calls("AXB_SetAxisPosAbs("), IsEmpty());
        EXPECT_TRUE(Logged(kRefusal));
        EXPECT_EQ(g_multiGotoRunning, 0);
    }
    // The main window's Goto and a run already going when the target grows.
    TypeText(main, IDC_TARGET, L"3000000");
    Forget();
    Press(IDC_GOTO);
    EXPECT_THAT(Calls("AXB_SetAxisPosAbs("), IsEmpty());
    EXPECT_TRUE(Logged(kRefusal));

    Type(IDC_MAG_TARGET_X, L"1");
    Click(IDC_MAG_CONT_GOTO);
    ASSERT_EQ(g_multiGotoRunning, 1);
    g_targetMm[0] = 3e6f;
    Forget();
    Tick(5);
    EXPECT_THAT(Legs(), IsEmpty());
    EXPECT_EQ(g_multiGotoRunning, 0);
    EXPECT_TRUE(Logged(kRefusal));

    PressButton(main, IDC_CIRCULAR_GOTO);
    TypeText(g_circularGotoWnd, IDC_CIRC_RADIUS, L"3000000");
    PressButton(g_circularGotoWnd, IDC_CIRC_GOTO);
    EXPECT_THAT(Calls("AXB_SetAxisPosCircle("), IsEmpty());
    EXPECT_TRUE(Logged("Circular goto not sent: the radius or the feed is beyond X's counter"));
}

TEST_F(GotoGuards, NoMoveStartsUnderARunningAutoHome)
{
    krv_user_box_data.autoHomeEnabled[0] = 1;
    krv_user_box_data.zeroingMethod[0] = kZeroLimit;
    PressButton(main, IDC_CIRCULAR_GOTO);
    h.AnswerNextMessageBox(IDOK);
    OnNextModalDialog([&](HWND progress) {
        h.Clock().Advance(100);
        ASSERT_TRUE(IsAutoHomeRunning());
        Forget();
        Click(IDC_MAG_GOTO);
        Click(IDC_MAG_CONT_GOTO);
        Click(IDC_MAG_GOTO_Y);
        PressButton(g_circularGotoWnd, IDC_CIRC_GOTO);
        Press(IDC_GOTO);
        Press(IDC_CONT_GOTO);
        EXPECT_THAT(Legs(), IsEmpty());
        EXPECT_THAT(Calls("AXB_SetAxisPosCircle("), IsEmpty());
        EXPECT_THAT(Calls("AXB_SetAxisPosAbs(0,1,"), IsEmpty());
        EXPECT_THAT(LinesStartingWith({"Multi Axis", "Axis Goto", "Circular goto", "Goto", "Continuous Goto"}),
                    ElementsAre("Multi Axis Goto refused: Auto Home is running (Stop cancels it)",
                                "Multi Axis Continuous Goto refused: Auto Home is running (Stop cancels it)",
                                "Axis Goto refused: Auto Home is running (Stop cancels it)",
                                "Circular goto refused: Auto Home is running (Stop cancels it)",
                                "Goto refused: Auto Home is running (Stop cancels it)",
                                "Continuous Goto refused: Auto Home is running (Stop cancels it)"));
        EXPECT_EQ(g_multiGotoRunning, 0);
        EXPECT_EQ(g_contGotoState, kContGotoOff);
        EXPECT_TRUE(IsAutoHomeRunning()) << "the sweep goes on, with no false end of travel";
        EXPECT_FALSE(g_homeRefFound[0]);
        PressButton(progress, IDC_AUTO_HOME_CANCEL);
    });
    Press(IDC_AUTO_HOME);
}

TEST_F(GotoGuards, ARetryKeepsItsLegOpenInTheTickThatSentIt)
{
    // A short Random leg that every axis but Y finishes within the tick:
    // Y's statuses of that tick, read before the retry, look finished too.
    ChooseRandomLegs();
    for (const GotoAxisControls& row : kGotoAxisControls)
        Type(row.target, L"1");
    Click(IDC_MAG_CONT_GOTO);
    ASSERT_EQ(Legs().size(), 1u);
    AxbSim_InjectErrorByte(1, 0x02, 0);
    Tick();
    EXPECT_TRUE(Logged("retry goto on axis 1"));
    EXPECT_EQ(Legs().size(), 2u) << "the retry, and no next leg yet";
}

TEST_F(MultiAxisGoto, OpensOnceWithTheTargetsVelocitiesAndCaptionsOfTheUnit)
{
    Press(IDC_MULTI_AXIS_GOTO);
    EXPECT_EQ(g_multiGotoWnd, wnd) << "a second press brings the same window to the top";
    EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 1000u);
    EXPECT_TRUE(IsChecked(wnd, IDC_MAG_FIXED));
    const std::pair<int, std::string> kCaptions[] = {
        {IDC_MAG_POS_CAPTION, "Position"},           {IDC_MAG_VEL_CAPTION, "Velocity"},
        {IDC_MAG_LAG_CAPTION, "Following Error"},    {IDC_MAG_MAX_LAG_CAPTION, "Max Following"},
        {IDC_MAG_SET_TARGET, "Set Target"}};
    // X's target is 12.7 mm; As Stored shows millimetres.
    for (const auto& [unitMode, target, unit] : {std::tuple{kUnitMm, "12.7000", " (mm)"},
             std::tuple{kUnitInch, "0.50000", " (in)"}, std::tuple{kUnitStored, "12.7000", " (mm)"}}) {
        SCOPED_TRACE(unit);
        Click(IDC_MAG_EXIT);
        g_unitMode = unitMode;
        g_targetMm[0] = 12.7f;
        g_velPercent[1] = 37.5f;
        Open();
        EXPECT_EQ(Text(IDC_MAG_TARGET_X), target);
        EXPECT_EQ(Text(IDC_MAG_VEL_PERCENT_Y), "37.5000");
        EXPECT_EQ(Text(IDC_MAG_MAX_LAG_Q), "0.0000");
        for (const auto& [id, caption] : kCaptions)
            EXPECT_EQ(Text(id), caption + unit);
    }
}

TEST_F(MultiAxisGoto, GotoMovesTheFourAxesTogetherAndAlternatesWithTheUserZero)
{
    machine_zero_offset[3] = 500;
    g_offset[3] = 20;
    Target(0, L"3");   // 3 / 0.001f would truncate to 2999
    Target(1, L"-1.5");
    Target(3, L"1");
    g_maxFollowing[2] = 99;
    for (int i = 0; i < 3; ++i)
        Click(IDC_MAG_GOTO);
    EXPECT_THAT(Legs(), ElementsAre("AXB_SetAxisPosLin(0,3000,-1500,0,1520,10000)=1",
                                    "AXB_SetAxisPosLin(0,0,0,0,520,10000)=1",
                                    "AXB_SetAxisPosLin(0,3000,-1500,0,1520,10000)=1"));
    EXPECT_EQ(g_maxFollowing[2], 0);
    EXPECT_EQ(g_multiGotoRunning, 0) << "Goto is no run";
}

TEST_F(MultiAxisGoto, VelocityWordsSaturateInsteadOfWrapping)
{
    // The X axis's AXB_SetVelocityPercent ("" when the whole percent did not
    // change), and the velocity of the linear move.
    const std::tuple<const wchar_t*, const char*, int> kCases[] = {
        {L"50.9", "AXB_SetVelocityPercent(0,0,5000)=1", 5000},
        {L"700", "AXB_SetVelocityPercent(0,0,65535)=1", 65535},   // not 4464
        {L"700.5", "", 65535},
        {L"-20", "AXB_SetVelocityPercent(0,0,0)=1", 0},
        {L"abc", "", 0},                                           // no number: the value stays
    };
    Target(0, L"1");
    for (const auto& [percent, setVelocity, linVelocity] : kCases) {
        SCOPED_TRACE(Narrow(percent));
        Forget();
        Type(IDC_MAG_VEL_PERCENT_X, percent);
        Click(IDC_MAG_GOTO);
        EXPECT_EQ(Calls("AXB_SetVelocityPercent(0,0,"),
                  *setVelocity ? std::vector<std::string>{setVelocity} : std::vector<std::string>{});
        ASSERT_EQ(Legs().size(), 1u);
        EXPECT_EQ(LinField(Legs()[0], 4), linVelocity);
    }
}

TEST_F(MultiAxisGoto, AxisGotoAlternatesAndCopiesTheCurrentAxisTargetToTheMainWindow)
{
    g_radio_last = 1;
    machine_zero_offset[1] = 100000001;   // beyond a float's whole counts
    Target(1, L"0.003");
    Click(IDC_MAG_GOTO_Y);
    Click(IDC_MAG_GOTO_Y);
    Target(2, L"-2");
    Click(IDC_MAG_GOTO_Z);
    EXPECT_THAT(Calls("AXB_SetAxisPosAbs("),
                ElementsAre("AXB_SetAxisPosAbs(0,1,100000004)=1", "AXB_SetAxisPosAbs(0,1,100000001)=1",
                            "AXB_SetAxisPosAbs(0,2,-2000)=1"));
    EXPECT_EQ(Text(main, IDC_TARGET), "0.003");
}

TEST_F(MultiAxisGoto, AnUntouchedFieldKeepsItsExactTarget)
{
    // The last goto went to a third of a millimetre, shown as 0.01312 in;
    // reading that back as 0.33325 mm would make the unchanged target a new
    // one instead of alternating with the zero.
    Click(IDC_MAG_EXIT);
    g_targetMm[0] = g_lastTargetMm[0] = 1.0f / 3.0f;
    g_unitMode = kUnitInch;
    Open();
    Click(IDC_MAG_GOTO);
    Click(IDC_MAG_GOTO);
    EXPECT_THAT(Legs(), ElementsAre("AXB_SetAxisPosLin(0,0,0,0,0,10000)=1", "AXB_SetAxisPosLin(0,333,0,0,0,10000)=1"));
    EXPECT_EQ(g_targetMm[0], 1.0f / 3.0f);
}

TEST_F(MultiAxisGoto, FixedRunGoesToTheTargetsAndBackLegAfterLeg)
{
    Target(0, L"2");
    Target(1, L"1");
    Click(IDC_MAG_GOTO);   // remembers X 2, Y 1
    Target(1, L"4");
    Click(IDC_MAG_CONT_GOTO);
    EXPECT_EQ(g_multiGotoRunning, 1);
    TickUntilLegs(5);
    // X alone decides at the start: its target did not change. Later legs compare all four.
    const auto legs = Legs();
    constexpr char kZero[] = "AXB_SetAxisPosLin(0,0,0,0,0,10000)=1";
    constexpr char kThere[] = "AXB_SetAxisPosLin(0,2000,4000,0,0,10000)=1";
    EXPECT_THAT(std::vector(legs.begin() + 1, legs.begin() + 5), ElementsAre(kZero, kThere, kZero, kThere));
    // One line per leg after the first, numbered from 0, with the time of
    // the leg and of the run and the targets in mm.
    const auto lines = LinesStartingWith({"0,time,", "1,time,"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(0,time,1000,1000,target,2\.0000,4\.0000,0\.0000,status,)"
                                                      R"(0x05,0x05,0x05,probe,0x00,xpos,-?0\.000\d)")))
        << lines[0];
    EXPECT_EQ(lines[1].rfind("1,time,1000,2000,target,0.0000,0.0000,0.0000,", 0), 0u) << lines[1];
}

TEST_F(MultiAxisGoto, TheNextLegWaitsForEveryActiveAxis)
{
    Target(0, L"1");
    Target(1, L"150");   // at 10 %: 10 mm/s, some 15 s
    Type(IDC_MAG_VEL_PERCENT_X, L"10");
    Click(IDC_MAG_CONT_GOTO);
    Tick(5);
    EXPECT_EQ(Legs().size(), 1u) << "Y is still on its way";
    TickUntilLegs(2);
    EXPECT_NEAR(AxbSim_PeekPosition(1), 150000, 20);
    EXPECT_EQ(Legs()[1], "AXB_SetAxisPosLin(0,0,0,0,0,1000)=1");
}

TEST_F(MultiAxisGoto, RandomRunsVisitNewPointsAndGoBackToZeroWhenSet)
{
    for (const bool backToZero : {false, true}) {
        SCOPED_TRACE(backToZero ? "back to zero" : "random only");
        Reopen(L"GotoBackToZero", backToZero ? L"1" : L"0");
        Target(0, L"20");
        ChooseRandomLegs();
        Click(IDC_MAG_CONT_GOTO);
        TickUntilLegs(6);
        const auto legs = Legs();
        std::vector<int> points;
        // With the setting, every completed random leg is followed by one to the zero.
        for (size_t i = 0; i < legs.size(); ++i) {
            if (backToZero && i % 2)
                EXPECT_EQ(LinField(legs[i], 0), 0) << legs[i];
            else
                points.push_back(LinField(legs[i], 0));
        }
        std::sort(points.begin(), points.end());
        EXPECT_EQ(std::unique(points.begin(), points.end()), points.end()) << "every leg a new point";
        EXPECT_EQ(g_multiGotoTarget[0], LinField(legs.back(), 0)) << "recorded for a retry";
    }
}

TEST_F(MultiAxisGoto, StopSetHomeAndTheZeroButtonsEndTheRun)
{
    // What the board is told besides; the run's own button toggles it off.
    const std::pair<int, const char*> kCases[] = {
        {IDC_MAG_STOP, "AXB_StopAxis(0,3)=1"}, {IDC_MAG_SET_HOME, "AXB_ClearEncoderErrors(0,15)=1"},
        {IDC_MAG_ZERO_Y, "AXB_ClearEncoderErrors(0,2)=1"}, {IDC_MAG_CONT_GOTO, nullptr}};
    Target(0, L"100");
    Target(1, L"50");
    for (const auto& [button, call] : kCases) {
        SCOPED_TRACE(button);
        Click(IDC_MAG_CONT_GOTO);
        Tick();
        ASSERT_EQ(g_multiGotoRunning, 1);
        Forget();
        Click(button);
        EXPECT_EQ(g_multiGotoRunning, 0);
        if (call) {
            EXPECT_THAT(Calls(""), ::testing::Contains(call));
        } else {
            EXPECT_THAT(Calls("AXB_StopAxis("), IsEmpty());
        }
        Tick(30);
        EXPECT_THAT(Legs(), IsEmpty());
        Click(IDC_MAG_STOP);
        h.Clock().Advance(3000);
    }
}

TEST_F(MultiAxisGoto, SetTargetTakesWhereTheAxesStand)
{
    AxbSim_PlaceAxis(0, 12345);
    AxbSim_PlaceAxis(2, -2540);
    g_offset[0] = 345;
    g_unitMode = kUnitInch;
    Click(IDC_MAG_SET_TARGET);
    EXPECT_FLOAT_EQ(g_targetMm[0], 12.0f);
    EXPECT_EQ(Text(IDC_MAG_TARGET_X), "0.47244");
    EXPECT_EQ(Text(IDC_MAG_TARGET_Z), "-0.10000");
}

TEST_F(MultiAxisGoto, ClosingStopsTheRunAndTheTimerAndNeverEndsTheProgram)
{
    // Exit keeps the targets typed, the close box does not.
    for (const auto& [exitButton, targetAfter] : {std::pair{true, 7.0f}, std::pair{false, 0.0f}}) {
        SCOPED_TRACE(exitButton ? "Exit" : "close box");
        g_targetMm[0] = 0.0f;
        Open();
        Click(IDC_MAG_CONT_GOTO);
        ASSERT_EQ(g_multiGotoRunning, 1);
        Target(0, L"7");
        exitButton ? Click(IDC_MAG_EXIT) : CloseByCloseBox(wnd);
        EXPECT_FALSE(PumpMessages()) << "closing the window posted a quit";
        EXPECT_EQ(g_multiGotoWnd, nullptr);
        EXPECT_FALSE(IsWindow(wnd));
        EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 0u);
        EXPECT_EQ(g_multiGotoRunning, 0);
        EXPECT_EQ(g_targetMm[0], targetAfter);
        EXPECT_TRUE(IsWindow(main));
    }
    Open();
    EXPECT_EQ(g_multiGotoRunning, 0) << "reopened idle";
}

TEST_F(MultiAxisGoto, TheTraceSettingStartsTheAxisTraceEveryTick)
{
    Reopen(L"CreateZoomLogThread", L"1");
    EXPECT_TRUE(g_traceOn);
    Tick(2);
    // The header first; the main window traces X every 10 ms while the flag
    // is on, Y and Z come from this window's tick alone, once a second.
    const auto lines = LinesStartingWith({"Time,", "YGACV,", "ZGACV,"});
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Time,Target,Actual,Nominal,Lag,V-Soll,V-Ist,Part-V,Part-P,Part-I,Part-D,Base,PID,R-Cnt,"
                        "Flags,Status,Cnt");
    const std::regex trace(R"(([YZ])GACV,(\d+),(-?\d+,){13}0x[0-9A-F]{6},0x[0-9A-F]{4},(\d+))");
    for (int i = 0; i < 4; ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[i + 1], m, trace)) << lines[i + 1];
        EXPECT_EQ(m[1], i % 2 ? "Z" : "Y");
        EXPECT_EQ(m[2], i < 2 ? "1000" : "2000");
        EXPECT_EQ(m[4], i < 2 ? "0" : "1") << "the sequence number advances once a tick";
    }
    Click(IDC_MAG_EXIT);
    EXPECT_FALSE(g_traceOn);
}

using GotoErrors = MultiAxisGoto;

TEST_F(GotoErrors, ErrorsOtherThanAReportedLagInARandomRunStopTheRunWithoutARetry)
{
    // Random legs or not, the error bits of X or (axis -1) of the system, the
    // stop line where it is checked.
    const std::tuple<bool, int, uint8_t, const char*> kCases[] = {
        {false, 0, 0x02, "Goto Stopped because axis 0 has error 2"}, {true, 0, 0x04, nullptr}, {true, 0, 0x03, nullptr},
        {false, -1, 0x04, "Goto Stopped because of system error error 4"}};
    for (const auto& [random, axis, bits, stopLine] : kCases) {
        SCOPED_TRACE(std::to_string(axis) + " " + std::to_string(bits));
        Forget();
        StartRun(random);
        if (axis < 0)
            AxbSim_SetSystemStatus(bits);
        else
            AxbSim_InjectErrorByte(axis, bits, 0);
        Tick();
        EXPECT_EQ(g_multiGotoRunning, 0);
        if (stopLine) {
            EXPECT_THAT(LinesStartingWith({"Goto Stopped"}), ElementsAre(stopLine));
        }
        EXPECT_EQ(Count("retry"), 0u);
        Tick(5);
        EXPECT_EQ(Legs().size(), 1u);
        Click(IDC_MAG_STOP);
    }
    EXPECT_EQ(Text(IDC_MAG_SYSTEM), "0x04");
}

TEST_F(GotoErrors, ARetryInTheFirstRandomLegSendsThisRunsTargets)
{
    StartRun(true);
    TickUntilLegs(3);
    Click(IDC_MAG_CONT_GOTO);   // the earlier run ends with its targets recorded
    Tick(10);
    Forget();
    Click(IDC_MAG_CONT_GOTO);
    ASSERT_EQ(Legs().size(), 1u);
    const std::string first = Legs()[0];
    AxbSim_InjectErrorByte(1, 0x02, 0);   // cleared by the next motion command
    Tick();
    // In this order: the stop, the axis's last 20 samples, the error, the retry.
    const auto lines = h.Log().Lines();
    ASSERT_GE(lines.size(), 24u);
    EXPECT_EQ(lines[0], "Goto Stopped because axis 1 has error 2");
    EXPECT_EQ(lines[1], "Logging past 20 lag values and pos values and target values");
    EXPECT_TRUE(std::all_of(&lines[2], &lines[22], [](const std::string& l) { return l.rfind("lag,", 0) == 0; }));
    EXPECT_TRUE(std::regex_match(lines[22], std::regex("reported following error:axis,1,pos,-?\\d+,target," +
                                                      std::to_string(g_multiGotoTarget[1]) +
                                                      ",status,0[0-9A-F],error,02,lag,-?\\d+,sytem_status,00")))
        << lines[22];
    EXPECT_EQ(lines[23], "retry goto on axis 1");
    EXPECT_THAT(Legs(), ElementsAre(first, first.substr(0, first.rfind(',') + 1) + "10000)=1")) << "at full speed";
    EXPECT_EQ(g_multiGotoRunning, 1);

    Forget();
    AxbSim_InjectErrorByte(1, 0x02, 0);
    Tick();
    EXPECT_THAT(LinesStartingWith({"Goto Stopped"}), ElementsAre("Goto Stopped because axis 1 has error 2"));
    EXPECT_EQ(Count("retry"), 0u) << "one retry per leg";
    EXPECT_EQ(g_multiGotoRunning, 0);
}

TEST_F(GotoErrors, EachAxisIsJudgedByItsOwnFollowingErrorLimit)
{
    for (const auto& [axis, limit] : {std::pair{0, 500u}, std::pair{2, 2000u}}) {
        g_param[AxisParam(66, axis)] = limit;
        AxbSim_PokeParam(AxisParam(66, axis), limit);
    }
    // Lags the board does not report: Y beyond its 500, Q beyond its 500 the
    // other way; Z's is within its own 2000, though X's limit is 500.
    const std::tuple<int, int32_t, bool> kLags[] = {{1, 600, true}, {2, 800, false}, {3, -501, true}};
    for (const auto& [axis, lag, counted] : kLags)
        AxbSim_SetExtraLag(axis, lag);
    Target(0, L"100");   // at 10 %: about 10 s, the leg stays open
    Type(IDC_MAG_VEL_PERCENT_X, L"10");
    Click(IDC_MAG_CONT_GOTO);
    for (int tick = 1; tick <= 7; ++tick) {
        Tick();
        for (const auto& [axis, lag, counted] : kLags)
            EXPECT_EQ(g_lagOverLimitCount[axis], counted ? tick : 0) << "axis " << axis << ", tick " << tick;
        // Each lagging axis's history once, at the fifth tick.
        EXPECT_EQ(Count("Logging past"), tick < 5 ? 0u : 2u) << "tick " << tick;
    }
    EXPECT_EQ(Legs().size(), 1u) << "X is still on its way";
    const auto lines = h.Log().Lines();
    const auto dump = std::ranges::find(lines, "Logging past 20 lag values and pos values and target values");
    ASSERT_GE(lines.end() - dump, 21);
    // Y's first, oldest first: fifteen empty samples, then the five ticks of
    // this leg, at rest and ended but outside the target window (bit 3).
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(dump[i], "lag,0,pos,0,target,0,status,0,error,0,time,0");
    for (int i = 16; i <= 20; ++i)
        EXPECT_TRUE(std::regex_match(dump[i], std::regex(R"(lag,600,pos,-600,target,0,status,13,error,0,time,\d+)")))
            << dump[i];
    EXPECT_EQ(Count("Unreported"), 0u) << "not before the leg ends";

    TickUntilLegs(2);
    EXPECT_THAT(LinesStartingWith({"Unreported"}),
                ElementsAre("Unreported following error:axis,1,pos,-600,target,0,status,0D,error,00,lag,600,"
                            "sytem_status,00",
                            StartsWith("Unreported following error:axis,3,")));
    EXPECT_EQ(g_lagOverLimitCount[1], 0);
}

// The process's live GDI objects, from the handle table the system shares with
// the process (laid out alike on Windows and Wine): Wine lacks GetGuiResources.
int GdiObjectCount()
{
    struct Entry { uint64_t object; uint16_t processId, count, upper, type; uint64_t user; };
    constexpr size_t kGdiSharedHandleTable = 0xF8;   // in the 64-bit PEB, of 0x10000 entries
    PROCESS_BASIC_INFORMATION process{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const uint8_t*>(process.PebBaseAddress);
    const auto* table = *reinterpret_cast<const Entry* const*>(peb + kGdiSharedHandleTable);
    if (!table)
        return -1;
    int live = 0;
    for (int i = 0; i < 0x10000; ++i)
        live += table[i].object != 0 && (table[i].type & 0x7F) != 0;
    return live;
}

class WatchWindow : public MultiAxisGoto {
protected:
    void SetUp() override
    {
        MultiAxisGoto::SetUp();
        Click(IDC_MAG_WATCH);
        watch = g_watchWnd;
        ASSERT_NE(watch, nullptr);
    }
    // The client area of this size.
    void Resize(int width, int height)
    {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(watch, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(watch, GWL_EXSTYLE)));
        SetWindowPos(watch, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    int FontHeight()
    {
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(SendDlgItemMessageW(watch, IDC_WATCH_X, WM_GETFONT, 0, 0));
        return GetObjectW(handle, sizeof font, &font) ? font.lfHeight : 0;
    }

    HWND watch = nullptr;
};

TEST_F(WatchWindow, ShowsTheChosenQuantityOfXYAndZFromTheNextTick)
{
    Click(IDC_MAG_WATCH);
    EXPECT_EQ(g_watchWnd, watch) << "one Watch window at a time";
    EXPECT_EQ(h.Clock().TimerPeriod(watch, 1), 100u);
    EXPECT_THAT(ListItems(watch, IDC_WATCH_SELECT),
                ElementsAre("lag", "lag max", "pos", "status", "error", "joystick"));
    EXPECT_EQ(Selected(watch, IDC_WATCH_SELECT), 0);

    g_unitMode = kUnitInch;
    AxbSim_SetExtraLag(0, 254);
    AxbSim_InjectErrorByte(1, 0x04, 1);
    AxbSim_PlaceAxis(2, -2540);
    g_maxFollowing[1] = -508;
    const std::pair<int, std::vector<std::string>> kCases[] = {
        {0, {"0.01000", "0.00000", "0.00000"}},    // 254 counts at 0.001 mm
        {1, {"0.01000", "-0.02000", "0.00000"}},   // the main window keeps X's maximum
        {2, {"-0.01000", "0.00000", "-0.10000"}},  // X trails its zero by the lag
        {3, {"0x0D", "0x05", "0x05"}},             // X's lag is outside its target window
        {4, {"0x00", "0x04", "0x00"}},
        {5, {"0x02", "0x00", "0x00"}},             // P001 bits 4..7
    };
    for (const auto& [index, shown] : kCases) {
        ChooseListItem(watch, IDC_WATCH_SELECT, index);
        h.Clock().Advance(100);
        EXPECT_EQ((std::vector{Text(watch, IDC_WATCH_X), Text(watch, IDC_WATCH_Y), Text(watch, IDC_WATCH_Z)}), shown)
            << "quantity " << index;
    }
}

TEST_F(WatchWindow, ResizingAHundredTimesLeavesNoFontBehind)
{
    // The digits grow with the window (which font fits is the layout's own test).
    Resize(300, 400);
    const int small = FontHeight();
    Resize(1200, 400);
    EXPECT_GT(FontHeight(), small);
    Resize(500, 300);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 100; ++i)
        Resize(300 + 7 * i, 200 + 3 * i);
    Resize(500, 300);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(WatchWindow, OkAndTheCloseBoxCloseItWithoutEndingTheProgram)
{
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "OK");
        if (closeBox)
            SendMessageW(watch, WM_CLOSE, 0, 0);
        else
            PressButton(watch, IDC_WATCH_OK);
        EXPECT_FALSE(PumpMessages());
        EXPECT_EQ(g_watchWnd, nullptr);
        EXPECT_FALSE(IsWindow(watch));
        EXPECT_EQ(h.Clock().TimerPeriod(watch, 1), 0u);
        EXPECT_TRUE(IsWindow(wnd));
        Click(IDC_MAG_WATCH);
        ASSERT_NE(g_watchWnd, nullptr);
        watch = g_watchWnd;
    }
}

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
    EXPECT_THAT(Circles(), ElementsAre("AXB_SetAxisPosCircle(0,10000,0,180,0,10000,0,0)=1"));

    const std::pair<int, const wchar_t*> kFields[] = {
        {IDC_CIRC_VEL_PERCENT, L"12.345"}, {IDC_CIRC_START_ANGLE, L"90"}, {IDC_CIRC_REL_ANGLE, L"-90.5"},
        {IDC_CIRC_RADIUS, L"3"},           {IDC_CIRC_FEED, L"2.5"},       {IDC_CIRC_PITCH, L"30"},
        {IDC_CIRC_YAW, L"45"}};
    for (const auto& [id, text] : kFields)
        TypeText(wnd, id, text);
    Forget();
    PressButton(wnd, IDC_CIRC_GOTO);
    EXPECT_THAT(Circles(), ElementsAre(StartsWith("AXB_SetAxisPosCircle(0,3000,90,-90.5,2500,1234,30,45)=")));
}

TEST_F(CircularGoto, NothingIsSentForAFieldWithoutANumberOrAnXWithoutAScale)
{
    const std::tuple<int, const wchar_t*, const char*> kCases[] = {
        {IDC_CIRC_RADIUS, L"", "Circular goto not sent: Radius holds no number"},
        {IDC_CIRC_YAW, L"-", "Circular goto not sent: plane yaw holds no number"}};
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
    EXPECT_EQ(h.Log().Lines(), std::vector<std::string>(3, "  watch_time-g_watch_time_last==10"));
    EXPECT_EQ(g_maxFollowing[2], -300);
    EXPECT_EQ(GotoHistory[2].At(0).lag, -300);
    EXPECT_EQ(GotoHistory[2].At(0).tick, h.Clock().Now64());
    EXPECT_EQ(GotoHistory[2].At(2).tick, h.Clock().Now64() - 20);

    PressButton(wnd, IDC_CIRC_STOP);
    EXPECT_THAT(Calls("AXB_StopAxis("), ElementsAre("AXB_StopAxis(0,0)=1", "AXB_StopAxis(0,1)=1",
                                                    "AXB_StopAxis(0,2)=1", "AXB_StopAxis(0,3)=1"));
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
