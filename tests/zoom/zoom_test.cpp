// The motor zoom on the main window's 10 ms timer: homing, "Continuous Home",
// the positions with their backlash approach, rounding, bounds and timeouts,
// its locks; and the Zoom dialog, with its digit keys through the program's
// message loop.
#include "app/entry.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "infra/clock.h"
#include "infra/settings.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/other_lock.h"
#include "tests/support/program_test.h"
#include "tests/support/sim_flash.h"
#include "zoom/turrets/turrets.h"
#include "zoom/zoom.h"
#include "zoom/zoom_dialog.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <regex>
#include <thread>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int kZoom = 4;
constexpr int kZoomTravelMin = -4000;   // the home switch

std::string ZoomMove(int32_t counts) { return "AXB_SetAxisPosAbs(0,4," + std::to_string(counts) + ")=1"; }

class ZoomAxis : public ProgramTest {
protected:
    using ProgramTest::ProgramTest;
    void SetUp() override { Start(); }

    bool RunUntilIdle() { return RunUntil([] { return g_zoomState == kZoomInactive; }); }
    std::vector<std::string> ZoomMoves() { return Calls("AXB_SetAxisPosAbs(0,4,"); }
    int CountLines(const std::string& line) { return static_cast<int>(std::ranges::count(h.Log().Lines(), line)); }
};

TEST_F(ZoomAxis, ASlowHomePercentBeyondTheWordIsSentAsTheFastestWord)
{
    WriteSetting(L"zoom", L"SlowHomePercent", L"700");
    AxbSim_PlaceAxis(kZoom, kZoomTravelMin + 100);
    ASSERT_TRUE(ZoomHomeServo());
    ASSERT_TRUE(RunUntilIdle());
    // 700 % at scale 100 is 65535, not the crawl of 70000 - 65536 = 4464.
    EXPECT_THAT(Calls("AXB_SetVelocityPercent(0,4,"), ::testing::Contains("AXB_SetVelocityPercent(0,4,65535)=1"));
    EXPECT_EQ(g_cmdVelPercent[kZoom], 100);
}

TEST_F(ZoomAxis, GotoDuringHomingWaitsForTheHomeAndThenGoesThere)
{
    krv_user_box_data.zoomPos[2] = 2.5f;
    g_zoomLogLevel = 5;
    AxbSim_PlaceAxis(kZoom, 20000);
    ZoomHomeServo();
    h.Clock().Advance(50);
    ASSERT_TRUE(ZoomGoto(3));
    EXPECT_EQ(g_zoomTargetIndex, 3);
    EXPECT_THAT(ZoomMoves(), ElementsAre(ZoomMove(-100000))) << "no move while homing";
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_TRUE(Logged("Moving from KRV_STATE_ZOOM_SEEKING_HOME2 to KRV_STATE_ZOOM_MOVING"));
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(5000));
    EXPECT_NEAR(AxbSim_PeekPosition(kZoom), 5000, 10);
    EXPECT_EQ(CountLines("Moving from KRV_STATE_ZOOM_MOVING to KRV_STATE_ZOOM_INACTIVE"), 2) << "also as a state line";
    // At log level 5 a data line follows every step, under one header.
    const auto data = LinesStartingWith({"Zoom,"});
    ASSERT_GT(data.size(), 3u);
    EXPECT_EQ(data[0], "Zoom,Time,Target,Actual,Nominal,Lag,V-Soll,V-Ist,Part-V,Part-P,Part-I,Part-D,Base,PID,"
                       "R-Cnt,Flags,Status,Cnt");
    for (size_t i = 1; i < data.size(); ++i)
        EXPECT_EQ(std::stoul(data[i].substr(data[i].rfind(',') + 1)), i - 1) << "the counter advances per line";
}

