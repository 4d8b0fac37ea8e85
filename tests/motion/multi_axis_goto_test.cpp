// The Multi Axis Goto window as a technician uses it: its fields and
// captions, the coordinated Goto, single-axis gotos, the continuous Fixed and
// Random runs leg after leg, the buttons that end a run, closing it.
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "tests/motion/goto_fixture.h"

#include <algorithm>
#include <cstdio>
#include <regex>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The absolute X..Q targets and the velocity of a logged linear move.
struct LinMove {
    int x, y, z, q, velocity;
};
LinMove ParseLin(const std::string& call)
{
    LinMove m{};
    EXPECT_EQ(std::sscanf(call.c_str(), "AXB_SetAxisPosLin(0,%d,%d,%d,%d,%d)", &m.x, &m.y, &m.z, &m.q, &m.velocity),
              5)
        << call;
    return m;
}

using MultiAxisGoto = GotoBench;

TEST_F(MultiAxisGoto, OpensOnceWithTheTargetsVelocitiesAndCaptionsOfTheUnit)
{
    Press(IDC_MULTI_AXIS_GOTO);
    EXPECT_EQ(g_multiGotoWnd, wnd) << "a second press brings the same window to the top";
    EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 1000u);
    EXPECT_TRUE(IsChecked(wnd, IDC_MAG_FIXED));
    EXPECT_FALSE(IsChecked(wnd, IDC_MAG_RANDOM));

    struct Case {
        int unitMode;
        const char* target;   // X target 12.7 mm
        const char* unit;
    };
    const Case kCases[] = {{kUnitMm, "12.7000", "mm"}, {kUnitInch, "0.50000", "in"}, {kUnitStored, "12.7000", "mm"}};
    const std::pair<int, std::string> kCaptions[] = {{IDC_MAG_POS_CAPTION, "Position"},
                                                     {IDC_MAG_VEL_CAPTION, "Velocity"},
                                                     {IDC_MAG_LAG_CAPTION, "Following Error"},
                                                     {IDC_MAG_MAX_LAG_CAPTION, "Max Following"},
                                                     {IDC_MAG_SET_TARGET, "Set Target"}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.unitMode);
        Click(IDC_MAG_EXIT);
        g_unitMode = c.unitMode;
        g_targetMm[0] = 12.7f;
        g_velPercent[1] = 37.5f;
        Open();
        EXPECT_EQ(Text(IDC_MAG_TARGET_X), c.target);
        EXPECT_EQ(Text(IDC_MAG_VEL_PERCENT_Y), "37.5000");
        EXPECT_EQ(Text(IDC_MAG_MAX_LAG_Q), "0.0000");
        for (const auto& [id, caption] : kCaptions)
            EXPECT_EQ(Text(id), caption + " (" + c.unit + ")");
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
    EXPECT_THAT(LinesStartingWith({"AXB_SetAxisPosLin:"}),
                ElementsAre("AXB_SetAxisPosLin:1520", "AXB_SetAxisPosLin:520", "AXB_SetAxisPosLin:1520"));
    EXPECT_EQ(g_maxFollowing[2], 0);
    EXPECT_EQ(g_multiGotoRunning, 0) << "Goto is no run";
    h.Clock().Advance(3000);
    EXPECT_EQ(AxbSim_PeekPosition(0), 3000);
    EXPECT_EQ(AxbSim_PeekPosition(1), -1500);
}

TEST_F(MultiAxisGoto, VelocityWordsSaturateInsteadOfWrapping)
{
    struct Case {
        const wchar_t* percent;
        const char* setVelocity;   // the X axis's AXB_SetVelocityPercent, or "" when unchanged
        int linVelocity;
    };
    const Case kCases[] = {
        {L"50.9", "AXB_SetVelocityPercent(0,0,5000)=1", 5000},
        {L"700", "AXB_SetVelocityPercent(0,0,65535)=1", 65535},   // not 4464
        {L"700.5", "", 65535},                                     // the whole percent did not change
        {L"-20", "AXB_SetVelocityPercent(0,0,0)=1", 0},
        {L"abc", "", 0},                                           // no number: the value stays
    };
    Target(0, L"1");
    for (const Case& c : kCases) {
        AxbSim_ClearCallLog();
        Type(IDC_MAG_VEL_PERCENT_X, c.percent);
        Click(IDC_MAG_GOTO);
        const auto set = Calls("AXB_SetVelocityPercent(0,0,");
        if (*c.setVelocity)
            EXPECT_THAT(set, ElementsAre(c.setVelocity)) << Narrow(c.percent);
        else
            EXPECT_THAT(set, IsEmpty()) << Narrow(c.percent);
        ASSERT_EQ(Legs().size(), 1u);
        EXPECT_EQ(ParseLin(Legs()[0]).velocity, c.linVelocity) << Narrow(c.percent);
    }
}

