// Auto-home on the simulated board: the zero from the end stops from
// several start positions, Z waiting for the others, the fences, Cancel, the
// close box, Stop, an injected status error and an axis that finds no mark.
#include "tests/homing/homing_fixture.h"

#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "infra/settings.h"
#include "motion/circular_goto.h"
#include "motion/multi_axis_goto.h"
#include "params/goto_settings.h"

#include <gmock/gmock.h>

#include <string>

using ::testing::Contains;

namespace {

constexpr int32_t kXTravelMax = 350000;
constexpr int32_t kYTravelMin = -50000;
constexpr int32_t kZTravelMax = 50000;

struct StartCase {
    int32_t x, y, z;
};

constexpr StartCase kStarts[] = {{0, 0, 0}, {120000, -30000, -100000}, {250000, 200000, 20000}};

TEST_F(HomingTest, LimitHomingGivesTheSameZeroFromEveryStartAndZWaits)
{
    Home(kAxisX, kZeroLimit);
    Home(kAxisY, kZeroLimit, true);
    Home(kAxisZ, kZeroLimit);
    int32_t firstZero[3] = {};
    bool first = true;
    for (const StartCase& start : kStarts) {
        SCOPED_TRACE(start.x);
        const int32_t starts[3] = {start.x, start.y, start.z};
        for (int axis : {kAxisX, kAxisY, kAxisZ})
            AxbSim_PlaceAxis(axis, starts[axis]);
        h.Log().Clear();
        AxbSim_ClearCallLog();
        RunAutoHome();
        ASSERT_TRUE(dialogSeen);
        EXPECT_EQ(progressText, "Homing X,Y,Z Axes");
        EXPECT_FALSE(IsAutoHomeRunning());
        // The zero is where the stop was read, at the end of travel.
        EXPECT_NEAR(g_offset[kAxisX], kXTravelMax, 100);
        EXPECT_NEAR(g_offset[kAxisY], kYTravelMin, 100);
        EXPECT_NEAR(g_offset[kAxisZ], kZTravelMax, 100);
        for (int axis : {kAxisX, kAxisY, kAxisZ}) {
            if (first)
                firstZero[axis] = g_offset[axis];
            EXPECT_EQ(g_offset[axis], firstZero[axis]);
            EXPECT_TRUE(g_homeRefFound[axis]);
            // Each is sent back where it started.
            EXPECT_THAT(SimCalls(), Contains("AXB_SetAxisPosAbs(0," + std::to_string(axis) + "," +
                                             std::to_string(starts[axis]) + ")=1"));
        }
        first = false;
        EXPECT_EQ(AxbSim_PeekPosition(kAxisZ), start.z);
        EXPECT_TRUE(Logged("single reference mark home on axis: 0 count: " + std::to_string(g_offset[kAxisX])));
        EXPECT_TRUE(Logged("Homing Status Z = HOME_STAGE_Z_WAITING"));
        // Z leaves its zero only after X and Y are done.
        const int zReturns = LineIndex("Homing Status Z = HOME_STAGE_RETURNING");
        ASSERT_GE(zReturns, 0);
        EXPECT_GT(zReturns, LastLineIndex("Homing Status X = HOMING_STAGE_INACTIVE"));
        EXPECT_GT(zReturns, LastLineIndex("Homing Status Y = HOMING_STAGE_INACTIVE"));
        EXPECT_TRUE(Logged("ED2"));
        EXPECT_TRUE(Logged("ED4"));
    }
}

TEST_F(HomingTest, StepLinesAndTheSpeedSentFollowTheSettings)
{
    WriteSettingString(L"stagetune", L"LogAutoHomeStates", L"1");
    Home(kAxisX, kZeroLimit, false, 37.9f);
    Home(kAxisY, kZeroLimit, true, 0.5f);
    Home(kAxisZ, kZeroLimit, false, 700.0f);
    RunAutoHome();
    EXPECT_TRUE(Logged("1:SAPA(0,0,1000000000)"));
    EXPECT_TRUE(Logged("1:SAPA(0,1,-1000000000)"));
    EXPECT_TRUE(Logged("10:SAPA(0,0,0)"));
    // 37.9 % goes out as 37; half a percent as 1, not 0 (which would never move).
    EXPECT_THAT(SimCalls(), Contains("AXB_SetVelocityPercent(0,0,3700)=1"));
    EXPECT_THAT(SimCalls(), Contains("AXB_SetVelocityPercent(0,1,100)=1"));
    // 700 % at scale 100 is the fastest word, not the crawl of 70000 - 65536.
    EXPECT_THAT(SimCalls(), Contains("AXB_SetVelocityPercent(0,2,65535)=1"));
    EXPECT_EQ(g_offset[kAxisY], kYTravelMin);
    EXPECT_TRUE(Logged("Setting velocity"));
    EXPECT_EQ(g_cmdVelPercent[kAxisX], 100);
}

TEST_F(HomingTest, FencesOpenDuringTheRunAndFollowTheUserValuesAfterIt)
{
    krv_user_box_data.swFenceEnabled[kAxisX] = 1;
    krv_user_box_data.swFencePlus[kAxisX] = 5000;
    krv_user_box_data.swFenceMinus[kAxisX] = -400000;
    machine_zero_offset[kAxisX] = 20;
    Home(kAxisX, kZeroLimit);
    bool openWhileRunning = false;
    RunAutoHome(60000, [&](HWND) {
        if (IsAutoHomeRunning())
            openWhileRunning = openWhileRunning || AxbSim_PeekParam(68) == 1000000000u;
        return false;
    });
    EXPECT_TRUE(openWhileRunning);
    EXPECT_TRUE(Logged("RLB:Enabling software fence on axis 0"));
    EXPECT_EQ(static_cast<int32_t>(AxbSim_PeekParam(68)), 5000 + g_offset[kAxisX] + 20);
    EXPECT_EQ(static_cast<int32_t>(AxbSim_PeekParam(69)), -400000 + g_offset[kAxisX] + 20);
}

TEST_F(HomingTest, AutoHomeSwitchesOffTheMotionThatWouldFightTheSweeps)
{
    Home(kAxisX, kZeroLimit);
    g_contGotoState = kContGotoMoving;
    g_contHomeState = kContHomeHoming;
    g_multiGotoRunning = 1;
    RunAutoHome(20, [&](HWND) { return true; });
    EXPECT_EQ(g_contGotoState, kContGotoOff);
    EXPECT_EQ(g_contHomeState, kContHomeOff);
    EXPECT_EQ(g_multiGotoRunning, 0);
}

struct StopCase {
    const char* name;
    std::function<void(HWND main, HWND dialog)> stop;
    const char* endLine;
};

TEST_F(HomingTest, CancelCloseBoxAndStopEndTheRunAndRestoreTheSpeed)
{
    const StopCase cases[] = {
        {"Cancel", [](HWND, HWND dialog) { PressButton(dialog, IDC_AUTO_HOME_CANCEL); }, "ED1"},
        {"close box", [](HWND, HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); }, "ED3"},
        {"Stop", [](HWND mainWnd, HWND) { PressButton(mainWnd, IDC_STOP); }, "ED2"},
        {"Multi Axis Goto Stop", [](HWND, HWND) { PressButton(g_multiGotoWnd, IDC_MAG_STOP); }, "ED2"},
        {"Circular goto Stop", [](HWND, HWND) { PressButton(g_circularGotoWnd, IDC_CIRC_STOP); }, "ED2"},
    };
    // The goto windows stand beside the main window while the run goes on.
    PressButton(main, IDC_MULTI_AXIS_GOTO);
    PressButton(main, IDC_CIRCULAR_GOTO);
    Home(kAxisX, kZeroSingleMark, false, 20.0f);
    Home(kAxisZ, kZeroSingleMark, false, 20.0f);
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        AxbSim_PlaceAxis(kAxisX, 0);
        AxbSim_PlaceAxis(kAxisZ, 0);
        h.Log().Clear();
        AxbSim_ClearCallLog();
        int ticks = 0;
        RunAutoHome(5000, [&](HWND dialog) {
            if (++ticks == 50)
                c.stop(main, dialog);
            return false;
        });
        EXPECT_FALSE(IsAutoHomeRunning());
        for (int axis : {kAxisX, kAxisZ}) {
            EXPECT_EQ(g_homingStage[axis], kStageInactive);
            EXPECT_FALSE(g_homeRefFound[axis]);
        }
        EXPECT_TRUE(Logged(c.endLine));
        // A stop by hand is not the end of travel.
        EXPECT_FALSE(Logged("Just hit positive limit on axis 0"));
        EXPECT_THAT(SimCalls(), Contains("AXB_StopAxis(0,0)=1"));
        EXPECT_THAT(SimCalls(), Contains("AXB_SetVelocityPercent(0,0,10000)=1"));
        h.Clock().Advance(1000);   // braking
        const int32_t stoppedAt = AxbSim_PeekPosition(kAxisX);
        h.Clock().Advance(1000);
        EXPECT_EQ(AxbSim_PeekPosition(kAxisX), stoppedAt);
        EXPECT_LT(stoppedAt, 100000);
    }
}