TEST_F(ZoomAxis, PositionsAreApproachedFromTheBacklashSide)
{
    // P218 = 1000, "Zoom Pos 3" = 2.5, machine zero offset 100: position 3 is
    // at 2600 counts; a backlash of 0.2 mm is 200 counts. From the backlash
    // side the zoom goes straight there, from the other it overshoots first.
    const std::tuple<float, int32_t, std::vector<int32_t>> kCases[] = {
        {0.0f, 0, {2600}},    {0.2f, 0, {2800, 2600}},     {0.2f, 5000, {2600}},        {-0.2f, 0, {2600}},
        {0.2f, 2600, {2600}}, {-0.2f, 5000, {2400, 2600}}, {0.2f, 2599, {2800, 2600}}};
    Start([] { AxbSim_PokeParam(218, 1000); });
    machine_zero_offset[kZoom] = 100;
    krv_user_box_data.zoomPos[2] = 2.5f;
    for (const auto& [backlash, from, moves] : kCases) {
        SCOPED_TRACE("backlash " + std::to_string(backlash) + " from " + std::to_string(from));
        krv_user_box_data.zoomBacklash = backlash;
        AxbSim_PlaceAxis(kZoom, from);
        Forget();
        ASSERT_TRUE(ZoomGoto(3));
        EXPECT_EQ(g_zoomState, moves.size() > 1 ? kZoomBacklashing : kZoomMoving);
        ASSERT_TRUE(RunUntilIdle());
        h.Clock().Advance(10);
        std::vector<std::string> expected;
        for (int32_t m : moves)
            expected.push_back(ZoomMove(m));
        EXPECT_EQ(ZoomMoves(), expected);
        EXPECT_NEAR(AxbSim_PeekPosition(kZoom), 2600, 10);
        // The end of a move is logged even without zoom logging, and nothing else is.
        EXPECT_EQ(CountLines("Moving from KRV_STATE_ZOOM_MOVING to KRV_STATE_ZOOM_INACTIVE"), 1);
        EXPECT_THAT(LinesStartingWith({"just changed"}), IsEmpty());
    }
}

TEST_F(ZoomAxis, CountsAreRoundedHalfAwayFromZeroLikeEveryTarget)
{
    // 0.251 mm is 501.99997 counts at 2000 counts/mm in float: truncating
    // would send 501.
    krv_user_box_data.zoomPos[0] = 0.251f;
    krv_user_box_data.zoomPos[1] = 1.0f;
    ZoomGoto(1);
    EXPECT_THAT(ZoomMoves(), ElementsAre(ZoomMove(502)));

    AxbSim_ClearCallLog();
    krv_user_box_data.zoomBacklash = -0.251f;
    AxbSim_PlaceAxis(kZoom, 5000);
    ZoomGoto(2);
    EXPECT_THAT(ZoomMoves(), ElementsAre(ZoomMove(2000 - 502)));
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(2000));

    Forget();
    g_zoomLogLevel = 1;
    krv_user_box_data.homeStartPos = 0.251f;
    AxbSim_PlaceAxis(kZoom, kZoomTravelMin);
    ZoomHomeServo();
    EXPECT_TRUE(Logged("Current pos -4000 Going to -3498"));
}

TEST_F(ZoomAxis, PositionsOutsideOneToTenMoveNothing)
{
    for (int8_t n : {int8_t{0}, int8_t{11}, int8_t{-1}, int8_t{-128}, int8_t{127}}) {
        Forget();
        EXPECT_TRUE(ZoomGoto(n));
        EXPECT_THAT(h.Log().Lines(), ElementsAre("ZoomGoto(" + std::to_string(n) +
                                                 "): no such zoom position (1 to 10), the zoom stays"));
        EXPECT_EQ(g_zoomTargetIndex, -1);
        EXPECT_EQ(g_zoomState, kZoomInactive);
        EXPECT_THAT(ZoomMoves(), IsEmpty());
    }
    ZoomGoto(10);
    EXPECT_THAT(ZoomMoves(), ElementsAre(ZoomMove(0))) << "position 10 is the last one";
}

// Past 0x7FFFFFFF + 30000 ms of uptime a start time that is never recorded
// makes every zoom move time out at once.
class ZoomAfterLongUptime : public ZoomAxis {
protected:
    ZoomAfterLongUptime() : ZoomAxis(0x7FFFFFFFull + 30000 + 5000) {}
};

