// The Joystick dialog as a technician drives it on the simulated board: its
// controls in each firmware generation, Apply, the live display while the
// stick moves, and both calibrations answered through the prompts.
#include "board/joystick_tracking.h"
#include "core/external_outputs.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/user_prompts.h"
#include "joystick/joystick_dialog.h"
#include "sim/board/axbsim.h"
#include "tests/support/other_lock.h"
#include "tests/support/program_test.h"
#include "zoom/zoom.h"

#include <functional>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

void Hold(int axis, uint16_t reading) { AxbSim_SetJoystickAdc(axis, &reading, 1, 1); }

std::string Bytes(int axis)
{
    uint8_t a = 0, b = 0, c = 0;
    AXB_GetJoystickAxis(0, axis, &a, &b, &c);
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
}

class Joystick : public ProgramTest {
protected:
    HWND Open(uint32_t firmware = 0x02060703, bool fiveButtons = false, const std::function<void()>& setUp = {})
    {
        Start([&] {
            AxbSim_SetFirmwareVersion(firmware);
            AxbSim_SetFiveButtonJoystick(fiveButtons);
            if (setUp)
                setUp();
        });
        for (int axis = 0; axis < 3; ++axis)
            AXB_SetJoystickAxis(0, axis, static_cast<uint8_t>(5 + axis), 6, 7);
        Press(IDC_JOYSTICK);
        Forget();
        return g_joystickDlg;
    }
    void Tick(uint32_t ms = 100) { h.Clock().Advance(ms); }
    // Answers each prompt in turn: the script runs while the box is open
    // (the stick moved, time let pass), then the answer.
    void AnswerPrompts(std::vector<std::pair<std::function<void()>, int>> answers)
    {
        InstallMessageBoxAnswer([this, answers, next = size_t{0}](HWND, std::wstring_view text, std::wstring_view caption,
                                                                  UINT) mutable {
            prompts.push_back(Narrow(std::wstring(text)));
            EXPECT_EQ(caption, L"Joystick Calibration");
            if (next == answers.size())
                return ADD_FAILURE() << "unexpected prompt", IDCANCEL;
            auto& [script, answer] = answers[next++];
            if (script)
                script();
            return answer;
        });
    }
    std::vector<std::string> prompts;
};

TEST_F(Joystick, OpensOnceAndEveryWayOfClosingDestroysItWithoutEndingTheProgram)
{
    const std::pair<const char*, std::function<void(HWND)>> ways[] = {
        {"close box", CloseByCloseBox},
        {"Esc", [](HWND dlg) { SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0); }},
        {"Exit", [](HWND dlg) { PressButton(dlg, IDC_JOY_EXIT); }}};
    HWND dlg = Open();
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        Press(IDC_JOYSTICK);
        ASSERT_TRUE(dlg = g_joystickDlg);
        Press(IDC_JOYSTICK);
        EXPECT_EQ(g_joystickDlg, dlg) << "a second press only brings it to the top";
        EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 100u);
        close(dlg);
        EXPECT_FALSE(PumpMessages()) << "no quit message";
        EXPECT_FALSE(IsWindow(dlg));
        EXPECT_EQ(g_joystickDlg, nullptr);
        EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 0u);
    }
    g_externalOutput = 0x20;
    Tick(300);
    EXPECT_THAT(Calls("AXB_SetExternIO("), IsEmpty()) << "a closed dialog no longer drives output 5";
}

