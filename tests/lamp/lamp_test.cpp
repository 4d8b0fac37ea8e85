// The Lamp Dialog as a technician drives it, with the lamps on the board's
// outputs or on the serial lamp box. The box is reached over a real COM port:
// COM2 of the tests' Wine prefix leads to the pseudo-terminal of a stand-in.
#include "core/auto_home_state.h"
#include "core/external_outputs.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "infra/settings.h"
#include "lamp/lamp_box.h"
#include "lamp/lamp_channels.h"
#include "lamp/lamp_dialog.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/lamp_box_stand_in.h"
#include "tests/support/program_test.h"
#include "tests/support/sim_flash.h"

#include <commctrl.h>

using namespace ::testing;

namespace {

constexpr int kSliders[10] = {IDC_LAMP_SLIDER_1, IDC_LAMP_SLIDER_2, IDC_LAMP_SLIDER_3, IDC_LAMP_SLIDER_4,
                                     IDC_LAMP_SLIDER_5, IDC_LAMP_SLIDER_6, IDC_LAMP_SLIDER_7, IDC_LAMP_SLIDER_8,
                                     IDC_LAMP_SLIDER_9, IDC_LAMP_SLIDER_10};
constexpr int kFields[10] = {IDC_LAMP_LEVEL_1, IDC_LAMP_LEVEL_2, IDC_LAMP_LEVEL_3, IDC_LAMP_LEVEL_4,
                                    IDC_LAMP_LEVEL_5, IDC_LAMP_LEVEL_6, IDC_LAMP_LEVEL_7, IDC_LAMP_LEVEL_8,
                                    IDC_LAMP_LEVEL_9, IDC_LAMP_LEVEL_10};
constexpr int kSwitchBoxes[4] = {IDC_LAMP_SWITCH_1, IDC_LAMP_SWITCH_2, IDC_LAMP_SWITCH_3, IDC_LAMP_SWITCH_4};

// Program sleeps take real time too (the virtual clock still moves by them
// and still fires the timers), so that the lamp box stand-in, which stamps
// what it receives with its own clock, sees the program's spacing.
class SleepingClock final : public ClockSource {
public:
    explicit SleepingClock(VirtualClock& clock) : clock_(clock) { InstallClock(this); }
    ~SleepingClock() override { InstallClock(&clock_); }

    uint64_t Now64() override { return clock_.Now64(); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); clock_.Sleep(ms); }
    void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs) override { clock_.StartTimer(wnd, id, periodMs); }
    void StopTimer(HWND wnd, UINT_PTR id) override { clock_.StopTimer(wnd, id); }

private:
    VirtualClock& clock_;
};

class LampTest : public ProgramTest {
protected:
    // The machine's lamps on the serial box ("Lamp RS232" in the board's
    // flash record) or on the board's outputs.
    void StartWithLamps(bool serialBox)
    {
        Start([serialBox] { WriteItemToSimFlash(1096, {.byteValue = static_cast<uint8_t>(serialBox ? 2 : 0)}); });
    }
    HWND OpenDialog() { Press(IDC_LAMP); return g_lampDlg; }
    void Tick() { h.Clock().Advance(5); }   // the dialog's timer
    // Each move of the technician's, then one tick of the dialog's timer.
    void MoveSlider(HWND dialog, int channel, int level)
    {
        SendDlgItemMessageW(dialog, kSliders[channel], TBM_SETPOS, TRUE, level);
        Tick();
    }
    void TypeLevel(HWND dialog, int channel, const wchar_t* text) { TypeText(dialog, kFields[channel], text); Tick(); }
    void SetBox(HWND dialog, int id, bool checked) { CheckDlgButton(dialog, id, checked); Tick(); }
    static int SliderPosition(HWND dialog, int channel)
    {
        return static_cast<int>(SendDlgItemMessageW(dialog, kSliders[channel], TBM_GETPOS, 0, 0));
    }

    SleepingClock clock{h.Clock()};
};


class LampDialog : public LampTest {
protected:
    HWND OpenOnBoard()
    {
        StartWithLamps(false);
        HWND dialog = OpenDialog();
        Forget();
        return dialog;
    }
    std::vector<std::string> LampCalls()
    {
        auto calls = SimCalls();
        std::erase_if(calls, [](auto& c) { return !c.starts_with("AXB_SetLampLevel(") && !c.starts_with("AXB_SetExternIO("); });
        return calls;
    }
};

