// The Touch Probe dialog as a technician uses it on the simulated board: what
// OK writes and configures, what Cancel leaves, the open-loop warning, and
// the tester's probe test with a hit on the board.
#include "core/param_table.h"
#include "infra/settings.h"
#include "probe/touch_probe.h"
#include "sim/board/axbsim.h"
#include "tests/support/other_lock.h"
#include "tests/support/program_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class TouchProbe : public ProgramTest {
protected:
    void StartWithProbeSettings(bool tester, const std::function<void()>& board = {})
    {
        WriteSetting(L"stagetune", L"TouchProbePpoff", L"1");
        WriteSetting(L"stagetune", L"TavRosenTester", tester ? L"1" : L"0");
        Start(board);
    }
};

// Only the typed fields reach the board, after a read of all five in order;
// a second OK with nothing typed writes nothing.
TEST_F(TouchProbe, OkWritesWhatWasTypedAndConfiguresTheProbe)
{
    StartWithProbeSettings(false);
    UINT timerWhileOpen = 1;
    OpenModal(IDC_TOUCH_PROBE, [&](HWND dlg) {
        timerWhileOpen = h.Clock().TimerPeriod(main, IDT_TICK);
        EXPECT_EQ(Text(dlg, IDC_TP_DEBOUNCE) + " " + Text(dlg, IDC_TP_RETRACT_DISTANCE) + " " +
                      Text(dlg, IDC_TP_RETRACT_VELOCITY) + " " + Text(dlg, IDC_TP_DECEL_TIME) + " " +
                      Text(dlg, IDC_TP_DEFLECTION) + " " + Text(dlg, IDC_TP_DEFLECTION_SOURCE),
                  "100 1.00 50.00 0 10.050 x2");
        EXPECT_TRUE(!IsChecked(dlg, IDC_TP_TP200) && IsChecked(dlg, IDC_TP_PPOFF));
        EXPECT_FALSE(IsControlVisible(dlg, IDC_TP_ENABLE) || IsControlVisible(dlg, IDC_TP_ACTIVE));
        CheckDlgButton(dlg, IDC_TP_TP200, BST_CHECKED);
        CheckDlgButton(dlg, IDC_TP_LED_ACTIVE, BST_CHECKED);
        TypeText(dlg, IDC_TP_DEBOUNCE, L"150");
        TypeText(dlg, IDC_TP_RETRACT_DISTANCE, L"1.15");
        PressButton(dlg, IDC_TP_OK);
    });
    EXPECT_EQ(timerWhileOpen, 0u);
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    EXPECT_THAT(Calls("AXB_GetParam("), ElementsAre("AXB_GetParam(0,23,&0)=1", "AXB_GetParam(0,23,&32)=1",
                                                    "AXB_GetParam(0,24,&100)=1", "AXB_GetParam(0,24,&150)=1",
                                                    "AXB_GetParam(0,48,&100)=1", "AXB_GetParam(0,48,&115)=1",
                                                    "AXB_GetParam(0,15,&5000)=1", "AXB_GetParam(0,13,&0)=1"));
    EXPECT_THAT(Calls("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,23,32)=1", "AXB_SetParam(0,24,150)=1", "AXB_SetParam(0,48,115)=1"));
    EXPECT_THAT(Calls("AXB_SetTouchProbe("), ElementsAre("AXB_SetTouchProbe(0,10)=1"));
    EXPECT_THAT(LinesStartingWith({"enableTouchProbe", "SLM", "loc_"}),
                ElementsAre("enableTouchProbe enabled", "SLM 2-7",
                            "loc_enableTouchProbe(true) is calling AXB_SetTouchProbe 10"));
    EXPECT_EQ(GetSettingText(L"stagetune", L"TouchProbeIsTP200"), L"1");

    Forget();
    OpenModal(IDC_TOUCH_PROBE, [&](HWND dlg) { PressButton(dlg, IDC_TP_OK); });
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

// An erased retract word shows whole; Cancel and the close box change nothing
// anywhere, whatever was typed.
TEST_F(TouchProbe, CancelAndTheCloseBoxLeaveEverythingAsItWas)
{
    StartWithProbeSettings(false, [] { AxbSim_PokeParam(48, 0xFFFFFFFF); });
    for (bool closeBox : {false, true}) {
        OpenModal(IDC_TOUCH_PROBE, [&](HWND dlg) {
            EXPECT_EQ(Text(dlg, IDC_TP_RETRACT_DISTANCE), "42949672.95");
            TypeText(dlg, IDC_TP_DEBOUNCE, L"7");
            CheckDlgButton(dlg, IDC_TP_TP200, BST_CHECKED);
            closeBox ? CloseByCloseBox(dlg) : PressButton(dlg, IDCANCEL);
        });
    }
    EXPECT_EQ(SimCalls().size(), 0u);
    EXPECT_EQ(g_param[24], 100u);
    EXPECT_EQ(g_tpIsTP200, 0);
    EXPECT_EQ(GetSettingText(L"stagetune", L"TouchProbeIsTP200"), L"");
}

// A debounce without a number is 0; retract fields without one keep theirs.
TEST_F(TouchProbe, FieldsWithoutANumber)
{
    StartWithProbeSettings(false);
    OpenModal(IDC_TOUCH_PROBE, [&](HWND dlg) {
        for (int id : {IDC_TP_DEBOUNCE, IDC_TP_RETRACT_DISTANCE, IDC_TP_RETRACT_VELOCITY, IDC_TP_DECEL_TIME})
            TypeText(dlg, id, L"abc");
        PressButton(dlg, IDC_TP_OK);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,24,0)=1"));
}

TEST_F(TouchProbe, OpenLoopJoystickWarnsUnlessTheProbeIsDisabled)
{
    StartWithProbeSettings(false, [] { AxbSim_PokeParam(1, 0x2000); });
    h.AnswerNextMessageBox(IDOK);
    for (bool disabled : {false, true}) {
        OpenModal(IDC_TOUCH_PROBE, [&](HWND dlg) {
            CheckDlgButton(dlg, IDC_TP_DISABLED, disabled ? BST_CHECKED : BST_UNCHECKED);
            PressButton(dlg, IDC_TP_OK);
        });
    }
    ASSERT_EQ(h.MessageBoxesSeen().size(), 1u);
    const PromptSeen& box = h.MessageBoxesSeen()[0];
    EXPECT_TRUE(box.caption == L"Warning" && box.type == (MB_OK | MB_ICONEXCLAMATION) &&
                box.text.starts_with(L"We recommend that you do not use open loop joystick"));
}

// Disable and Enable send the flags; a hit is logged once with its
// positions, re-armed, and the lights follow the retract.
TEST_F(TouchProbe, TesterSeesAHitOnceAndTheRetract)
{
    StartWithProbeSettings(true, [] { AxbSim_PlaceAxis(0, 12345); AxbSim_PlaceAxis(2, -2000); });
    WriteSetting(L"stagetune", L"TouchProbeIsTP200", L"1");
    OpenModal(IDC_TOUCH_PROBE, [&](HWND dlg) {
        EXPECT_TRUE(IsControlVisible(dlg, IDC_TP_ENABLE) && IsControlVisible(dlg, IDC_TP_RETRACT_ERROR));
        PressButton(dlg, IDC_TP_DISABLE);
        EXPECT_EQ(AxbSim_TouchProbe(), 0) << "the probe is off";
        PressButton(dlg, IDC_TP_ENABLE);
        CheckDlgButton(dlg, IDC_TP_LOG, BST_CHECKED);
        PressButton(dlg, IDC_TP_LOG);
        h.Clock().Advance(1);
        EXPECT_TRUE(Logged(std::to_string(h.Clock().Now64() & 0xFFFFFFFF) + ",0"));
        EXPECT_EQ(AxbSim_TouchProbe(), 1);
        h.Clock().Advance(1);
        EXPECT_TRUE(IsChecked(dlg, IDC_TP_ACTIVE) && IsChecked(dlg, IDC_TP_RETRACTING));
        h.Clock().Advance(40);   // 1 mm at 50 mm/s took 20 ms
        EXPECT_FALSE(IsChecked(dlg, IDC_TP_ACTIVE) || IsChecked(dlg, IDC_TP_RETRACTING));
        EXPECT_EQ(Text(dlg, IDC_TP_LATCH_STATUS), "0x00");
        PressButton(dlg, IDCANCEL);
    });
    EXPECT_THAT(Calls("AXB_SetTouchProbe("), ElementsAre("AXB_SetTouchProbe(0,11)=1", "AXB_SetTouchProbe(0,10)=1"));
    EXPECT_THAT(Calls("AXB_RearmTouchProbe("), ElementsAre("AXB_RearmTouchProbe(0)=1", "AXB_RearmTouchProbe(0)=1"));
    const std::vector<std::string> hits = LinesStartingWith({"(tp beep)"});
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_TRUE(hits[0].starts_with("(tp beep),0,12.3450,0.0000,-2.0000,12345,0,-2000,")) << hits[0];
    EXPECT_EQ(g_tpHitCount, 1);
}

TEST_F(TouchProbe, NothingReachesTheBoardWhileAnotherProgramHoldsTheLock)
{
    StartWithProbeSettings(true);
    OtherProgramLock other(L"ZEZ_LOCK");
    loc_enableTouchProbe(true);
    EXPECT_FALSE(TouchProbePoll(true));
    EXPECT_TRUE(other.Holds() && SimCalls().empty() && h.Log().Lines().empty());
}

} // namespace