TEST_F(Joystick, LiveDisplayFollowsTheSweepTheButtonsAndDrivesOutput5)
{
    HWND dlg = Open(0x02060703, true);
    const uint16_t sweep[] = {40, 1000, 512};
    AxbSim_SetJoystickAdc(0, sweep, 3, 1000);
    std::vector<std::string> seen;
    for (int t = 0; t < 20; ++t) {
        Tick();
        seen.push_back(Text(dlg, IDC_JOY_ADC_X) + "/" + Text(dlg, IDC_JOY_VELOCITY_X));
    }
    EXPECT_EQ(seen[0], "136/-58");
    EXPECT_EQ(seen[4], "520/0") << "within the deadband";
    EXPECT_EQ(seen[9], "1000/76");
    EXPECT_EQ(seen[19], "512/0");
    AxbSim_SetJoystickState(0x12, 0);
    Tick();
    auto image = [&](int id) { return SendDlgItemMessageW(dlg, id, STM_GETIMAGE, IMAGE_BITMAP, 0); };
    EXPECT_EQ(image(IDC_JOY_INDICATOR_2), image(IDC_JOY_INDICATOR_5)) << "pressed";
    EXPECT_NE(image(IDC_JOY_INDICATOR_1), image(IDC_JOY_INDICATOR_2));
    EXPECT_TRUE(IsControlVisible(dlg, IDC_JOY_FUNCTION_5) && !IsControlVisible(dlg, IDC_JOY_BUTTON_FUNCTION_1));

    dlg = Open(0x02060703, false);
    AxbSim_SetJoystickState(0x2A, 0);
    CheckDlgButton(dlg, IDC_JOY_OUTPUT_5, BST_CHECKED);
    Tick();
    EXPECT_FALSE(IsControlVisible(dlg, IDC_JOY_INDICATOR_4) || IsControlVisible(dlg, IDC_JOY_FUNCTION_4));
    EXPECT_NE(image(IDC_JOY_INDICATOR_1), image(IDC_JOY_INDICATOR_2));
    EXPECT_TRUE(IsChecked(dlg, IDC_JOY_BUTTON_FUNCTION_1) && !IsChecked(dlg, IDC_JOY_BUTTON_FUNCTION_2) &&
                IsChecked(dlg, IDC_JOY_BUTTON_FUNCTION_3));
    CheckDlgButton(dlg, IDC_JOY_OUTPUT_5, BST_UNCHECKED);
    Tick();
    EXPECT_THAT(Calls("AXB_SetExternIO("), ElementsAre("AXB_SetExternIO(0,32,0)=1", "AXB_SetExternIO(0,0,0)=1"));
    EXPECT_EQ(LinesStartingWith({"Setting output"}),
              (std::vector<std::string>{"Setting output high SetExternIO:32,&0x20,32",
                                        "Setting output low SetExternIO:0,&0x20,0"}));
    OtherProgramLock other(L"ZEZ_LOCK");
    Forget();
    SendMessageW(dlg, WM_TIMER, IDT_TICK, 0);
    EXPECT_TRUE(Logged("failed to get lock JoystickDialogProc"));
    EXPECT_THAT(Calls("AXB_ReadAdc("), IsEmpty());
}

// The writes in order: X, Y, Z, Q with rate, max, min, centre, deadband,
// then P001. Unlisted codes, hidden options and bits 29, 30 keep their values;
// a field without a number keeps its value.
TEST_F(Joystick, ApplyWritesWhatChangedInOrderAndKeepsWhatItCannotShow)
{
    // Function 7 of button 1, 2 of the hidden button 4, open loop, bits 28..31.
    constexpr uint32_t kStored = 0xF0202007;
    HWND dlg = Open(0x00020400, false, [] { AxbSim_PokeParam(1, kStored); AxbSim_PokeParam(39, 20); });
    EXPECT_EQ(Selected(dlg, IDC_JOY_FUNCTION_1), -1) << "no entry for function 7";
    EXPECT_FALSE(IsControlVisible(dlg, IDC_JOY_THROTTLE) || IsControlVisible(dlg, IDC_JOY_Z_DP));
    TypeText(dlg, IDC_JOY_COARSE_Y, L"80");
    TypeText(dlg, IDC_JOY_FINE_Y, L"10");
    CheckDlgButton(dlg, IDC_JOY_INVERT_Y, BST_CHECKED);
    TypeText(dlg, IDC_JOY_MAX_Y, L"1000");
    TypeText(dlg, IDC_JOY_MIN_Y, L"abc");
    TypeText(dlg, IDC_JOY_DEADBAND_Q, L"12");
    ChooseListItem(dlg, IDC_JOY_EXPO, 2);
    PressButton(dlg, IDC_JOY_APPLY);
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,3,68176)=1", "AXB_SetParam(0,41,1000)=1",
                                                    "AXB_SetParam(0,209,12)=1",
                                                    "AXB_SetParam(0,1," + std::to_string(kStored | 0x30000) + ")=1"));
    Forget();
    PressButton(dlg, IDC_JOY_APPLY);
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

struct Generation {
    uint32_t firmware;
    bool fiveButtons;
    std::vector<int> shown, hidden;
};