// One dialog at a time; its levels outlive it and are applied again at the
// next opening. A Z-track channel on any axis but Q is none.
TEST_F(LampDialog, OpensWithEightBoardChannelsAndAppliesEveryLevel)
{
    WriteSetting(L"Lights", L"ZTracChannel", L"x1");
    StartWithLamps(false);
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(g_ztrack_pos, kZTrackUnset);
    std::vector<std::string> opening;
    for (int c = 0; c < 8; ++c) {
        opening.push_back("AXB_SetLampLevel(0," + std::to_string(c) + ",0)=1");
        opening.push_back("AXB_SetExternIO(0,0,0)=1");
        EXPECT_TRUE(IsControlVisible(dialog, kSliders[c])) << c;
    }
    EXPECT_EQ(LampCalls(), opening);
    for (int id : {kSliders[8], kSliders[9], kFields[8], kSwitchBoxes[0], IDC_LAMP_TEST})
        EXPECT_FALSE(IsControlVisible(dialog, id)) << id;
    EXPECT_EQ(h.Clock().TimerPeriod(dialog, 1), 5u);
    EXPECT_FALSE(Logged("Trying to open com 2"));
    Forget();
    EXPECT_EQ(OpenDialog(), dialog);
    EXPECT_THAT(LampCalls(), IsEmpty()) << "pressing Lamp again only brings it to the top";
    MoveSlider(dialog, 6, 200);
    CloseByCloseBox(dialog);
    EXPECT_TRUE(g_lampDlg == nullptr && !IsWindow(dialog) && h.Clock().TimerPeriod(dialog, 1) == 0)
        << "gone, its timer too";
    AxbSim_ClearCallLog();
    dialog = OpenDialog();
    EXPECT_TRUE(SliderPosition(dialog, 6) == 200 && Text(dialog, kFields[6]) == "200");
    EXPECT_THAT(LampCalls(), Contains("AXB_SetLampLevel(0,6,200)=1"));
}

// Whatever is typed, a level is 0..255; a field without a number changes
// nothing.
TEST_F(LampDialog, TypedLevelsAreClampedAndTextWithoutANumberChangesNothing)
{
    HWND dialog = OpenOnBoard();
    const struct { const wchar_t* typed; const char* call; const char* shown; int level; } cases[] = {
        {L"300", "AXB_SetLampLevel(0,1,255)=1", "255", 255}, {L"abc", nullptr, "abc", 255},
        {L"", nullptr, "", 255},                              {L"-5", "AXB_SetLampLevel(0,1,0)=1", "0", 0},
        {L"12abc", "AXB_SetLampLevel(0,1,12)=1", "12abc", 12}, {L"999999", "AXB_SetLampLevel(0,1,255)=1", "255", 255},
        {L"255", nullptr, "255", 255},
    };   // call nullptr: nothing sent
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.typed));
        AxbSim_ClearCallLog();
        TypeLevel(dialog, 1, c.typed);
        Tick();
        EXPECT_EQ(Calls("AXB_SetLampLevel"), c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{});
        EXPECT_EQ(Text(dialog, kFields[1]), c.shown);
        EXPECT_EQ(g_lampLevel[1], c.level);
        EXPECT_EQ(SliderPosition(dialog, 1), c.level);
    }
}