TEST_F(HomingTest, StatusErrorAbortsStopsTheAxesAndSaysSo)
{
    krv_user_box_data.swFenceEnabled[kAxisX] = 1;
    krv_user_box_data.swFencePlus[kAxisX] = 5000;
    Home(kAxisX, kZeroLimit, false, 20.0f);
    h.AnswerNextMessageBox(IDOK);
    int ticks = 0;
    RunAutoHome(5000, [&](HWND) {
        if (++ticks == 30)
            AxbSim_SetSystemStatus(0x02);   // emergency stop
        return false;
    });
    EXPECT_TRUE(g_homingAborted);
    EXPECT_THAT(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    EXPECT_TRUE(Logged("ED2"));
    h.Clock().Advance(1000);   // braking
    const int32_t stoppedAt = AxbSim_PeekPosition(kAxisX);
    h.Clock().Advance(1000);
    EXPECT_EQ(AxbSim_PeekPosition(kAxisX), stoppedAt);
    EXPECT_LT(stoppedAt, kXTravelMax - 100000);
    EXPECT_EQ(AxbSim_PeekParam(68), 1000000000u);
}

TEST_F(HomingTest, AnAxisThatFindsNoMarkStaysNotHomedAndTheRunSaysSo)
{
    krv_user_box_data.swFenceEnabled[kAxisX] = 1;
    krv_user_box_data.swFencePlus[kAxisX] = 5000;
    Home(kAxisX, kZeroSingleMark);
    Home(kAxisY, kZeroLimit);
    h.AnswerNextMessageBox(IDOK);
    RunAutoHome();
    EXPECT_EQ(g_homingStage[kAxisX], kStageIrrecoverableError);
    EXPECT_TRUE(Logged("Just hit positive limit on axis 0"));
    EXPECT_TRUE(Logged("-error we just hit both limits or we got 2 following errors"));
    EXPECT_FALSE(g_homeRefFound[kAxisX]);
    EXPECT_TRUE(g_homeRefFound[kAxisY]);
    EXPECT_THAT(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    // The fence of an axis with an unknown zero stays open.
    EXPECT_TRUE(Logged("RLB:Failed to enable software fence on axis 0 Autohome not complete"));
    EXPECT_EQ(AxbSim_PeekParam(68), 1000000000u);
}

TEST_F(HomingTest, NoAxisEnabledOrNoConfirmationStartsNothing)
{
    h.AnswerNextMessageBox(IDOK);
    PressButton(main, IDC_AUTO_HOME);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"No axes enabled for auto home");
    EXPECT_TRUE(Logged("IsAutoHomeEnabled returning0"));

    Home(kAxisX, kZeroLimit);
    h.AnswerNextMessageBox(IDCANCEL);
    AxbSim_ClearCallLog();
    PressButton(main, IDC_AUTO_HOME);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"About to Auto Home");
    EXPECT_FALSE(IsAutoHomeRunning());
    EXPECT_TRUE(SimCallsStartingWith("AXB_SetAxisPosAbs(").empty());
}

} // namespace