TEST_F(Joystick, EachFirmwareGenerationShowsItsOwnControls)
{
    const Generation generations[] = {
        {0x00020200, false, {IDC_JOY_BUTTON_CONFIG_OLD, IDC_JOY_INDICATOR_3, IDC_JOY_BUTTON_FUNCTION_1},
         {IDC_JOY_FUNCTION_1, IDC_JOY_EXPO, IDC_JOY_TWO_AXIS, IDC_JOY_SECOND_1, IDC_JOY_LEVEL_BUTTONS, IDC_JOY_Q_TRACK}},
        {0x00020300, false, {IDC_JOY_FUNCTION_3, IDC_JOY_EXPO, IDC_JOY_TWO_AXIS, IDC_JOY_BUTTON_FUNCTION_3},
         {IDC_JOY_BUTTON_CONFIG_OLD, IDC_JOY_SECOND_1, IDC_JOY_OPEN_LOOP, IDC_JOY_Q_TRACK, IDC_JOY_INDICATOR_4}},
        {0x0002040B, false, {IDC_JOY_SECOND_3, IDC_JOY_OPEN_LOOP, IDC_JOY_Q_TRACK},
         {IDC_JOY_THROTTLE, IDC_JOY_FUNCTION_4}},
        {0x02050201, true, {IDC_JOY_FUNCTION_5, IDC_JOY_SECOND_5, IDC_JOY_INDICATOR_5, IDC_JOY_THROTTLE, IDC_JOY_Z_DP},
         {IDC_JOY_BUTTON_FUNCTION_1, IDC_JOY_BUTTON_CONFIG_OLD}},
    };
    for (const Generation& g : generations) {
        SCOPED_TRACE(g.firmware);
        HWND dlg = Open(g.firmware, g.fiveButtons);
        for (int id : g.shown)
            EXPECT_TRUE(IsControlVisible(dlg, id)) << id;
        for (int id : g.hidden)
            EXPECT_FALSE(IsControlVisible(dlg, id)) << id;
    }
    HWND dlg = Open(0x00020200);
    EXPECT_EQ(ListItems(dlg, IDC_JOY_BUTTON_CONFIG_OLD)[1], "B1:Speed Toggle B2:Z Track      B3:Axis-Lock   ");
    ChooseListItem(dlg, IDC_JOY_BUTTON_CONFIG_OLD, 4);
    PressButton(dlg, IDC_JOY_APPLY);
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,1,4)=1"));
    // No stepper among X..Q: "Open Loop" goes, and with it bit 13.
    dlg = Open(0x02060703, false, [] { AxbSim_PokeParam(184, 2); AxbSim_PokeParam(1, 0x2000); });
    EXPECT_FALSE(IsControlVisible(dlg, IDC_JOY_OPEN_LOOP));
    PressButton(dlg, IDC_JOY_APPLY);
    EXPECT_THAT(Calls("AXB_SetParam(0,1,"), ElementsAre("AXB_SetParam(0,1,0)=1"));
}

class JoystickCalibration : public Joystick {
protected:
    // A sweep X's way, Y held centred at 600 with its enable box cleared.
    void QuickCalibrate(HWND dlg)
    {
        CheckDlgButton(dlg, IDC_JOY_ENABLE_Y, BST_UNCHECKED);
        AnswerPrompts({{[this] {
                            const uint16_t sweep[] = {40, 40, 1000, 1000, 512};
                            AxbSim_SetJoystickAdc(0, sweep, 5, 300);
                            Hold(1, 600);
                            bytesDuringPrompt = Bytes(0);
                            Tick(1500);
                        },
                        IDOK}});
        PressButton(dlg, IDC_JOY_CALIBRATE);
    }
    std::string bytesDuringPrompt;
};