// A level sets its board channel and the channel's bit of the switch mask.
// "Laser" is bit 4 of the output byte the board shares with the joystick's
// bit 5; it goes with every lamp change and leaves the other bits alone.
TEST_F(LampDialog, LaserSetsBit4OfTheSharedOutputByte)
{
    HWND dialog = OpenOnBoard();
    SetBox(dialog, IDC_LAMP_LASER, true);
    SetBox(dialog, IDC_LAMP_LASER, false);
    EXPECT_THAT(LampCalls(), ElementsAre("AXB_SetExternIO(0,16,0)=1", "AXB_SetExternIO(0,0,0)=1"));
    g_externalOutput = 0x20;   // the joystick dialog's output bit 5
    AxbSim_ClearCallLog();
    SetBox(dialog, IDC_LAMP_LASER, true);
    MoveSlider(dialog, 2, 100);
    MoveSlider(dialog, 5, 1);
    SetBox(dialog, IDC_LAMP_LASER, false);
    MoveSlider(dialog, 2, 0);
    EXPECT_THAT(LampCalls(),
                ElementsAre("AXB_SetExternIO(0,48,0)=1", "AXB_SetLampLevel(0,2,100)=1", "AXB_SetExternIO(0,48,4)=1",
                            "AXB_SetLampLevel(0,5,1)=1", "AXB_SetExternIO(0,48,36)=1", "AXB_SetExternIO(0,32,36)=1",
                            "AXB_SetLampLevel(0,2,0)=1", "AXB_SetExternIO(0,32,32)=1"));
    EXPECT_EQ(Text(dialog, kFields[2]), "0");
    // The box shows the laser as the byte has it when the dialog opens; a
    // tick with nothing changed sends nothing.
    SetBox(dialog, IDC_LAMP_LASER, true);
    PressButton(dialog, IDC_LAMP_OK);
    dialog = OpenDialog();
    EXPECT_TRUE(IsChecked(dialog, IDC_LAMP_LASER));
    AxbSim_ClearCallLog();
    Tick();
    EXPECT_THAT(LampCalls(), IsEmpty());
}

// Opening the dialog only tells the Z track where it is; Q moves when the
// technician changes the level, to the shared millimetre conversion of it,
// and only once Q was homed.
TEST_F(LampDialog, ZTrackOpeningUpdatesThePositionAndOnlyALevelChangeMovesQ)
{
    WriteSetting(L"Lights", L"ZTracChannel", L"q1");
    WriteSetting(L"Lights", L"ZTracQMaxDistance", L"10");
    AxbSim_PokeParam(178, 1000);   // Q: 1000 counts per mm
    g_lampLevel[8] = 255;
    StartWithLamps(false);
    g_homeRefFound[3] = true;
    g_offset[3] = 7;
    HWND dialog = OpenDialog();
    EXPECT_TRUE(IsControlVisible(dialog, kSliders[8]));
    EXPECT_EQ(Text(dialog, IDC_LAMP_LABEL_9), "Z Track");
    EXPECT_FALSE(IsControlVisible(dialog, kSliders[9]));
    EXPECT_THAT(Calls("AXB_SetAxisPosAbs"), IsEmpty());
    EXPECT_EQ(g_ztrack_pos, 10000);
    EXPECT_FALSE(Logged("Auto home not complete on Q"));
    h.Log().Clear();
    MoveSlider(dialog, 8, 128);   // 5.0196 mm: 5019.6 counts
    EXPECT_THAT(Calls("AXB_SetAxisPosAbs"), ElementsAre("AXB_SetAxisPosAbs(0,3,5027)=1"));
    EXPECT_EQ(g_ztrack_pos, 5020);
    EXPECT_TRUE(Logged("Lamp 9 value was 255 now 128"));
    EXPECT_THAT(Calls("AXB_SetLampLevel(0,8"), IsEmpty());
    g_homeRefFound[3] = false;
    AxbSim_ClearCallLog();
    MoveSlider(dialog, 8, 255);
    EXPECT_THAT(Calls("AXB_SetAxisPosAbs"), IsEmpty());
    EXPECT_TRUE(Logged("Auto home not complete on Q"));
    EXPECT_EQ(g_ztrack_pos, 10000);
}

