// Auto-home on the simulated board: the zero from the end stops from
// several start positions, Z waiting for the others, the fences, Cancel, the
// close box, Stop, an injected status error and an axis that finds no mark.
#include "tests/homing/homing_fixture.h"

#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "motion/circular_goto.h"
#include "motion/multi_axis_goto.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <array>

using ::testing::Contains;

namespace {

constexpr int32_t kXTravelMax = 350000;
constexpr int32_t kYTravelMin = -50000;
constexpr int32_t kZTravelMax = 50000;

TEST_F(HomingTest, LimitHomingGivesTheSameZeroFromEveryStartAndZWaits)
{
    Home(kAxisX, kZeroLimit);
    Home(kAxisY, kZeroLimit, true);
    Home(kAxisZ, kZeroLimit);
    constexpr std::array<int32_t, 3> kStarts[] = {{0, 0, 0}, {120000, -30000, -100000}, {250000, 200000, 20000}};
    std::array<int32_t, 3> firstZero{};
    for (const auto& start : kStarts) {
        SCOPED_TRACE(start[kAxisX]);
        for (int axis : {kAxisX, kAxisY, kAxisZ})
            AxbSim_PlaceAxis(axis, start[axis]);
        Forget();
        RunAutoHome();
        EXPECT_EQ(progressText, "Homing X,Y,Z Axes");
        EXPECT_FALSE(IsAutoHomeRunning());
        // The zero is where the stop was read, at the end of travel.
        EXPECT_NEAR(g_offset[kAxisX], kXTravelMax, 100);
        EXPECT_NEAR(g_offset[kAxisY], kYTravelMin, 100);
        EXPECT_NEAR(g_offset[kAxisZ], kZTravelMax, 100);
        if (&start == kStarts)
            std::copy_n(g_offset, 3, firstZero.begin());
        for (int axis : {kAxisX, kAxisY, kAxisZ}) {
            EXPECT_EQ(g_offset[axis], firstZero[axis]);
            EXPECT_TRUE(g_homeRefFound[axis]);
            // Each is sent back where it started.
            EXPECT_THAT(Calls("AXB_SetAxisPosAbs(0," + std::to_string(axis) + ","),
                        Contains("AXB_SetAxisPosAbs(0," + std::to_string(axis) + "," + std::to_string(start[axis]) +
                                 ")=1"));
        }
        EXPECT_EQ(AxbSim_PeekPosition(kAxisZ), start[kAxisZ]);
        EXPECT_TRUE(Logged("single reference mark home on axis: 0 count: " + std::to_string(g_offset[kAxisX])));
        // Z waits on its end stop and leaves it only once X and Y are done.
        const auto stages = LinesStartingWith({"Homing Status"});
        const auto zReturns = std::find(stages.begin(), stages.end(), "Homing Status Z = HOME_STAGE_RETURNING");
        ASSERT_NE(zReturns, stages.end());
        for (const char* before : {"Homing Status Z = HOME_STAGE_Z_WAITING", "Homing Status X = HOMING_STAGE_INACTIVE",
                                   "Homing Status Y = HOMING_STAGE_INACTIVE"})
            EXPECT_NE(std::find(stages.begin(), zReturns, before), zReturns) << before;
        EXPECT_TRUE(std::all_of(zReturns, stages.end(), [](const std::string& l) { return l.rfind("Homing Status Z", 0) == 0; }));
        EXPECT_TRUE(Logged("ED2"));
        EXPECT_TRUE(Logged("ED4"));
    }
}

TEST_F(HomingTest, StepLinesAndTheSpeedSentFollowTheSettings)
{
    WriteSetting(L"stagetune", L"LogAutoHomeStates", L"1");
    Home(kAxisX, kZeroLimit, false, 37.9f);
    Home(kAxisY, kZeroLimit, true, 0.5f);
    Home(kAxisZ, kZeroLimit, false, 700.0f);
    RunAutoHome();
    EXPECT_TRUE(Logged("1:SAPA(0,0,1000000000)"));
    EXPECT_TRUE(Logged("1:SAPA(0,1,-1000000000)"));
    EXPECT_TRUE(Logged("10:SAPA(0,0,0)"));
    const auto speeds = Calls("AXB_SetVelocityPercent(");
    // 37.9 % goes out as 37; half a percent as 1, not 0 (which would never move).
    EXPECT_THAT(speeds, Contains("AXB_SetVelocityPercent(0,0,3700)=1"));
    EXPECT_THAT(speeds, Contains("AXB_SetVelocityPercent(0,1,100)=1"));
    // 700 % at scale 100 is the fastest word, not the crawl of 70000 - 65536.
    EXPECT_THAT(speeds, Contains("AXB_SetVelocityPercent(0,2,65535)=1"));
    EXPECT_EQ(g_offset[kAxisY], kYTravelMin);
    EXPECT_TRUE(Logged("Setting velocity"));
    EXPECT_EQ(g_cmdVelPercent[kAxisX], 100);
}

TEST_F(HomingTest, FencesOpenDuringTheRunAndFollowTheUserValuesAfterIt)
{
    FenceX(5000);
    krv_user_box_data.swFenceMinus[kAxisX] = -400000;
    machine_zero_offset[kAxisX] = 20;
    Home(kAxisX, kZeroLimit);
    bool openWhileRunning = false;
    RunAutoHome(60000, [&](HWND) {
        openWhileRunning = openWhileRunning || (IsAutoHomeRunning() && FenceXOpen());
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

TEST_F(HomingTest, CancelCloseBoxAndStopEndTheRunAndRestoreTheSpeed)
{
    struct StopCase {
        const char* name;
        std::function<void(HWND main, HWND dialog)> stop;
        const char* endLine;
    };
    const StopCase cases[] = {
        {"Cancel", [](HWND, HWND dialog) { PressButton(dialog, IDC_AUTO_HOME_CANCEL); }, "ED1"},
        {"close box", [](HWND, HWND dialog) { CloseByCloseBox(dialog); }, "ED3"},
        {"Stop", [](HWND mainWnd, HWND) { PressButton(mainWnd, IDC_STOP); }, "ED2"},
        {"Multi Axis Goto Stop", [](HWND, HWND) { PressButton(g_multiGotoWnd, IDC_MAG_STOP); }, "ED2"},
        {"Circular goto Stop", [](HWND, HWND) { PressButton(g_circularGotoWnd, IDC_CIRC_STOP); }, "ED2"},
    };
    // The goto windows stand beside the main window while the run goes on.
    Press(IDC_MULTI_AXIS_GOTO);
    Press(IDC_CIRCULAR_GOTO);
    Home(kAxisX, kZeroSingleMark, false, 20.0f);
    Home(kAxisZ, kZeroSingleMark, false, 20.0f);
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        AxbSim_PlaceAxis(kAxisX, 0);
        AxbSim_PlaceAxis(kAxisZ, 0);
        Forget();
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
        EXPECT_THAT(Calls("AXB_StopAxis("), Contains("AXB_StopAxis(0,0)=1"));
        EXPECT_THAT(Calls("AXB_SetVelocityPercent("), Contains("AXB_SetVelocityPercent(0,0,10000)=1"));
        EXPECT_LT(WhereXStopped(), 100000);
    }
}

TEST_F(HomingTest, StatusErrorAbortsStopsTheAxesAndSaysSo)
{
    FenceX(5000);
    Home(kAxisX, kZeroLimit, false, 20.0f);
    h.AnswerNextMessageBox(IDOK);
    int ticks = 0;
    RunAutoHome(5000, [&](HWND) {
        if (++ticks == 30)
            AxbSim_SetSystemStatus(0x02);   // emergency stop
        return false;
    });
    EXPECT_TRUE(g_homingAborted);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    EXPECT_TRUE(Logged("ED2"));
    EXPECT_LT(WhereXStopped(), kXTravelMax - 100000);
    EXPECT_TRUE(FenceXOpen());
}

TEST_F(HomingTest, AnAxisThatFindsNoMarkStaysNotHomedAndTheRunSaysSo)
{
    FenceX(5000);
    Home(kAxisX, kZeroSingleMark);
    Home(kAxisY, kZeroLimit);
    h.AnswerNextMessageBox(IDOK);
    RunAutoHome();
    EXPECT_EQ(g_homingStage[kAxisX], kStageIrrecoverableError);
    EXPECT_TRUE(Logged("Just hit positive limit on axis 0"));
    EXPECT_TRUE(Logged("-error we just hit both limits or we got 2 following errors"));
    EXPECT_FALSE(g_homeRefFound[kAxisX]);
    EXPECT_TRUE(g_homeRefFound[kAxisY]);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    // The fence of an axis with an unknown zero stays open.
    EXPECT_TRUE(Logged("RLB:Failed to enable software fence on axis 0 Autohome not complete"));
    EXPECT_TRUE(FenceXOpen());
}

TEST_F(HomingTest, NoAxisEnabledOrNoConfirmationStartsNothing)
{
    h.AnswerNextMessageBox(IDOK);
    Press(IDC_AUTO_HOME);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"No axes enabled for auto home");
    EXPECT_TRUE(Logged("IsAutoHomeEnabled returning0"));

    Home(kAxisX, kZeroLimit);
    h.AnswerNextMessageBox(IDCANCEL);
    Forget();
    Press(IDC_AUTO_HOME);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"About to Auto Home");
    EXPECT_FALSE(IsAutoHomeRunning());
    EXPECT_TRUE(Calls("AXB_SetAxisPosAbs(").empty());
}

} // namespace