TEST_F(ZoomAfterLongUptime, MovesAndHomingTimeOutOnlyAfterTheirOwnLimit)
{
    AxbSim_PlaceAxis(kZoom, 40020);
    ZoomHomeServo();
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_TRUE(g_zoomHomed);
    krv_user_box_data.zoomPos[4] = 3.0f;
    ZoomGoto(5);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_FALSE(Logged("ZoomTimer ERROR: Timeout"));

    // A zoom that does not move times out and halts until the next command.
    AxbSim_SetAxisStuck(kZoom, 1);
    Forget();
    ZoomGoto(4);
    const uint32_t started = g_zoom_start_time;
    h.Clock().Advance(30000);
    EXPECT_FALSE(Logged("ZoomTimer ERROR: Timeout"));
    h.Clock().Advance(10);
    EXPECT_TRUE(Logged("ZoomTimer ERROR: Timeout"));
    EXPECT_TRUE(Logged("(GetTickCount()-g_start_time)30010=" + std::to_string(started + 30010) + "-" +
                       std::to_string(started)));
    EXPECT_TRUE(g_zoomTimerHalted);
    EXPECT_EQ(g_zoomState, kZoomMoving) << "the state stays where it was";
    EXPECT_THAT(Calls("AXB_StopAxis("), IsEmpty()) << "the axis is not stopped";
    h.Clock().Advance(60000);
    EXPECT_EQ(CountLines("ZoomTimer ERROR: Timeout"), 1) << "halted";

    WriteSetting(L"zoom", L"timeout_ms", L"5000");
    ZoomGoto(3);
    EXPECT_FALSE(g_zoomTimerHalted);
    h.Clock().Advance(5000);
    EXPECT_EQ(CountLines("ZoomTimer ERROR: Timeout"), 1);
    h.Clock().Advance(10);
    EXPECT_EQ(CountLines("ZoomTimer ERROR: Timeout"), 2) << "the limit is read on every tick";
}

// The board's own home search and every Continuous Home cycle take their
// start time too.
TEST_F(ZoomAfterLongUptime, TheBoardsHomeSearchAndEachContinuousHomeCycleStartTheirClock)
{
    g_zoomType = kZoomMotorNoSwitch;
    AxbSim_PlaceAxis(kZoom, 40020);
    ASSERT_TRUE(StartZoomHome());
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_TRUE(g_zoomHomed);
    g_zoomType = kZoomMotor;
    ChooseAxis(IDC_AXIS_ZOOM);
    Press(IDC_CONT_HOME);
    h.Clock().Advance(60000);
    EXPECT_GE(LinesStartingWith({"0,Q,", "1,Q,"}).size(), 2u) << "two cycles at least";
    EXPECT_FALSE(Logged("ZoomTimer ERROR: Timeout"));
}

TEST_F(ZoomAxis, TheZoomLockIsTakenFromADeadHolderAndBeforeTheBoardLockWithoutWhichNothingMoves)
{
    krv_user_box_data.zoomPos[0] = 1.0f;
    ZoomGoto(1);
    // Another holder of "ZOOM_LOCK" keeps the tick waiting; meanwhile
    // "ZEZ_LOCK" must still be free.
    auto zoomLock = std::make_unique<OtherProgramLock>(L"ZOOM_LOCK");
    bool boardLockFreeWhileWaiting = false;
    std::thread other([&] {
        Sleep(200);
        boardLockFreeWhileWaiting = OtherProgramCanTake(L"ZEZ_LOCK");
        zoomLock.reset();
    });
    ZoomTimer();
    other.join();
    EXPECT_TRUE(boardLockFreeWhileWaiting);
    // One left by a dead holder is taken and released.
    AbandonLockInOtherThread(L"ZOOM_LOCK");
    ASSERT_TRUE(RunUntilIdle()) << "the zoom steps on";
    EXPECT_TRUE(OtherProgramCanTake(L"ZOOM_LOCK"));

    OtherProgramLock boardLock(L"ZEZ_LOCK");
    ASSERT_TRUE(boardLock.Holds());
    Forget();
    EXPECT_FALSE(ZoomGoto(2));
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Failed to get ZEZ_LOCK"));
    EXPECT_THAT(ZoomMoves(), IsEmpty());
}

using ZoomFaults = ZoomAxis;