// How limits and modes pack and what current a limit means is the lamp
// commands' arithmetic; here: what the rows show and what Apply writes.
TEST_F(LampDialog, Lux400RowsShowTheParametersAndApplyWritesThem)
{
    WriteSetting(L"stagetune", L"LUX_400", L"1");
    const uint32_t params[] = {0x00320000, 0, 0x01000000, 0, 0, 0, 0x00250000};   // 50 %, mode, 37 %
    for (int row = 0; row < 7; ++row)
        AxbSim_PokeParam(26 + row, params[row]);
    HWND dialog = OpenOnBoard();
    EXPECT_TRUE(IsChecked(dialog, IDC_LAMP_LUX400) && IsChecked(dialog, IDC_LUX_MODE_3) &&
                !IsChecked(dialog, IDC_LUX_MODE_1));
    EXPECT_EQ(Text(dialog, IDC_LUX_LIMIT_1), "50");
    EXPECT_EQ(Text(dialog, IDC_LUX_CURRENT_7), "296ma");
    EXPECT_FALSE(IsControlVisible(dialog, IDC_LAMP_APPLY_LUX)) << "the first tick shows the rows";
    Tick();
    EXPECT_TRUE(IsControlVisible(dialog, IDC_LAMP_APPLY_LUX));
    TypeText(dialog, IDC_LUX_LIMIT_1, L"150");
    CheckDlgButton(dialog, IDC_LUX_MODE_1, BST_CHECKED);
    CheckDlgButton(dialog, IDC_LUX_MODE_3, BST_UNCHECKED);
    PressButton(dialog, IDC_LAMP_APPLY_LUX);
    EXPECT_THAT(Calls("AXB_SetParam"),
                ElementsAre("AXB_SetParam(0,26,23330816)=1", "AXB_SetParam(0,27,0)=1", "AXB_SetParam(0,28,0)=1",
                            "AXB_SetParam(0,29,0)=1", "AXB_SetParam(0,30,0)=1", "AXB_SetParam(0,31,0)=1",
                            "AXB_SetParam(0,32,2424832)=1"));
    EXPECT_EQ(Text(dialog, IDC_LUX_CURRENT_1), "200ma");
    EXPECT_EQ(g_param[26], 0x01640000u) << "the program's copy follows: a later Apply of the main window keeps it";
    SetBox(dialog, IDC_LAMP_LUX400, false);
    EXPECT_FALSE(IsControlVisible(dialog, IDC_LAMP_APPLY_LUX));
    PressButton(dialog, IDC_LAMP_OK);
    EXPECT_EQ(GetSettingInt(L"stagetune", L"LUX_400", L"7"), 0);
}

// The box stamps what arrives in whole milliseconds, a moment after it was
// sent: a gap of 20 ms may show as 17 on a busy machine. A program that does
// not wait shows gaps of 0 or 1.
constexpr uint64_t kLeastGapMs = 17;
// The dialog's opening: the switches and then every level, all 0.
constexpr size_t kOpening = 11;

std::vector<std::string> OpeningAfter(std::vector<std::string> greeting)
{
    greeting.push_back("$0QD00015");
    for (char channel = '0'; channel <= '9'; ++channel)
        greeting.push_back(std::string("$") + channel + "DO00000");
    return greeting;
}

// The commands the box received after its first `skip`.
std::vector<std::string> CommandsAfter(const LampBoxStandIn& box, size_t skip)
{
    const auto texts = box.CommandTexts();
    return {texts.begin() + static_cast<std::ptrdiff_t>(std::min(skip, texts.size())), texts.end()};
}

void ExpectSpaced(const LampBoxStandIn& box)
{
    const std::vector<BoxCommand> commands = box.Commands();
    for (size_t i = 1; i < commands.size(); ++i)
        EXPECT_GE(commands[i].ms - commands[i - 1].ms, kLeastGapMs)
            << commands[i - 1].text << " then " << commands[i].text;
}

class LampBox : public LampTest {
protected:
    // The dialog on a machine with the serial box, once the box has `commands`.
    HWND OpenWithBox(LampBoxStandIn& box, size_t commands = 1 + kOpening)
    {
        StartWithLamps(true);
        HWND dialog = OpenDialog();
        EXPECT_TRUE(box.WaitForCommands(commands));
        return dialog;
    }
};

