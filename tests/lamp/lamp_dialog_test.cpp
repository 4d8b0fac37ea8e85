// The Lamp Dialog on a machine whose lamps hang on the board's outputs:
// levels, switch bits and the laser go to the board, the Z-track channel to
// the Q axis, the LUX400 rows to parameters P026..P032.
#include "board/fences.h"
#include "core/external_outputs.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "infra/settings.h"
#include "lamp/lamp_channels.h"
#include "tests/lamp/lamp_fixture.h"

namespace lamp_test {
namespace {

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
        std::vector<std::string> calls;
        for (const std::string& call : SimCalls())
            if (call.starts_with("AXB_SetLampLevel(") || call.starts_with("AXB_SetExternIO("))
                calls.push_back(call);
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
    EXPECT_TRUE(g_lampDlg == nullptr && !IsWindow(dialog) && h.Clock().TimerPeriod(dialog, 1) == 0) << "gone, its timer too";
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
    EXPECT_THAT(LinesStartingWith({"Lamp "}), ElementsAre("Lamp 3 value was 0 now 100", "Lamp 6 value was 0 now 1",
                                                          "Lamp 3 value was 100 now 0"));
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

class ZTrack : public LampDialog {
protected:
    void SetUp() override
    {
        WriteSetting(L"Lights", L"ZTracChannel", L"q1");
        WriteSetting(L"Lights", L"ZTracQMaxDistance", L"10");
        AxbSim_PokeParam(178, 1000);   // Q: 1000 counts per mm
    }
};

// Opening the dialog only tells the Z track where it is; Q moves when the
// technician changes the level, to the shared millimetre conversion of it,
// and only once Q was homed.
TEST_F(ZTrack, OpeningUpdatesThePositionAndOnlyALevelChangeMovesQ)
{
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
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Lamp 9 value was 255 now 128", "    goto target5027",
                                             "KRV_SetAxisPosAbs (0,3,5027)"));
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
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Made it here", "01640000", "00000000", "00000000", "00000000",
                                             "00000000", "00000000", "00250000"));
    EXPECT_EQ(Text(dialog, IDC_LUX_CURRENT_1), "200ma");
    EXPECT_EQ(g_param[26], 0x01640000u) << "the program's copy follows: a later Apply of the main window keeps it";
    SetBox(dialog, IDC_LAMP_LUX400, false);
    EXPECT_FALSE(IsControlVisible(dialog, IDC_LAMP_APPLY_LUX));
    PressButton(dialog, IDC_LAMP_OK);
    EXPECT_EQ(GetSettingInt(L"stagetune", L"LUX_400", L"7"), 0);
}

} // namespace
} // namespace lamp_test
