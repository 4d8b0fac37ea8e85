// The Lamp Dialog on a machine whose lamps hang on the board's outputs:
// levels, switch bits and the laser go to the board, the Z-track channel to
// the Q axis, the LUX400 rows to parameters P026..P032.
#include "board/fences.h"
#include "core/external_outputs.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "lamp/lamp_channels.h"
#include "tests/lamp/lamp_fixture.h"
#include "tests/support/sim_calls.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace lamp_test {
namespace {

constexpr int kLuxLimitFields[] = {1466, 1468, 1485};
constexpr int kLuxCaptions[] = {1698, 1699, 1700, 1701, 1702, 1703, 1704};
constexpr int kLuxModeBoxes[] = {1503, 1505, 1506, 1507, 1509, 1511, 1512};

std::vector<std::string> LampCalls()
{
    std::vector<std::string> calls;
    for (const std::string& call : SimCalls())
        if (call.rfind("AXB_SetLampLevel(", 0) == 0 || call.rfind("AXB_SetExternIO(", 0) == 0)
            calls.push_back(call);
    return calls;
}

class LampDialog : public LampFixture {
protected:
    HWND OpenOnBoard()
    {
        StartProgram(false);
        HWND dialog = OpenDialog();
        AxbSim_ClearCallLog();
        h.Log().Clear();
        return dialog;
    }
};

TEST_F(LampDialog, OpensWithEightBoardChannelsAndAppliesEveryLevel)
{
    StartProgram(false);
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    std::vector<std::string> opening;
    for (int c = 0; c < 8; ++c) {
        opening.push_back("AXB_SetLampLevel(0," + std::to_string(c) + ",0)=1");
        opening.push_back("AXB_SetExternIO(0,0,0)=1");
    }
    EXPECT_EQ(LampCalls(), opening);
    for (int c = 0; c < 8; ++c)
        EXPECT_TRUE(IsControlVisible(dialog, kSliders[c])) << c;
    for (int id : {kSliders[8], kSliders[9], kFields[8], kSwitchBoxes[0]})
        EXPECT_FALSE(IsControlVisible(dialog, id)) << id;
    EXPECT_FALSE(IsControlVisible(dialog, kTestButton));
    EXPECT_EQ(h.Clock().TimerPeriod(dialog, 1), 5u);
    EXPECT_FALSE(h.Log().HasLine("Trying to open com 2"));
}

TEST_F(LampDialog, ASliderSetsItsBoardChannelAndSwitchBit)
{
    HWND dialog = OpenOnBoard();
    MoveSlider(dialog, 2, 100);
    MoveSlider(dialog, 5, 1);
    MoveSlider(dialog, 2, 0);
    EXPECT_THAT(LampCalls(), ElementsAre("AXB_SetLampLevel(0,2,100)=1", "AXB_SetExternIO(0,0,4)=1",
                                         "AXB_SetLampLevel(0,5,1)=1", "AXB_SetExternIO(0,0,36)=1",
                                         "AXB_SetLampLevel(0,2,0)=1", "AXB_SetExternIO(0,0,32)=1"));
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Lamp 3 value was 0 now 100", "Lamp 6 value was 0 now 1",
                                             "Lamp 3 value was 100 now 0"));
    EXPECT_EQ(ControlText(dialog, kFields[2]), L"0");
    EXPECT_EQ(ControlText(dialog, kFields[5]), L"1");
    // Nothing changed: nothing sent.
    AxbSim_ClearCallLog();
    Tick();
    EXPECT_THAT(LampCalls(), IsEmpty());
}

TEST_F(LampDialog, LevelsSurviveTheDialogAndAreAppliedAgain)
{
    HWND dialog = OpenOnBoard();
    MoveSlider(dialog, 6, 200);
    PressButton(dialog, kOkButton);
    EXPECT_EQ(g_lampDlg, nullptr);
    EXPECT_FALSE(IsWindow(dialog));

    AxbSim_ClearCallLog();
    dialog = OpenDialog();
    EXPECT_EQ(SliderPosition(dialog, 6), 200);
    EXPECT_EQ(ControlText(dialog, kFields[6]), L"200");
    const auto calls = LampCalls();
    ASSERT_EQ(calls.size(), 16u);
    EXPECT_EQ(calls[12], "AXB_SetLampLevel(0,6,200)=1");
    EXPECT_EQ(calls[13], "AXB_SetExternIO(0,0,64)=1");
}

TEST_F(LampDialog, PressingLampTwiceLeavesOneDialog)
{
    HWND dialog = OpenOnBoard();
    EXPECT_EQ(OpenDialog(), dialog);
    EXPECT_THAT(LampCalls(), IsEmpty());
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_lampDlg, nullptr);
    EXPECT_EQ(h.Clock().TimerPeriod(dialog, 1), 0u);
    EXPECT_NE(OpenDialog(), nullptr);
}

