// The serial lamp box over a real COM port: the program opens COM2, which
// the tests' Wine prefix maps to the pseudo-terminal of a lamp box stand-in.
#include "lamp/lamp_box.h"
#include "tests/lamp/lamp_fixture.h"
#include "tests/support/lamp_box_stand_in.h"
#include "tests/support/sim_calls.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <ostream>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace lamp_test {
namespace {

constexpr int kResetButton = 1275;
constexpr int kExitButton = 1;
// The box stamps what arrives in whole milliseconds, a moment after it was
// sent: a gap of 20 ms may show as 17 on a busy machine. A program that does
// not wait shows gaps of 0 or 1.
constexpr uint64_t kSpacingMs = 20;
constexpr uint64_t kStampSlackMs = 3;

// Every level command of the dialog's opening, for levels all 0.
const std::vector<std::string> kOpeningLevels = {
    "$0DO00000", "$1DO00000", "$2DO00000", "$3DO00000", "$4DO00000",
    "$5DO00000", "$6DO00000", "$7DO00000", "$8DO00000", "$9DO00000",
};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The commands the box received after its first `skip`.
std::vector<std::string> CommandsAfter(const LampBoxStandIn& box, size_t skip)
{
    const std::vector<std::string> texts = box.CommandTexts();
    return {texts.begin() + static_cast<std::ptrdiff_t>(std::min(skip, texts.size())), texts.end()};
}

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& prefix)
{
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0)
            return true;
    return false;
}

void ExpectSpaced(const std::vector<BoxCommand>& commands)
{
    for (size_t i = 1; i < commands.size(); ++i)
        EXPECT_GE(commands[i].ms - commands[i - 1].ms, kSpacingMs - kStampSlackMs)
            << commands[i - 1].text << " then " << commands[i].text;
}

class LampBox : public LampFixture {
protected:
    // The dialog opened on a machine with the serial box; returns once the
    // box has received `commands` commands.
    HWND OpenWithBox(LampBoxStandIn& box, size_t commands)
    {
        StartProgram(true);
        HWND dialog = OpenDialog();
        EXPECT_TRUE(box.WaitForCommands(commands));
        return dialog;
    }
};

TEST_F(LampBox, TheOpeningGreetsTheBoxThenSendsSwitchesAndLevelsAtLeast20msApart)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box, 12);
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(box.CommandTexts(), Concat({"$1PU", "$0QD00015"}, kOpeningLevels));
    ExpectSpaced(box.Commands());
    EXPECT_TRUE(box.WaitForEvent("line settings 19200 8N1"));

    const auto log = h.Log().Lines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "Trying to open com 2");
    EXPECT_EQ(log[1], "The box responded");
    EXPECT_TRUE(HasLineStartingWith(log, "Time for init comm"));
    EXPECT_TRUE(HasLineStartingWith(log, "Total init"));
    EXPECT_TRUE(g_lampBoxActive);
    // The serial box's channels 9 and 10 and its switches are shown, all on.
    for (int id : {kSliders[8], kSliders[9], kFields[9], kSwitchBoxes[0], kSwitchBoxes[3]})
        EXPECT_TRUE(IsControlVisible(dialog, id)) << id;
    for (int id : kSwitchBoxes)
        EXPECT_TRUE(IsChecked(dialog, id)) << id;
    // Nothing went to the board's lamp outputs.
    EXPECT_THAT(SimCallsStartingWith("AXB_SetLampLevel"), IsEmpty());
}

TEST_F(LampBox, ASliderSendsItsChannelAndValue)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box, 12);

    MoveSlider(dialog, 3, 128);
    MoveSlider(dialog, 7, 255);   // the box's channel 7 runs 2.5 times the level
    MoveSlider(dialog, 9, 1);
    ASSERT_TRUE(box.WaitForCommands(15));
    const auto commands = box.Commands();
    EXPECT_THAT(CommandsAfter(box, 12),
                ElementsAre("$3DO00502", "$7DO02498", "$9DO00004"));
    ExpectSpaced(commands);
    EXPECT_TRUE(h.Log().HasLine("Lamp 4 value was 0 now 128"));
    EXPECT_TRUE(h.Log().HasLine("Lamp 8 value was 0 now 255"));
    EXPECT_EQ(ControlText(dialog, kFields[3]), L"128");
}