// Channel 0 addresses every output of the box: channels 1..4 show its level
// and are not sent on their own.
TEST_F(LampBox, TheOpeningGreetsTheBoxThenSendsSwitchesAndLevelsAtLeast20msApart)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box);
    EXPECT_EQ(box.CommandTexts(), OpeningAfter({"$1PU"}));
    EXPECT_TRUE(box.WaitForEvent("line settings 19200 8N1"));
    EXPECT_THAT(LinesStartingWith({"Trying to open", "The box", "Time for init comm", "Total init"}),
                ElementsAre("Trying to open com 2", "The box responded", StartsWith("Time for init comm"),
                            StartsWith("Total init")));
    EXPECT_TRUE(g_lampBoxActive);
    // The serial box's channels 9 and 10 and its switches are shown, all on.
    for (int id : {kSliders[8], kSliders[9], kFields[9]})
        EXPECT_TRUE(IsControlVisible(dialog, id)) << id;
    for (int id : kSwitchBoxes)
        EXPECT_TRUE(IsControlVisible(dialog, id) && IsChecked(dialog, id)) << id;
    MoveSlider(dialog, 0, 51);
    TypeLevel(dialog, 0, L"102");
    MoveSlider(dialog, 7, 255);
    SetBox(dialog, kSwitchBoxes[1], false);
    SetBox(dialog, kSwitchBoxes[3], false);
    ASSERT_TRUE(box.WaitForCommands(17));
    EXPECT_THAT(CommandsAfter(box, 12), ElementsAre("$0DO00200", "$0DO00400", "$7DO02498", "$0QD00013", "$0QD00005"));
    ExpectSpaced(box);
    for (int c = 1; c <= 4; ++c)
        EXPECT_TRUE(SliderPosition(dialog, c) == 102 && Text(dialog, kFields[c]) == "102") << c;
    EXPECT_THAT(Calls("AXB_SetLampLevel"), IsEmpty()) << "nothing goes to the board's lamp outputs";
    Tick();
    EXPECT_FALSE(box.WaitForCommands(18, 50));
}

// A box that never answers, or only streams garbage, is taken as one that
// missed the greeting: it is sent "all outputs off" and used all the same.
TEST_F(LampBox, AnUnansweredBoxIsSwitchedOffAndStillUsed)
{
    for (const char* kind : {"silent", "garbage"}) {
        SCOPED_TRACE(kind);
        LampBoxStandIn box(kind);
        HWND dialog = OpenWithBox(box, 2 + kOpening);
        EXPECT_EQ(box.CommandTexts(), OpeningAfter({"$1PU", "$1DO00000"}));
        ExpectSpaced(box);
        EXPECT_TRUE(Logged("The Box did not respond to $1PU"));
        EXPECT_FALSE(Logged("The box responded"));
        MoveSlider(dialog, 2, 255);
        ASSERT_TRUE(box.WaitForCommands(3 + kOpening));
        EXPECT_EQ(box.CommandTexts().back(), "$2DO01000");
    }
}

// A box that keeps sending slowly gets about a second by the clock.
TEST_F(LampBox, TrickledGarbageEndsTheGreetingAfterAboutASecond)
{
    LampBoxStandIn box("garbage", "--garbage-rate 20");
    InstallClock(nullptr);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(InitLampRS232(LampBoxStandIn::kComPort), 0);
    const ULONGLONG took = GetTickCount64() - start;
    InstallClock(&clock);
    EXPECT_TRUE(took >= 1000 && took < 3000) << took;
    EXPECT_TRUE(Logged("The Box did not respond to $1PU"));
    EXPECT_TRUE(g_lampBoxActive);
    ASSERT_TRUE(box.WaitForCommands(2));
    EXPECT_THAT(box.CommandTexts(), ElementsAre("$1PU", "$1DO00000"));
}

// Reset switches the box off and closes its port until the dialog opens
// again. A dropped line fails every write; the program goes on, and the next
// opening after Reset finds the box plugged in again.
TEST_F(LampBox, ResetClosesThePortAndTheNextOpeningOpensItAgain)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box);
    Press(IDC_RESET);
    ASSERT_TRUE(box.WaitForCommands(13));
    EXPECT_EQ(box.CommandTexts().back(), "$1PD");
    ExpectSpaced(box);
    EXPECT_FALSE(g_lampBoxActive);
    h.Clock().Advance(600);
    // The dialog stayed open: its levels now go to the board, not to the
    // closed port.
    AxbSim_ClearCallLog();
    MoveSlider(dialog, 5, 90);
    EXPECT_THAT(Calls("AXB_SetLampLevel"), ElementsAre("AXB_SetLampLevel(0,5,90)=1"));
    EXPECT_FALSE(box.WaitForCommands(14, 100));
    PressButton(dialog, IDC_LAMP_OK);
    h.Log().Clear();
    dialog = OpenDialog();
    ASSERT_TRUE(box.WaitForCommands(25));
    EXPECT_EQ(box.CommandTexts()[13], "$1PU");
    EXPECT_EQ(box.CommandTexts()[20], "$5DO00353");
    EXPECT_TRUE(Logged("The box responded"));
    EXPECT_TRUE(g_lampBoxActive);
    box.Tell("drop");
    MoveSlider(dialog, 1, 77);
    EXPECT_EQ(Text(dialog, kFields[1]), "77");
    EXPECT_TRUE(Logged("Lamp 2 value was 0 now 77"));
    box.Tell("reconnect");
    Press(IDC_RESET);
    h.Clock().Advance(600);
    PressButton(dialog, IDC_LAMP_OK);
    OpenDialog();
    ASSERT_TRUE(box.WaitForCommands(37));
    EXPECT_EQ(box.CommandTexts()[25], "$1PU") << "nothing reached the dropped line";
    EXPECT_EQ(box.CommandTexts()[28], "$1DO00302") << "the level set while the line was down";
}