// Whatever is typed, a level is 0..255; a field without a number changes
// nothing.
TEST_F(LampDialog, TypedLevelsAreClampedAndTextWithoutANumberChangesNothing)
{
    HWND dialog = OpenOnBoard();
    const struct {
        const wchar_t* typed;
        const char* call;   // nullptr: nothing sent
        const wchar_t* shown;
        int level;
    } cases[] = {
        {L"300", "AXB_SetLampLevel(0,1,255)=1", L"255", 255},
        {L"abc", nullptr, L"abc", 255},
        {L"", nullptr, L"", 255},
        {L"-5", "AXB_SetLampLevel(0,1,0)=1", L"0", 0},
        {L"12abc", "AXB_SetLampLevel(0,1,12)=1", L"12abc", 12},
        {L"999999", "AXB_SetLampLevel(0,1,255)=1", L"255", 255},
        {L"255", nullptr, L"255", 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.typed));
        AxbSim_ClearCallLog();
        TypeLevel(dialog, 1, c.typed);
        Tick();
        const auto calls = SimCallsStartingWith("AXB_SetLampLevel");
        if (c.call)
            EXPECT_THAT(calls, ElementsAre(c.call));
        else
            EXPECT_THAT(calls, IsEmpty());
        EXPECT_EQ(ControlText(dialog, kFields[1]), c.shown);
        EXPECT_EQ(g_lampLevel[1], c.level);
        EXPECT_EQ(SliderPosition(dialog, 1), c.level);
    }
}

// "Laser" is bit 4 of the output byte the board shares with the joystick's
// bit 5; it goes with every lamp change and leaves the other bits alone.
TEST_F(LampDialog, LaserSetsBit4OfTheSharedOutputByte)
{
    HWND dialog = OpenOnBoard();
    SetBox(dialog, kLaserBox, true);
    SetBox(dialog, kLaserBox, false);
    EXPECT_THAT(LampCalls(), ElementsAre("AXB_SetExternIO(0,16,0)=1", "AXB_SetExternIO(0,0,0)=1"));

    g_externalOutput = 0x20;   // the joystick dialog's output bit 5
    AxbSim_ClearCallLog();
    SetBox(dialog, kLaserBox, true);
    MoveSlider(dialog, 0, 9);
    SetBox(dialog, kLaserBox, false);
    EXPECT_THAT(LampCalls(), ElementsAre("AXB_SetExternIO(0,48,0)=1", "AXB_SetLampLevel(0,0,9)=1",
                                         "AXB_SetExternIO(0,48,1)=1", "AXB_SetExternIO(0,32,1)=1"));

    // The box shows the laser as the byte has it when the dialog opens.
    SetBox(dialog, kLaserBox, true);
    PressButton(dialog, kOkButton);
    dialog = OpenDialog();
    EXPECT_TRUE(IsChecked(dialog, kLaserBox));
    AxbSim_ClearCallLog();
    Tick();
    EXPECT_THAT(LampCalls(), IsEmpty());
}

class ZTrack : public LampDialog {
protected:
    void SetUp() override
    {
        WriteSettingString(L"Lights", L"ZTracChannel", L"q1");
        WriteSettingString(L"Lights", L"ZTracQMaxDistance", L"10");
        AxbSim_PokeParam(178, 1000);   // Q: 1000 counts per mm
    }
};

// Opening the dialog only tells the Z track where it is; Q moves when the
// technician changes the level, to the shared millimetre conversion of it.
TEST_F(ZTrack, OpeningUpdatesThePositionAndOnlyALevelChangeMovesQ)
{
    g_lampLevel[8] = 255;
    StartProgram(false);
    g_homeRefFound[3] = true;
    g_offset[3] = 7;
    HWND dialog = OpenDialog();
    EXPECT_TRUE(IsControlVisible(dialog, kSliders[8]));
    EXPECT_EQ(ControlText(dialog, 1720), L"Z Track");
    EXPECT_FALSE(IsControlVisible(dialog, kSliders[9]));
    EXPECT_THAT(SimCallsStartingWith("AXB_SetAxisPosAbs"), IsEmpty());
    EXPECT_EQ(g_ztrack_pos, 10000);
    EXPECT_FALSE(h.Log().HasLine("Auto home not complete on Q"));

    h.Log().Clear();
    MoveSlider(dialog, 8, 128);   // 5.0196 mm: 5019.6 counts
    EXPECT_THAT(SimCallsStartingWith("AXB_SetAxisPosAbs"), ElementsAre("AXB_SetAxisPosAbs(0,3,5027)=1"));
    EXPECT_EQ(g_ztrack_pos, 5020);
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Lamp 9 value was 255 now 128", "    goto target5027",
                                             "KRV_SetAxisPosAbs (0,3,5027)"));
    EXPECT_THAT(SimCallsStartingWith("AXB_SetLampLevel(0,8"), IsEmpty());
}

TEST_F(ZTrack, QIsNotMovedBeforeItWasHomed)
{
    StartProgram(false);
    HWND dialog = OpenDialog();
    MoveSlider(dialog, 8, 255);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetAxisPosAbs"), IsEmpty());
    EXPECT_TRUE(h.Log().HasLine("Auto home not complete on Q"));
    EXPECT_EQ(g_ztrack_pos, 10000);
}