// Tracking is the zoom timer routine's for every zoom: halted or a turret too.
TEST_F(JoystickCalibration, QuickFollowsTheSweepWhileThePromptIsOpenWhateverTheZoomDoes)
{
    for (const bool turret : {false, true}) {
        SCOPED_TRACE(turret ? "turret" : "halted zoom");
        HWND dlg = Open(0x02060703, false, [] { AxbSim_PokeParam(1, 0x00011321); });   // 2 Axis Joystick
        if (turret)
            g_zoomType = 1;
        else
            g_zoomTimerHalted = true;
        QuickCalibrate(dlg);
        EXPECT_EQ(bytesDuringPrompt, "5,0,0");
        EXPECT_EQ(Bytes(0), "5,6,7");
        EXPECT_THAT(Calls("AXB_SetParam("),
                    ElementsAre("AXB_SetParam(0,35,40)=1", "AXB_SetParam(0,36,512)=1", "AXB_SetParam(0,37,1000)=1",
                                "AXB_SetParam(0,39,0)=1", "AXB_SetParam(0,40,600)=1", "AXB_SetParam(0,41,1024)=1",
                                "AXB_SetParam(0,43,0)=1", "AXB_SetParam(0,44,600)=1", "AXB_SetParam(0,45,1024)=1"));
        EXPECT_TRUE(Logged("Max:1000 Min:40 Center:512"));
        EXPECT_EQ(Text(dlg, IDC_JOY_MAX_Z), "1024");
        EXPECT_EQ(g_joy_state, 0);
    }
}

TEST_F(JoystickCalibration, AQuickCalibrationThatSawNoReadingKeepsTheWindows)
{
    HWND dlg = Open();
    AnswerPrompts({{nullptr, IDOK}});
    PressButton(dlg, IDC_JOY_CALIBRATE);
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    EXPECT_TRUE(Logged("Joystick Z axis: no reading was taken, its window stays"));
    EXPECT_EQ(Bytes(2), "7,6,7");
}

// Y falls from its minimum to its maximum; "2 Axis Joystick" asks nothing of Z.
TEST_F(JoystickCalibration, LongSamplesEachHeldPositionAndGivesTheStickBack)
{
    HWND dlg = Open();
    CheckDlgButton(dlg, IDC_JOY_TWO_AXIS, BST_CHECKED);
    auto hold = [](int axis, uint16_t reading) { return [=] { Hold(axis, reading); }; };
    AnswerPrompts({{hold(0, 100), IDOK}, {hold(0, 900), IDOK}, {hold(1, 950), IDOK}, {hold(1, 50), IDOK},
                   {[] { Hold(0, 501); Hold(1, 510); }, IDOK}});
    PressButton(dlg, IDC_JOY_CALIBRATE_LONG);
    ASSERT_EQ(prompts.size(), 5u);
    EXPECT_EQ(prompts[3], "Hold Y axis Joystick at maximum.  Do not release until next prompt. Press OK");
    EXPECT_EQ(prompts[4], "Center Joystick then press OK");
    EXPECT_THAT(Calls("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,35,100)=1", "AXB_SetParam(0,36,501)=1", "AXB_SetParam(0,37,900)=1",
                            "AXB_SetParam(0,39,50)=1", "AXB_SetParam(0,40,510)=1", "AXB_SetParam(0,41,950)=1",
                            "AXB_SetParam(0,43,50)=1", "AXB_SetParam(0,44,510)=1", "AXB_SetParam(0,45,950)=1"));
    EXPECT_EQ(Calls("AXB_ReadAdc(0,3,").size(), 2u * 501 + 501) << "a read a millisecond";
    EXPECT_EQ(Bytes(1), "6,6,7") << "the stick acts again";
    EXPECT_EQ(Text(dlg, IDC_JOY_MIN_Y), "50");
}

TEST_F(JoystickCalibration, CancelAtAnyPromptWritesNothingAndGivesTheStickBack)
{
    HWND dlg = Open();
    std::vector<std::pair<std::function<void()>, int>> answers(6, {nullptr, IDOK});
    answers.push_back({nullptr, IDCANCEL});
    AnswerPrompts(answers);
    PressButton(dlg, IDC_JOY_CALIBRATE_LONG);
    EXPECT_EQ(prompts.size(), 7u) << "Z's prompts too";
    AnswerPrompts({{nullptr, IDCANCEL}});
    PressButton(dlg, IDC_JOY_CALIBRATE);
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    EXPECT_THAT(Calls("AXB_SetJoystickAxis(0,2,"), ElementsAre("AXB_SetJoystickAxis(0,2,7,0,0)=1", "AXB_SetJoystickAxis(0,2,7,6,7)=1",
                                                                 "AXB_SetJoystickAxis(0,2,7,0,0)=1", "AXB_SetJoystickAxis(0,2,7,6,7)=1"));
    EXPECT_EQ(g_joy_state, 0);
}

} // namespace
