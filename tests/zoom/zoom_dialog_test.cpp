// The Zoom dialog as the operator uses it: position buttons and digit keys
// through the program's own message loop, the live zoom axis, the second
// home velocity and home type kept in the parameter table, and closing it
// in every way without ending the program.
#include "app/entry.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "tests/support/sim_flash.h"
#include "zoom/zoom.h"
#include "zoom/zoom_dialog.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr uint32_t kNewFirmware = 0x02060703;
constexpr uint32_t kOldFirmware = 0x02060702;

class ZoomDialog : public ProgramTest {
protected:
    // The stored positions 1, 2, .. 9 mm and 12.25 mm, in the board's flash.
    void SetUp() override
    {
        Start([] {
            for (int i = 0; i < kZoomPositions; ++i)
                WriteItemToSimFlash(1055 + 4 * i, FlashItemValue{.floatValue = kPositionsMm[i]});
        });
    }
    static constexpr float kPositionsMm[kZoomPositions] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12.25f};
    HWND Open()
    {
        Press(IDC_ZOOM);
        return g_zoomDlg;
    }
    using ProgramTest::Text;
    std::string Text(int id) { return Text(g_zoomDlg, id); }
    std::vector<std::string> ZoomMoves() { return Calls("AXB_SetAxisPosAbs(0,4,"); }
    static std::string ZoomMove(int32_t counts) { return "AXB_SetAxisPosAbs(0,4," + std::to_string(counts) + ")=1"; }

    // Keys as the keyboard delivers them, through the program's message loop.
    static void TypeKeys(HWND target, const std::string& keys)
    {
        for (char key : keys)
            PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
        PostQuitMessage(0);
        RunMessageLoop();
    }
};

TEST_F(ZoomDialog, ShowsTheStoredPositionsAndTheSecondHomeVelocityAndGoesThere)
{
    // P235 and the percent it shows: hundredths from firmware 2.6.7.3 on, before it at least 2 %.
    const std::tuple<uint32_t, uint32_t, const char*, const char*> kCases[] = {
        {kNewFirmware, 150, "1.5", ".1 to 100.0"},
        {kNewFirmware, 5, "0.1", ".1 to 100.0"},
        {kOldFirmware, 150, "10", "2.0 to 100.0"},
        {kOldFirmware, 2550, "25.5", "2.0 to 100.0"}};
    for (const auto& [firmware, p235, percent, range] : kCases) {
        SCOPED_TRACE(percent);
        g_firmwareVersion = firmware;
        AxbSim_PokeParam(235, p235);
        ASSERT_TRUE(Open());
        EXPECT_EQ(Text(IDC_ZOOM_POS_1), "1");
        EXPECT_EQ(Text(IDC_ZOOM_POS_10), "12.25");
        EXPECT_EQ(Text(IDC_ZOOM_P235), std::to_string(p235));
        EXPECT_EQ(Text(IDC_ZOOM_HOME_PERCENT), percent);
        EXPECT_EQ(Text(IDC_ZOOM_PERCENT_RANGE), range);
        EXPECT_EQ(h.Clock().TimerPeriod(g_zoomDlg, IDT_TICK), 10u);
        PressButton(g_zoomDlg, IDC_ZOOM_OK);
    }
    constexpr int kButtons[] = {IDC_ZOOM_GOTO_1, IDC_ZOOM_GOTO_2, IDC_ZOOM_GOTO_3, IDC_ZOOM_GOTO_4,
                                IDC_ZOOM_GOTO_5, IDC_ZOOM_GOTO_6, IDC_ZOOM_GOTO_7, IDC_ZOOM_GOTO_8,
                                IDC_ZOOM_GOTO_9, IDC_ZOOM_GOTO_10};
    HWND dlg = Open();
    Forget();
    std::vector<std::string> expected;
    for (int n = 0; n < kZoomPositions; ++n) {
        PressButton(dlg, kButtons[n]);
        expected.push_back(ZoomMove(static_cast<int32_t>(kPositionsMm[n] * 2000)));
    }
    EXPECT_EQ(ZoomMoves(), expected);
}

TEST_F(ZoomDialog, PercentsBecomeHundredthsWithinTheFirmwaresMinimum)
{
    const std::tuple<uint32_t, float, int32_t> kCases[] = {
        {kNewFirmware, 1.5f, 150}, {kNewFirmware, 0.05f, 10}, {kNewFirmware, 0.1f, 10},
        {kNewFirmware, 0.11f, 11}, {kOldFirmware, 1.5f, 200}, {kOldFirmware, 2.0f, 200},
        {kOldFirmware, 2.5f, 250}, {kOldFirmware, 100.0f, 10000}};
    for (const auto& [firmware, percent, board] : kCases) {
        g_firmwareVersion = firmware;
        EXPECT_EQ(ZoomPercentToBoard(percent), board) << percent << " on " << std::hex << firmware;
    }
}