TEST_F(ZoomFaults, ACommandAfterAHomingTimeoutHomesAgainAndMoves)
{
    krv_user_box_data.zoomPos[1] = 2.0f;
    AxbSim_PlaceAxis(kZoom, 37);
    AxbSim_SetAxisStuck(kZoom, 1);
    ASSERT_TRUE(StartZoomHome());
    h.Clock().Advance(31000);
    ASSERT_TRUE(Logged("ZoomTimer ERROR: Timeout"));
    AxbSim_SetAxisStuck(kZoom, 0);
    Forget();
    ASSERT_TRUE(ZoomGoto(2));
    RunUntil([] { return g_zoomHomed && g_zoomState == kZoomInactive; });
    EXPECT_FALSE(Logged("ZoomTimer ERROR: Timeout"));
    EXPECT_TRUE(g_zoomHomed);
    ASSERT_FALSE(ZoomMoves().empty());
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(4000)) << "2 mm at 2000 counts/mm";
}

TEST_F(ZoomFaults, HomeAndTheDigitKeysForEveryKindOfZoom)
{
    // A key as the message loop hands it to the Zoom dialog.
    auto key = [](HWND to, wchar_t k) { return ForwardZoomDialogKey({to, WM_KEYDOWN, WPARAM{k}, 0, 0, {}}); };
    // What HOME and key "0" send.
    for (const auto& [zoomType, call] : {std::pair{kZoomMotorNoSwitch, "AXB_SeekHome(0,4)=1"},
                                         std::pair{kZoomMotor, "AXB_SetAxisPosAbs(0,4,-100000)=1"}}) {
        SCOPED_TRACE(zoomType);
        WriteSetting(L"stagetune", L"ZoomType", std::to_wstring(zoomType).c_str());
        Start();
        Press(IDC_ZOOM);
        SendMessageW(g_zoomDlg, WM_ACTIVATE, WA_ACTIVE, 0);
        PressButton(g_zoomDlg, IDC_ZOOM_HOME);
        EXPECT_THAT(Calls("AXB_"), Contains(call));
        Forget();
        g_zoomState = kZoomInactive;
        EXPECT_TRUE(key(GetDlgItem(g_zoomDlg, IDC_ZOOM_POSITION), L'0')) << "a read-only field takes no text";
        EXPECT_THAT(Calls("AXB_"), Contains(call));
        EXPECT_FALSE(key(GetDlgItem(g_zoomDlg, IDC_ZOOM_HOME_PERCENT), L'3')) << "typed into the field";
    }
    // A turret goes to its first position.
    WriteSetting(L"stagetune", L"ZoomType", L"3");
    Start();
    Press(IDC_ZOOM);
    PressButton(g_zoomDlg, IDC_ZOOM_HOME);
    EXPECT_TRUE(Logged("OLYMPUS_GoToPosition(1)"));
}

using MainWindowHome = ZoomAxis;

// The lines a zoom sequence writes as it passes through these states.
std::vector<std::string> StateLinesThrough(const std::vector<int>& states)
{
    const char* kNames[] = {"INACTIVE", "SEEKING_HOME", "COMING_OFF_HOME", "", "GOING_TO_ZOOM_START", "SEEKING_HOME2"};
    std::vector<std::string> lines{"just changed to zoom state:" + std::to_string(states[0])};
    for (size_t i = 1; i < states.size(); ++i) {
        lines.push_back(std::string("Moving from KRV_STATE_ZOOM_") + kNames[states[i - 1]] + " to KRV_STATE_ZOOM_" +
                        kNames[states[i]]);
        lines.push_back("just changed to zoom state:" + std::to_string(states[i]));
    }
    return lines;
}