// Exit, the close box and destruction of the main window each switch the
// box off once, at least 20 ms after the last command.
TEST_F(LampBox, EachEndOfTheMainWindowSwitchesTheBoxOffOnce)
{
    const struct { const char* way; void (*end)(HWND main); } kWays[] = {
        {"Exit", [](HWND wnd) { PressButton(wnd, IDC_EXIT); }}, {"destruction", [](HWND wnd) { DestroyWindow(wnd); }},
        {"close box", [](HWND wnd) { SendMessageW(wnd, WM_CLOSE, 0, 0); }}};
    for (const auto& way : kWays) {
        SCOPED_TRACE(way.way);
        LampBoxStandIn box;
        HWND dialog = OpenWithBox(box);
        MoveSlider(dialog, 4, 10);
        way.end(main);
        PumpMessages();
        DestroyWindow(main);   // however it ended, the window goes in the end
        PumpMessages();
        ASSERT_TRUE(box.WaitForCommands(14));
        EXPECT_FALSE(box.WaitForCommands(15, 100)) << "nothing is sent twice";
        EXPECT_THAT(CommandsAfter(box, 12), ElementsAre("$4DO00039", "$1PD"));
        ExpectSpaced(box);
        EXPECT_FALSE(g_lampBoxActive);
    }
}

// A port that cannot be opened, no port at all ("Comm Port" counts by its
// low 8 bits), and COM2 that opens but, with its box gone, cannot be set up:
// each leaves the box inactive, and the next opening of the dialog tries
// again and finds the box plugged in.
TEST_F(LampBox, PortFailuresLeaveTheBoxInactiveAndTheNextOpeningTriesAgain)
{
    LampBoxStandIn box;
    box.Tell("drop");
    WriteSetting(L"Lights", L"Comm Port", L"9");
    StartWithLamps(true);
    HWND dialog = OpenDialog();
    EXPECT_THAT(LinesStartingWith({"Trying to open", "RS232", "init_lamp_rs232"}),
                ElementsAre("Trying to open com 9", StartsWith("RS232 CreateFile failed with Error"),
                            "RS232 CreateFile failed with ERROR_FILE_NOT_FOUND", "init_lamp_rs232 returned 1"));
    EXPECT_FALSE(g_lampBoxActive);
    // No box: the levels go to the board's lamp outputs, channel 8 and 9 nowhere.
    AxbSim_ClearCallLog();
    for (int channel : {0, 8, 9})
        MoveSlider(dialog, channel, 20);
    EXPECT_THAT(Calls("AXB_SetLampLevel"), ElementsAre("AXB_SetLampLevel(0,0,20)=1"));
    EXPECT_THAT(Calls("AXB_SetAxisPosAbs"), IsEmpty());
    const struct { const wchar_t* port; const char* lines[2]; } kPorts[] = {
        {L"256", {"No comm ports found", "init_lamp_rs232 returned 5"}},
        {L"258", {"Trying to open com 2", "init_lamp_rs232 returned 2"}}};
    for (const auto& port : kPorts) {
        PressButton(dialog, IDC_LAMP_OK);
        WriteSetting(L"Lights", L"Comm Port", port.port);
        h.Log().Clear();
        dialog = OpenDialog();
        for (const char* line : port.lines)
            EXPECT_TRUE(Logged(line)) << line;
        EXPECT_FALSE(g_lampBoxActive);
    }
    PressButton(dialog, IDC_LAMP_OK);
    box.Tell("reconnect");
    OpenDialog();
    ASSERT_TRUE(box.WaitForCommands(12));
    EXPECT_EQ(box.CommandTexts().front(), "$1PU");
    EXPECT_TRUE(g_lampBoxActive);
}

} // namespace