TEST_F(ZoomDialog, ApplyAndOkChangeOnlyTheParameterTable)
{
    AxbSim_PokeParam(233, 7);
    g_param[233] = 7;
    const uint32_t boardP235 = AxbSim_PeekParam(235);
    HWND dlg = Open();
    EXPECT_EQ(Selected(dlg, IDC_ZOOM_HOME_TYPE), 1);

    TypeText(dlg, IDC_ZOOM_HOME_PERCENT, L"37.125");
    PressButton(dlg, IDC_ZOOM_APPLY);
    EXPECT_TRUE(Logged("IDD_BUTTON_APPLY_PERCENT:37.125,3713"));
    EXPECT_EQ(g_param[235], 3713u);
    EXPECT_EQ(Text(IDC_ZOOM_P235), "3713");

    Forget();
    for (const wchar_t* bad : {L"fast", L"12 %", L""}) {
        TypeText(dlg, IDC_ZOOM_HOME_PERCENT, bad);
        PressButton(dlg, IDC_ZOOM_APPLY);
    }
    EXPECT_EQ(g_param[235], 3713u) << "what is not a number keeps P235";
    EXPECT_THAT(LinesStartingWith({"IDD_BUTTON_APPLY_PERCENT"}), IsEmpty());

    ChooseListItem(dlg, IDC_ZOOM_HOME_TYPE, 2);
    PressButton(dlg, IDC_ZOOM_OK);
    EXPECT_EQ(g_param[233], 8u);
    EXPECT_EQ(g_zoomDlg, nullptr);
    EXPECT_EQ(AxbSim_PeekParam(233), 7u);
    EXPECT_EQ(AxbSim_PeekParam(235), boardP235);
}

TEST_F(ZoomDialog, OkWithoutAHomeTypeKeepsP233)
{
    g_param[233] = 5;
    HWND dlg = Open();
    EXPECT_EQ(Selected(dlg, IDC_ZOOM_HOME_TYPE), CB_ERR);
    PressButton(dlg, IDC_ZOOM_OK);
    EXPECT_EQ(g_param[233], 5u);
}

TEST_F(ZoomDialog, ShowsTheZoomLiveAndResetsOrLogsTheStateMachine)
{
    HWND dlg = Open();
    AxbSim_PlaceAxis(kZoomAxis, 4000);
    g_offset[kZoomAxis] = 1000;
    h.Clock().Advance(20);
    EXPECT_EQ(Text(IDC_ZOOM_POSITION), "1.5000");
    EXPECT_EQ(Text(IDC_ZOOM_FOLLOWING), "0.0000");
    EXPECT_EQ(Text(IDC_ZOOM_AXIS_STATUS), "05");
    EXPECT_EQ(Text(IDC_ZOOM_ERROR), "00");
    const unsigned ticks = std::stoul(Text(IDC_ZOOM_TICKS));
    h.Clock().Advance(30);
    EXPECT_EQ(std::stoul(Text(IDC_ZOOM_TICKS)), ticks + 3);

    PressButton(dlg, IDC_ZOOM_GOTO_3);
    CheckDlgButton(dlg, IDC_ZOOM_LOG_STATES, BST_CHECKED);
    PressButton(dlg, IDC_ZOOM_LOG_STATES);
    EXPECT_TRUE(Logged("g_zoom_state=7"));
    EXPECT_EQ(g_zoomLogLevel, 1);
    AxbSim_ClearCallLog();
    PressButton(dlg, IDC_ZOOM_RESET_STATE);
    EXPECT_EQ(g_zoomState, kZoomInactive);
    EXPECT_TRUE(g_zoomHomed);
    EXPECT_THAT(ZoomMoves(), IsEmpty());
    CheckDlgButton(dlg, IDC_ZOOM_LOG_STATES, BST_UNCHECKED);
    PressButton(dlg, IDC_ZOOM_LOG_STATES);
    EXPECT_EQ(g_zoomLogLevel, 0);
}

TEST_F(ZoomDialog, DigitKeysMoveTheZoomWhileTheDialogIsActive)
{
    HWND dlg = Open();
    SetActiveWindow(dlg);
    HWND button = GetDlgItem(dlg, IDC_ZOOM_GOTO_1);
    SetFocus(button);
    TypeKeys(button, "3");
    EXPECT_THAT(ZoomMoves(), ElementsAre(ZoomMove(6000)));
    EXPECT_TRUE(Logged("Keydown wParam 33"));

    // "0" homes as "HOME" does.
    TypeKeys(button, "0");
    EXPECT_TRUE(Logged("ZoomHomeServo called"));
    EXPECT_EQ(g_zoomState, kZoomSeekingHome);
    g_zoomState = kZoomInactive;

    // Typing a number into the velocity field types it.
    AxbSim_ClearCallLog();
    HWND edit = GetDlgItem(dlg, IDC_ZOOM_HOME_PERCENT);
    SetWindowTextW(edit, L"");
    SetFocus(edit);
    TypeKeys(edit, "15");
    EXPECT_THAT(ZoomMoves(), IsEmpty());
    EXPECT_EQ(Text(IDC_ZOOM_HOME_PERCENT), "15");

    // With the main window active the keys are not the zoom's.
    Forget();
    SetActiveWindow(main);
    TypeKeys(button, "4");
    EXPECT_THAT(ZoomMoves(), IsEmpty());
    EXPECT_THAT(LinesStartingWith({"Keydown"}), IsEmpty());
}

TEST_F(ZoomDialog, ClosingInAnyWayStopsTheTimerAndKeepsTheProgram)
{
    const std::pair<const char*, void (*)(HWND)> ways[] = {
        {"close box", CloseByCloseBox},
        {"Esc", [](HWND dlg) { SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0); }},
        {"OK", [](HWND dlg) { PressButton(dlg, IDC_ZOOM_OK); }},
        {"destroyed", [](HWND dlg) { DestroyWindow(dlg); }},
    };
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        HWND dlg = Open();
        ASSERT_TRUE(dlg);
        EXPECT_EQ(Open(), dlg) << "one dialog at a time";
        close(dlg);
        EXPECT_FALSE(PumpMessages()) << "no quit message";
        EXPECT_FALSE(IsWindow(dlg));
        EXPECT_EQ(g_zoomDlg, nullptr);
        EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 0u);
        EXPECT_TRUE(IsWindow(main));
    }
}

} // namespace