// Channel 0 addresses every output of the box: channels 1..4 show its level
// and are not sent on their own.
TEST_F(LampBox, ChannelZeroCarriesChannelsOneToFour)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box, 12);

    MoveSlider(dialog, 0, 51);
    TypeLevel(dialog, 0, L"102");
    ASSERT_TRUE(box.WaitForCommands(14));
    EXPECT_THAT(CommandsAfter(box, 12),
                ElementsAre("$0DO00200", "$0DO00400"));
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(SliderPosition(dialog, c), 102) << c;
        EXPECT_EQ(ControlText(dialog, kFields[c]), L"102") << c;
    }
    EXPECT_EQ(ControlText(dialog, kFields[5]), L"0");
    Tick();
    EXPECT_EQ(box.Commands().size(), 14u);
}

TEST_F(LampBox, SwitchBoxesSendTheSwitchMask)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box, 12);

    SetBox(dialog, kSwitchBoxes[1], false);
    SetBox(dialog, kSwitchBoxes[3], false);
    Tick();
    ASSERT_TRUE(box.WaitForCommands(14));
    EXPECT_THAT(CommandsAfter(box, 12),
                ElementsAre("$0QD00013", "$0QD00005"));
    ExpectSpaced(box.Commands());
}

// A box that never answers, or only streams garbage, is taken as one that
// missed the greeting: it is sent "all outputs off" and used all the same.
class UnansweredBox : public LampBox, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnansweredBox, IsSwitchedOffAndStillUsed)
{
    LampBoxStandIn box(GetParam());
    HWND dialog = OpenWithBox(box, 13);
    EXPECT_EQ(box.CommandTexts(), Concat({"$1PU", "$1DO00000", "$0QD00015"}, kOpeningLevels));
    ExpectSpaced(box.Commands());
    EXPECT_TRUE(h.Log().HasLine("The Box did not respond to $1PU"));
    EXPECT_FALSE(h.Log().HasLine("The box responded"));

    MoveSlider(dialog, 2, 255);
    ASSERT_TRUE(box.WaitForCommands(14));
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

    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 3000u);
    EXPECT_TRUE(h.Log().HasLine("The Box did not respond to $1PU"));
    EXPECT_TRUE(g_lampBoxActive);
    ASSERT_TRUE(box.WaitForCommands(2));
    EXPECT_THAT(box.CommandTexts(), ElementsAre("$1PU", "$1DO00000"));
}

// A dropped line fails every write; the program goes on, and the next
// opening after Reset finds the box plugged in again.
TEST_F(LampBox, ADroppedLineLeavesTheProgramWorking)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box, 12);
    box.Tell("drop");

    MoveSlider(dialog, 1, 77);
    EXPECT_EQ(ControlText(dialog, kFields[1]), L"77");
    EXPECT_TRUE(h.Log().HasLine("Lamp 2 value was 0 now 77"));
    EXPECT_EQ(box.Commands().size(), 12u);

    box.Tell("reconnect");
    PressButton(main, kResetButton);
    h.Clock().Advance(600);
    PressButton(dialog, kOkButton);
    dialog = OpenDialog();
    ASSERT_TRUE(box.WaitForCommands(24));
    const auto texts = box.CommandTexts();
    EXPECT_EQ(texts[12], "$1PU");
    EXPECT_EQ(texts[14], "$0DO00000");
    EXPECT_EQ(texts[15], "$1DO00302");
}

// Reset switches the box off and closes its port: nothing more reaches the
// box until the dialog opens again, which opens the port again.
TEST_F(LampBox, ResetClosesThePortAndTheNextOpeningOpensItAgain)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box, 12);

    PressButton(main, kResetButton);
    ASSERT_TRUE(box.WaitForCommands(13));
    EXPECT_EQ(box.CommandTexts().back(), "$1PD");
    ExpectSpaced(box.Commands());
    EXPECT_FALSE(g_lampBoxActive);
    h.Clock().Advance(600);

    // The dialog stayed open: its levels now go to the board, not to the
    // closed port.
    AxbSim_ClearCallLog();
    MoveSlider(dialog, 5, 90);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetLampLevel"), ElementsAre("AXB_SetLampLevel(0,5,90)=1"));
    Sleep(100);
    EXPECT_EQ(box.Commands().size(), 13u);

    PressButton(dialog, kOkButton);
    h.Log().Clear();
    OpenDialog();
    ASSERT_TRUE(box.WaitForCommands(25));
    const auto texts = box.CommandTexts();
    EXPECT_EQ(texts[13], "$1PU");
    EXPECT_EQ(texts[14], "$0QD00015");
    EXPECT_EQ(texts[20], "$5DO00353");
    EXPECT_TRUE(h.Log().HasLine("The box responded"));
    EXPECT_TRUE(g_lampBoxActive);
}

