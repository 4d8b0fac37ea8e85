// What the goto windows refuse to send: what they do not show, a move under
// a running auto-home, a target beyond the counter, and a field that holds
// no finite number.
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "homing/auto_home.h"
#include "motion/circular_goto.h"
#include "motion/goto_controls.h"
#include "motion/multi_axis_goto.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class GotoGuards : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        Press(IDC_MULTI_AXIS_GOTO);
        wnd = g_multiGotoWnd;
        ASSERT_NE(wnd, nullptr);
        Forget();
    }
    std::vector<std::string> Legs() { return Calls("AXB_SetAxisPosLin("); }

    HWND wnd = nullptr;
};

TEST_F(GotoGuards, TheWindowSendsTheTargetsAndPercentsItShows)
{
    // The window shows X at 5 mm and 100 %; the main window then sets 20 mm
    // and 10 % for X.
    ASSERT_EQ(Text(wnd, IDC_MAG_TARGET_X), "5.0000");
    TypeText(main, IDC_TARGET, L"20");
    TypeText(main, IDC_VEL_PERCENT, L"10");
    Press(IDC_APPLY);
    Forget();
    PressButton(wnd, IDC_MAG_GOTO);
    EXPECT_THAT(Legs(), ElementsAre("AXB_SetAxisPosLin(0,5000,5000,5000,5000,10000)=1"));
    EXPECT_THAT(Calls("AXB_SetVelocityPercent(0,0,"), ElementsAre("AXB_SetVelocityPercent(0,0,10000)=1"));
    // Only Continuous Goto, the axis Gotos and Exit copy a target to the
    // main window's field.
    EXPECT_EQ(Text(main, IDC_TARGET), "20");
    PressButton(wnd, IDC_MAG_GOTO_X);
    EXPECT_EQ(Text(main, IDC_TARGET), "5.0000");
}

TEST_F(GotoGuards, FieldsWithoutAFiniteNumberKeepTheValueShown)
{
    for (const wchar_t* text : {L"nan", L"inf", L"5E55", L"-infinity"}) {
        SCOPED_TRACE(Narrow(text));
        TypeText(wnd, IDC_MAG_TARGET_X, text);
        TypeText(wnd, IDC_MAG_VEL_PERCENT_X, text);
        Forget();
        PressButton(wnd, IDC_MAG_GOTO_X);
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
        TypeText(wnd, IDC_MAG_TARGET_X, L"3000000");
        Forget();
        PressButton(wnd, button);
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

    TypeText(wnd, IDC_MAG_TARGET_X, L"1");
    PressButton(wnd, IDC_MAG_CONT_GOTO);
    ASSERT_EQ(g_multiGotoRunning, 1);
    g_targetMm[0] = 3e6f;
    Forget();
    h.Clock().Advance(5000);
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
        PressButton(wnd, IDC_MAG_GOTO);
        PressButton(wnd, IDC_MAG_CONT_GOTO);
        PressButton(wnd, IDC_MAG_GOTO_Y);
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
    SendDlgItemMessageW(wnd, IDC_MAG_RANDOM, BM_CLICK, 0, 0);
    for (const GotoAxisControls& row : kGotoAxisControls)
        TypeText(wnd, row.target, L"1");
    PressButton(wnd, IDC_MAG_CONT_GOTO);
    ASSERT_EQ(Legs().size(), 1u);
    AxbSim_InjectErrorByte(1, 0x02, 0);
    h.Clock().Advance(1000);
    EXPECT_TRUE(Logged("retry goto on axis 1"));
    EXPECT_EQ(Legs().size(), 2u) << "the retry, and no next leg yet";
}

} // namespace