TEST_F(MainWindowHome, HomeRunsTheZoomsStatesFromAnywhereAndEndsAtCounterZero)
{
    // Where the zoom starts, whether it has no home switch ("ZoomType" 5),
    // the states it passes through. The runs onto the switch end between two
    // milliseconds: the simulated board does not start a move away from its
    // lower limit that is commanded in the very millisecond the run onto it
    // ends.
    const std::tuple<const char*, int32_t, bool, std::vector<int>> kCases[] = {
        {"far above", 60020, false, {1, 2, 4, 5, 0}}, {"near zero", 1234, false, {1, 2, 4, 5, 0}},
        {"on the switch", kZoomTravelMin, false, {2, 4, 5, 0}}, {"without a switch", 25000, true, {1, 0}}};
    for (const auto& [name, start, noSwitch, states] : kCases) {
        SCOPED_TRACE(name);
        // The program learns the kind of zoom as it starts.
        Start([type = noSwitch ? L"5" : L"0", this] { WriteSetting(L"stagetune", L"ZoomType", type); });
        ChooseAxis(IDC_AXIS_ZOOM);
        AxbSim_PlaceAxis(kZoom, start);
        g_zoomLogLevel = 1;
        Forget();
        Press(IDC_HOME);
        EXPECT_TRUE(Logged(noSwitch ? "ZoomHomeNoLimit called" : "ZoomHomeServo called"));
        ASSERT_TRUE(RunUntilIdle());
        h.Clock().Advance(10);
        EXPECT_EQ(LinesStartingWith({"Moving from", "just changed"}), StateLinesThrough(states));
        EXPECT_THAT(Calls("AXB_SeekHome("), ElementsAre("AXB_SeekHome(0,4)=1"));
        EXPECT_TRUE(g_zoomHomed);
        EXPECT_EQ(g_offset[kZoom], 0);
        h.Clock().Advance(100);
        EXPECT_EQ(AxbSim_PeekPosition(kZoom), 0);
    }
}

TEST_F(MainWindowHome, ContinuousHomeHomesGoesToTheTargetAndLogsEachCycle)
{
    ChooseAxis(IDC_AXIS_ZOOM);
    AxbSim_PlaceAxis(kZoom, 25000);
    g_targetMm[kZoom] = 0.251f;
    Press(IDC_CONT_HOME);
    EXPECT_EQ(g_contHomeState, kContHomeHoming);
    EXPECT_TRUE(Logged("ZoomHomeServo called"));

    ASSERT_TRUE(RunUntil([] { return g_contHomeState == kContHomeGoing; }));
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(502)) << "the target in counts, rounded";

    RunUntil([&] { return !LinesStartingWith({"0,Q,"}).empty(); });
    const auto cycle = LinesStartingWith({"0,Q,"});
    ASSERT_EQ(cycle.size(), 1u);
    EXPECT_TRUE(std::regex_match(cycle[0], std::regex(R"(0,Q,0,V,50[0-9],Delta,-50[0-9],time,\d+)"))) << cycle[0];
    EXPECT_EQ(ZoomMoves().back(), ZoomMove(-100000));
    EXPECT_EQ(g_zoomState, kZoomSeekingHome);

    RunUntil([&] { return !LinesStartingWith({"1,Q,"}).empty(); });
    EXPECT_EQ(LinesStartingWith({"1,Q,"}).size(), 1u) << "and round again";

    Press(IDC_CONT_HOME);
    EXPECT_EQ(g_contHomeState, kContHomeOff);
    EXPECT_EQ(g_zoomState, kZoomInactive);
}

TEST_F(MainWindowHome, ContinuousHomeRestartsAMoveThatTakesOverAMinute)
{
    ChooseAxis(IDC_AXIS_ZOOM);
    AxbSim_SetAxisStuck(kZoom, 1);
    // The zoom's own timeout would halt the sequence first.
    WriteSetting(L"zoom", L"timeout_ms", L"100000");
    Press(IDC_CONT_HOME);
    Forget();
    h.Clock().Advance(60000);
    EXPECT_THAT(LinesStartingWith({"***Timed out"}), ::testing::IsEmpty());
    h.Clock().Advance(10);
    EXPECT_THAT(LinesStartingWith({"***Timed out"}),
                ElementsAre("***Timed out waiting for goto to complete,pos,0,lag,0"));
    EXPECT_TRUE(Logged("ZoomHomeServo called")) << "homing starts again";
    EXPECT_EQ(g_zoom_start_time, NowMs()) << "and its move is timed from now";
}

constexpr uint32_t kNewFirmware = 0x02060703;
constexpr uint32_t kOldFirmware = 0x02060702;

class ZoomDialog : public ZoomAxis {
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
    HWND Open() { Press(IDC_ZOOM); return g_zoomDlg; }
    using ProgramTest::Text;
    std::string Text(int id) { return Text(g_zoomDlg, id); }