// Exit, the close box and destruction of the main window each switch the
// box off once, at least 20 ms after the last command.
struct MainWindowEnd {
    const char* way;
    void (*end)(HWND main);
};

void PrintTo(const MainWindowEnd& end, std::ostream* out) { *out << end.way; }

class EndingMainWindow : public LampBox, public ::testing::WithParamInterface<MainWindowEnd> {};

TEST_P(EndingMainWindow, SwitchesTheBoxOff)
{
    LampBoxStandIn box;
    HWND dialog = OpenWithBox(box, 12);
    MoveSlider(dialog, 4, 10);
    GetParam().end(main);
    PumpMessages();
    // However it ended, the window goes in the end: nothing is sent twice.
    DestroyWindow(main);
    PumpMessages();
    ASSERT_TRUE(box.WaitForCommands(14));
    Sleep(100);
    EXPECT_THAT(CommandsAfter(box, 12),
                ElementsAre("$4DO00039", "$1PD"));
    ExpectSpaced(box.Commands());
    EXPECT_FALSE(g_lampBoxActive);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingMainWindow,
                         ::testing::Values(MainWindowEnd{"Exit", [](HWND main) { PressButton(main, kExitButton); }},
                                           MainWindowEnd{"CloseBox", [](HWND main) { SendMessageW(main, WM_CLOSE, 0, 0); }},
                                           MainWindowEnd{"Destroy", [](HWND main) { DestroyWindow(main); }}),
                         [](const auto& info) { return std::string(info.param.way); });

TEST_F(LampBox, PortFailuresLeaveTheBoxInactiveAndAreLogged)
{
    WriteSettingString(L"Lights", L"Comm Port", L"9");
    StartProgram(true);
    HWND dialog = OpenDialog();
    const auto log = h.Log().Lines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "Trying to open com 9");
    EXPECT_EQ(log[1].rfind("RS232 CreateFile failed with Error", 0), 0u);
    EXPECT_EQ(log[2], "RS232 CreateFile failed with ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(log[3], "init_lamp_rs232 returned 1");
    EXPECT_FALSE(g_lampBoxActive);
    // No box: the levels go to the board's lamp outputs, channel 8 and 9 nowhere.
    AxbSim_ClearCallLog();
    MoveSlider(dialog, 0, 20);
    MoveSlider(dialog, 8, 20);
    MoveSlider(dialog, 9, 20);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetLampLevel"), ElementsAre("AXB_SetLampLevel(0,0,20)=1"));
    EXPECT_THAT(SimCallsStartingWith("AXB_SetAxisPosAbs"), IsEmpty());
    PressButton(dialog, kOkButton);

    WriteSettingString(L"Lights", L"Comm Port", L"256");   // the low 8 bits: 0
    h.Log().Clear();
    OpenDialog();
    EXPECT_TRUE(h.Log().HasLine("No comm ports found"));
    EXPECT_TRUE(h.Log().HasLine("init_lamp_rs232 returned 5"));
}

// COM2 opens but, with its box gone, cannot be set up: the port is closed
// again, and the next opening of the dialog tries again and finds the box.
TEST_F(LampBox, APortThatCouldNotBeSetUpIsTriedAgainAtTheNextOpening)
{
    LampBoxStandIn box;
    box.Tell("drop");
    WriteSettingString(L"Lights", L"Comm Port", L"258");   // the low 8 bits: 2
    StartProgram(true);
    HWND dialog = OpenDialog();
    EXPECT_TRUE(h.Log().HasLine("init_lamp_rs232 returned 2"));
    EXPECT_FALSE(g_lampBoxActive);
    PressButton(dialog, kOkButton);

    box.Tell("reconnect");
    OpenDialog();
    ASSERT_TRUE(box.WaitForCommands(12));
    EXPECT_EQ(box.CommandTexts().front(), "$1PU");
    EXPECT_TRUE(g_lampBoxActive);
}

} // namespace
} // namespace lamp_test