TEST_F(MultiAxisGoto, AxisGotoAlternatesAndCopiesTheCurrentAxisTargetToTheMainWindow)
{
    g_logAutoHomeStates = 1;
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
    EXPECT_THAT(LinesStartingWith({"X"}), ElementsAre("X5:SAPA(0,1)", "X5:SAPA(0,1)", "X6:SAPA(0,2)"));
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
    Target(0, L"10");
    Click(IDC_MAG_CONT_GOTO);
    EXPECT_EQ(g_multiGotoRunning, 1);
    TickUntilLegs(5);
    const auto legs = Legs();
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(legs[i], i % 2 ? "AXB_SetAxisPosLin(0,0,0,0,0,10000)=1" : "AXB_SetAxisPosLin(0,10000,0,0,0,10000)=1");
    // One line per leg after the first, numbered from 0, the targets in mm.
    std::vector<std::string> legLines;
    const std::regex leg(R"(\d+,time,\d+,\d+,target,.*)");
    for (const std::string& line : h.Log().Lines())
        if (std::regex_match(line, leg))
            legLines.push_back(line);
    ASSERT_EQ(legLines.size(), 4u);
    const std::regex first(R"(0,time,1000,1000,target,0\.0000,0\.0000,0\.0000,status,0x05,0x05,0x05,probe,0x00,xpos,)"
                           R"((9\.99\d\d|10\.000\d))");
    EXPECT_TRUE(std::regex_match(legLines[0], first)) << legLines[0];
    EXPECT_EQ(legLines[1].rfind("1,time,1000,2000,target,10.0000,0.0000,0.0000,", 0), 0u) << legLines[1];
    EXPECT_EQ(legLines[2].rfind("2,time,1000,3000,target,0.0000,", 0), 0u) << legLines[2];
    EXPECT_EQ(legLines[3].rfind("3,time,1000,4000,target,10.0000,", 0), 0u) << legLines[3];
}