    // Keys as the keyboard delivers them, through the program's message loop.
    static void TypeKeys(HWND target, const std::string& keys)
    {
        for (char key : keys)
            PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
        PostQuitMessage(0);
        RunMessageLoop();
    }
};

TEST_F(ZoomDialog, ShowsTheStoredPositionsAndTheSecondHomeVelocityKeepsUnsavedEditsAndGoesThere)
{
    // P235 and the percent it shows: hundredths from firmware 2.6.7.3 on, before it at least 2 %.
    const std::tuple<uint32_t, uint32_t, const char*, const char*> kCases[] = {
        {kNewFirmware, 150, "1.5", ".1 to 100.0"}, {kNewFirmware, 5, "0.1", ".1 to 100.0"},
        {kOldFirmware, 150, "10", "2.0 to 100.0"}, {kOldFirmware, 2550, "25.5", "2.0 to 100.0"}};
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
    // The dialog keeps the record's unsaved edits ("Here" or User Parameters)
    // and moves to them: the flash is not read again.
    krv_user_box_data.zoomPos[0] = 7.5f;
    Forget();
    HWND dlg = Open();
    EXPECT_EQ(Text(IDC_ZOOM_POS_1), "7.5");
    EXPECT_THAT(Calls("AXB_ReadFlashWord("), IsEmpty());
    std::vector<std::string> expected;
    for (int n = 0; n < kZoomPositions; ++n) {
        PressButton(dlg, kButtons[n]);
        expected.push_back(ZoomMove(static_cast<int32_t>((n ? kPositionsMm[n] : 7.5f) * 2000)));
    }
    EXPECT_EQ(ZoomMoves(), expected);
    EXPECT_EQ(krv_user_box_data.zoomPos[0], 7.5f);
}

TEST_F(ZoomDialog, ApplyAndOkChangeOnlyTheParameterTable)
{
    AxbSim_PokeParam(233, 7);
    g_param[233] = 7;
    const uint32_t boardP235 = AxbSim_PeekParam(235);
    HWND dlg = Open();
    EXPECT_EQ(Selected(dlg, IDC_ZOOM_HOME_TYPE), 1);

    // Hundredths of a percent, within the firmware's minimum: 0.1 % from 2.6.7.3 on, 2 % before it.
    const std::tuple<uint32_t, const wchar_t*, uint32_t> kPercents[] = {
        {kNewFirmware, L"0.05", 10}, {kNewFirmware, L"0.1", 10}, {kOldFirmware, L"1.5", 200},
        {kOldFirmware, L"2", 200},   {kOldFirmware, L"2.5", 250}, {kNewFirmware, L"37.125", 3713}};
    for (const auto& [firmware, typed, p235] : kPercents) {
        g_firmwareVersion = firmware;
        TypeText(dlg, IDC_ZOOM_HOME_PERCENT, typed);
        PressButton(dlg, IDC_ZOOM_APPLY);
        EXPECT_EQ(g_param[235], p235) << Narrow(typed);
    }
    EXPECT_TRUE(Logged("IDD_BUTTON_APPLY_PERCENT:37.125,3713"));
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
    AxbSim_PlaceAxis(kZoom, 4000);
    g_offset[kZoom] = 1000;
    h.Clock().Advance(20);
    EXPECT_EQ((std::vector{Text(IDC_ZOOM_POSITION), Text(IDC_ZOOM_FOLLOWING), Text(IDC_ZOOM_AXIS_STATUS),
                           Text(IDC_ZOOM_ERROR)}),
              (std::vector<std::string>{"1.5000", "0.0000", "05", "00"}));
    const unsigned ticks = std::stoul(Text(IDC_ZOOM_TICKS));
    h.Clock().Advance(40);   // the readout is repainted every 40 ms
    EXPECT_EQ(std::stoul(Text(IDC_ZOOM_TICKS)), ticks + 4);

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
        {"close box", CloseByCloseBox}, {"Esc", [](HWND dlg) { SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0); }},
        {"OK", [](HWND dlg) { PressButton(dlg, IDC_ZOOM_OK); }}, {"destroyed", [](HWND dlg) { DestroyWindow(dlg); }}};
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