TEST_F(LampDialog, WithoutAZTrackChannelThereAreEightChannels)
{
    WriteSettingString(L"Lights", L"ZTracChannel", L"x1");
    HWND dialog = OpenOnBoard();
    EXPECT_FALSE(IsControlVisible(dialog, kSliders[8]));
    EXPECT_EQ(g_ztrack_pos, kZTrackUnset);
}

TEST_F(LampDialog, Lux400RowsShowTheParametersAndApplyWritesThem)
{
    WriteSettingString(L"stagetune", L"LUX_400", L"1");
    const uint32_t params[] = {0x00320000, 0, 0x01000000, 0, 0, 0, 0x00250000};   // 50 %, mode, 37 %
    for (int row = 0; row < 7; ++row)
        AxbSim_PokeParam(26 + row, params[row]);
    HWND dialog = OpenOnBoard();
    EXPECT_TRUE(IsChecked(dialog, kLux400Box));
    EXPECT_EQ(ControlText(dialog, kLuxLimitFields[0]), L"50");
    EXPECT_EQ(ControlText(dialog, kLuxLimitFields[2]), L"37");
    const wchar_t* captions[] = {L"100ma", L"0ma", L"120ma", L"120ma", L"120ma", L"120ma", L"296ma"};
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(ControlText(dialog, kLuxCaptions[row]), captions[row]) << row;
    EXPECT_TRUE(IsChecked(dialog, kLuxModeBoxes[2]));
    EXPECT_FALSE(IsChecked(dialog, kLuxModeBoxes[0]));

    // The first tick shows the rows; unchecking hides them again.
    EXPECT_FALSE(IsControlVisible(dialog, kApplyLuxButton));
    Tick();
    for (int id : {kApplyLuxButton, kLuxLimitFields[1], kLuxCaptions[3], kLuxModeBoxes[6]})
        EXPECT_TRUE(IsControlVisible(dialog, id)) << id;
    SetBox(dialog, kLux400Box, false);
    EXPECT_FALSE(IsControlVisible(dialog, kLuxLimitFields[0]));
    SetBox(dialog, kLux400Box, true);

    TypeText(dialog, kLuxLimitFields[0], L"150");
    TypeText(dialog, kLuxLimitFields[1], L"none");
    TypeText(dialog, kLuxLimitFields[2], L"-3");
    CheckDlgButton(dialog, kLuxModeBoxes[0], BST_CHECKED);
    CheckDlgButton(dialog, kLuxModeBoxes[2], BST_UNCHECKED);
    PressButton(dialog, kApplyLuxButton);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam"),
                ElementsAre("AXB_SetParam(0,26,23330816)=1", "AXB_SetParam(0,27,0)=1", "AXB_SetParam(0,28,0)=1",
                            "AXB_SetParam(0,29,0)=1", "AXB_SetParam(0,30,0)=1", "AXB_SetParam(0,31,0)=1",
                            "AXB_SetParam(0,32,0)=1"));
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Made it here", "01640000", "00000000", "00000000", "00000000",
                                             "00000000", "00000000", "00000000"));
    EXPECT_EQ(ControlText(dialog, kLuxCaptions[0]), L"200ma");
    EXPECT_EQ(ControlText(dialog, kLuxCaptions[6]), L"0ma");
    // The program's copy follows, so a later Apply of the main window keeps it.
    EXPECT_EQ(g_param[26], 0x01640000u);
    EXPECT_EQ(AxbSim_PeekParam(26), 0x01640000u);

    SetBox(dialog, kLux400Box, false);
    PressButton(dialog, kOkButton);
    EXPECT_EQ(GetSettingInt(L"stagetune", L"LUX_400", L"7"), 0);
}

TEST_F(LampDialog, TheTestersOutputTestRunsALightAcrossTheChannels)
{
    WriteSettingString(L"stagetune", L"TavRosenTester", L"1");
    HWND dialog = OpenOnBoard();
    ASSERT_TRUE(IsControlVisible(dialog, kTestButton));
    PressButton(dialog, kTestButton);
    h.Clock().Advance(12 * kTimerMs);
    EXPECT_THAT(LampCalls(), ElementsAre("AXB_SetLampLevel(0,0,0)=1", "AXB_SetLampLevel(0,1,255)=1"));
    AxbSim_ClearCallLog();
    h.Clock().Advance(7 * 12 * kTimerMs);   // steps 2..8
    const auto calls = LampCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "AXB_SetExternIO(0,0,1)=1");   // step 8, even: laser bit off

    // Pressed again, it stops.
    PressButton(dialog, kTestButton);
    AxbSim_ClearCallLog();
    h.Clock().Advance(24 * kTimerMs);
    EXPECT_THAT(LampCalls(), IsEmpty());
}

TEST_F(LampDialog, NothingHappensWithoutABoard)
{
    AxbSim_SetOpenFailures(-1);
    StartProgram(false);
    ASSERT_EQ(g_boardPresent, 0);
    HWND dialog = OpenDialog();
    AxbSim_ClearCallLog();
    MoveSlider(dialog, 0, 50);
    EXPECT_THAT(LampCalls(), IsEmpty());
    EXPECT_EQ(g_lampLevel[0], 0);
}

} // namespace
} // namespace lamp_test