TEST_F(MultiAxisGoto, RunStartsWithAZeroLegWhenXsTargetDidNotChange)
{
    Target(0, L"2");
    Target(1, L"1");
    Click(IDC_MAG_GOTO);   // remembers X 2, Y 1
    Target(1, L"4");
    Click(IDC_MAG_CONT_GOTO);
    ASSERT_EQ(Legs().size(), 2u);
    EXPECT_EQ(Legs()[1], "AXB_SetAxisPosLin(0,0,0,0,0,10000)=1") << "X alone decides at the start";
    TickUntilLegs(3);
    EXPECT_EQ(Legs()[2], "AXB_SetAxisPosLin(0,2000,4000,0,0,10000)=1") << "later legs compare all four";
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

TEST_F(MultiAxisGoto, RandomRunsVisitNewPointsWithinTheTargetsAndGoBackToZeroWhenSet)
{
    for (const bool backToZero : {false, true}) {
        SCOPED_TRACE(backToZero ? "back to zero" : "random only");
        Click(IDC_MAG_EXIT);
        WriteSetting(L"stagetune", L"GotoBackToZero", backToZero ? L"1" : L"0");
        Open();
        Target(0, L"20");
        Target(1, L"-10");
        Target(3, L"5");
        ChooseRandomLegs();
        Forget();
        Click(IDC_MAG_CONT_GOTO);
        TickUntilLegs(6);
        const auto legs = Legs();
        std::vector<int> xs;
        for (size_t i = 0; i < legs.size(); ++i) {
            const LinMove m = ParseLin(legs[i]);
            EXPECT_EQ(m.z, 0) << legs[i];
            // Every completed random leg is followed by one to the zero.
            if (backToZero && i % 2) {
                EXPECT_TRUE(m.x == 0 && m.y == 0 && m.q == 0) << legs[i];
                continue;
            }
            EXPECT_TRUE(m.x > 0 && m.x <= 20000) << legs[i];
            EXPECT_TRUE(m.y <= 0 && m.y >= -10000) << legs[i];
            EXPECT_TRUE(m.q >= 0 && m.q <= 5000) << legs[i];
            xs.push_back(m.x);
        }
        std::sort(xs.begin(), xs.end());
        EXPECT_EQ(std::unique(xs.begin(), xs.end()), xs.end()) << "every leg a new point";
        EXPECT_EQ(g_multiGotoTarget[0], ParseLin(legs.back()).x) << "recorded for a retry";
        EXPECT_EQ(g_multiGotoTarget[1], ParseLin(legs.back()).y);
    }
}

TEST_F(MultiAxisGoto, StopSetHomeAndTheZeroButtonsEndTheRun)
{
    struct Case {
        int button;
        const char* call;   // what the board is told besides
    };
    const Case kCases[] = {
        {IDC_MAG_STOP, "AXB_StopAxis(0,3)=1"},
        {IDC_MAG_SET_HOME, "AXB_ClearEncoderErrors(0,15)=1"},
        {IDC_MAG_ZERO_Y, "AXB_ClearEncoderErrors(0,2)=1"},
        {IDC_MAG_CONT_GOTO, nullptr},   // the button toggles
    };
    Target(0, L"100");
    Target(1, L"50");
    for (const Case& c : kCases) {
        Click(IDC_MAG_CONT_GOTO);
        Tick();
        ASSERT_EQ(g_multiGotoRunning, 1);
        AxbSim_ClearCallLog();
        Click(c.button);
        EXPECT_EQ(g_multiGotoRunning, 0) << c.button;
        if (c.call)
            EXPECT_THAT(Calls(""), Contains(c.call)) << c.button;
        else
            EXPECT_THAT(Calls("AXB_StopAxis("), IsEmpty());
        Tick(30);
        EXPECT_THAT(Legs(), IsEmpty()) << c.button;
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
    struct Case {
        bool exitButton;
        float targetAfter;   // X's target after typing 7 and closing
    };
    const Case kCases[] = {{true, 7.0f}, {false, 0.0f}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.exitButton ? "Exit" : "close box");
        g_targetMm[0] = 0.0f;
        Open();
        Click(IDC_MAG_CONT_GOTO);
        ASSERT_EQ(g_multiGotoRunning, 1);
        Target(0, L"7");
        if (c.exitButton)
            Click(IDC_MAG_EXIT);
        else
            CloseByCloseBox(wnd);
        EXPECT_FALSE(PumpMessages()) << "closing the window posted a quit";
        EXPECT_EQ(g_multiGotoWnd, nullptr);
        EXPECT_FALSE(IsWindow(wnd));
        EXPECT_EQ(h.Clock().TimerPeriod(wnd, 1), 0u);
        EXPECT_EQ(g_multiGotoRunning, 0);
        EXPECT_EQ(g_targetMm[0], c.targetAfter);
        EXPECT_TRUE(IsWindow(main));
    }
    Open();
    EXPECT_EQ(g_multiGotoRunning, 0) << "reopened idle";
}

TEST_F(MultiAxisGoto, TheTraceSettingStartsTheAxisTraceEveryTick)
{
    Click(IDC_MAG_EXIT);
    WriteSetting(L"stagetune", L"CreateZoomLogThread", L"1");
    Forget();
    Open();
    EXPECT_TRUE(g_traceOn);
    Tick(2);
    const auto lines = h.Log().Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0],
              "Time,Target,Actual,Nominal,Lag,V-Soll,V-Ist,Part-V,Part-P,Part-I,Part-D,Base,PID,R-Cnt,Flags,Status,Cnt");
    // The main window traces X every 10 ms while the flag is on; Y and Z
    // come from this window's tick alone.
    const std::regex trace(R"(([YZ])GACV,(\d+),(-?\d+,){13}0x[0-9A-F]{6},0x[0-9A-F]{4},(\d+))");
    std::vector<std::smatch> found;
    for (const std::string& line : lines) {
        std::smatch m;
        if (std::regex_match(line, m, trace))
            found.push_back(m);
    }
    ASSERT_EQ(found.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(found[i][1].str()[0], "YZYZ"[i]);
        EXPECT_EQ(found[i][2], i < 2 ? "1000" : "2000");
        EXPECT_EQ(found[i][4], i < 2 ? "0" : "1") << "the sequence number advances once a tick";
    }
    Click(IDC_MAG_EXIT);
    EXPECT_FALSE(g_traceOn);
}

} // namespace
