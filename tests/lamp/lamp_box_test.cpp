// The serial lamp box over a real COM port: the program opens COM2, which
// the tests' Wine prefix maps to the pseudo-terminal of a lamp box stand-in.
#include "lamp/lamp_box.h"
#include "tests/lamp/lamp_fixture.h"
#include "tests/support/lamp_box_stand_in.h"

namespace lamp_test {
namespace {

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
class UnansweredBox : public LampBox, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnansweredBox, IsSwitchedOffAndStillUsed)
{
    LampBoxStandIn box(GetParam());
    HWND dialog = OpenWithBox(box, 2 + kOpening);
    EXPECT_EQ(box.CommandTexts(), OpeningAfter({"$1PU", "$1DO00000"}));
    ExpectSpaced(box);
    EXPECT_TRUE(Logged("The Box did not respond to $1PU"));
    EXPECT_FALSE(Logged("The box responded"));
    MoveSlider(dialog, 2, 255);
    ASSERT_TRUE(box.WaitForCommands(3 + kOpening));
    EXPECT_EQ(box.CommandTexts().back(), "$2DO01000");
}

INSTANTIATE_TEST_SUITE_P(Boxes, UnansweredBox, ::testing::Values("silent", "garbage"),
                         [](const auto& info) { return std::string(info.param); });

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
        {"Exit", [](HWND wnd) { PressButton(wnd, IDC_EXIT); }},
        {"close box", [](HWND wnd) { SendMessageW(wnd, WM_CLOSE, 0, 0); }},
        {"destruction", [](HWND wnd) { DestroyWindow(wnd); }}};
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
} // namespace lamp_test
