// Auto-home on the simulated board: from the end stops and on the marks of
// single-mark and distance-coded scales, Z waiting, the fences, every way to
// end a run, an axis that fails; and the reference marks' own checks.
#include "board/fences.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "homing/reference_marks.h"
#include "motion/circular_goto.h"
#include "motion/multi_axis_goto.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

constexpr int32_t kXTravelMin = -50000;
constexpr int32_t kXTravelMax = 350000;
constexpr int32_t kYTravelMin = -50000;
constexpr int32_t kZTravelMax = 50000;

// X's scale as the technician describes it: the fixed increment and the
// pitch in counts, the coding convention and the count direction.
void ScaleFiguresX(uint32_t increment, uint32_t pitch, bool acuRite = false, bool reversed = false)
{
    g_param[AxisParam(70, kAxisX)] = increment;
    g_param[AxisParam(71, kAxisX)] = pitch;
    g_param[AxisParam(73, kAxisX)] = acuRite ? 2 : 0;
    g_param[20] = reversed ? 1 : 0;
}

// The program with auto-home set up through the flash record, and the
// progress dialog worked as a technician would: the clock runs while it is
// open, and a test may act at any moment of the run.
class HomingTest : public ProgramTest {
protected:
    // The first tick's readiness check reads the flash record and the
    // parameters again: the tests set them up after it.
    void SetUp() override { Start(); }

    void Home(int axis, uint8_t method, bool negative = false, float velocity = 0.0f)
    {
        krv_user_box_data.autoHomeEnabled[axis] = 1;
        krv_user_box_data.zeroingMethod[axis] = method;
        krv_user_box_data.homingScanDirection[axis] = negative ? 1 : 0;
        krv_user_box_data.autoHomeVelocityPercent[axis] = velocity;
    }
    void FenceX(int32_t plus)
    {
        krv_user_box_data.swFenceEnabled[kAxisX] = 1;
        krv_user_box_data.swFencePlus[kAxisX] = plus;
    }
    // X's fence stands wide open, as during a run.
    static bool FenceXOpen() { return AxbSim_PeekParam(68) == 1000000000u; }

    // Presses "Auto Home", confirms, and lets the run go on for at most
    // maxMs with the progress dialog open, then presses Cancel; `during` may
    // act after every 10 ms, told which 10 ms it is (from 1).
    void RunAutoHome(uint32_t maxMs = 60000, const std::function<void(HWND, int)>& during = {})
    {
        h.AnswerNextMessageBox(IDOK);
        OpenModal(IDC_AUTO_HOME, [&](HWND dialog) {
            progressText = Text(dialog, IDC_AUTO_HOME_AXES);
            for (uint32_t ms = 0; ms < maxMs && !ModalDialogEnded(dialog); ms += 10) {
                h.Clock().Advance(10);
                if (during)
                    during(dialog, static_cast<int>(ms / 10 + 1));
            }
            if (!ModalDialogEnded(dialog))
                PressButton(dialog, IDC_AUTO_HOME_CANCEL);
        });
    }
    // X homes alone from `start`, sweeping down or up, with no zero yet.
    void HomeXFrom(int32_t start, bool negative)
    {
        krv_user_box_data.homingScanDirection[kAxisX] = negative;
        AxbSim_PlaceAxis(kAxisX, start);
        g_offset[kAxisX] = 0;
        Forget();
        RunAutoHome();
    }
    // Stopped axes stand still: X has braked and moves no more.
    int32_t WhereXStopped()
    {
        h.Clock().Advance(1000);
        const int32_t stoppedAt = AxbSim_PeekPosition(kAxisX);
        h.Clock().Advance(1000);
        EXPECT_EQ(AxbSim_PeekPosition(kAxisX), stoppedAt);
        return stoppedAt;
    }

    std::string progressText;
};

TEST_F(HomingTest, LimitHomingGivesTheSameZeroFromEveryStartZWaitsAndTheFencesFollow)
{
    Home(kAxisX, kZeroLimit);
    Home(kAxisY, kZeroLimit, true);
    Home(kAxisZ, kZeroLimit);
    FenceX(5000);
    krv_user_box_data.swFenceMinus[kAxisX] = -400000;
    machine_zero_offset[kAxisX] = 20;
    constexpr std::array<int32_t, 3> kStarts[] = {{0, 0, 0}, {120000, -30000, -100000}, {250000, 200000, 20000}};
    std::array<int32_t, 3> firstZero{};
    for (const auto& start : kStarts) {
        SCOPED_TRACE(start[kAxisX]);
        for (int axis : {kAxisX, kAxisY, kAxisZ})
            AxbSim_PlaceAxis(axis, start[axis]);
        Forget();
        bool fenceOpenWhileRunning = false;
        RunAutoHome(60000, [&](HWND, int) {
            fenceOpenWhileRunning = fenceOpenWhileRunning || (IsAutoHomeRunning() && FenceXOpen());
        });
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
            const std::string axisCall = "AXB_SetAxisPosAbs(0," + std::to_string(axis) + ",";
            EXPECT_THAT(Calls(axisCall), Contains(axisCall + std::to_string(start[axis]) + ")=1"));
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
        EXPECT_TRUE(std::all_of(zReturns, stages.end(), [](auto& l) { return l.rfind("Homing Status Z", 0) == 0; }));
        EXPECT_TRUE(Logged("ED2"));
        EXPECT_TRUE(Logged("ED4"));
        // The fence is open for the run and then set from the user values.
        EXPECT_TRUE(fenceOpenWhileRunning);
        EXPECT_TRUE(Logged("RLB:Enabling software fence on axis 0"));
        EXPECT_EQ(static_cast<int32_t>(AxbSim_PeekParam(68)), 5000 + g_offset[kAxisX] + 20);
        EXPECT_EQ(static_cast<int32_t>(AxbSim_PeekParam(69)), -400000 + g_offset[kAxisX] + 20);
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

TEST_F(HomingTest, CancelCloseBoxAndStopEndTheRunAndRestoreTheSpeed)
{
    // The button pressed, in the progress dialog (no window) or another;
    // none: the dialog's close box. And the line the run ends with.
    const std::tuple<const char*, HWND*, int, const char*> kCases[] = {
        {"Cancel", nullptr, IDC_AUTO_HOME_CANCEL, "ED1"}, {"close box", nullptr, 0, "ED3"},
        {"Stop", &main, IDC_STOP, "ED2"}, {"Multi Axis Goto Stop", &g_multiGotoWnd, IDC_MAG_STOP, "ED2"},
        {"Circular goto Stop", &g_circularGotoWnd, IDC_CIRC_STOP, "ED2"}};
    // The goto windows stand beside the main window while the run goes on.
    Press(IDC_MULTI_AXIS_GOTO);
    Press(IDC_CIRCULAR_GOTO);
    Home(kAxisX, kZeroSingleMark, false, 20.0f);
    Home(kAxisZ, kZeroSingleMark, false, 20.0f);
    for (const auto& [name, window, button, endLine] : kCases) {
        SCOPED_TRACE(name);
        AxbSim_PlaceAxis(kAxisX, 0);
        AxbSim_PlaceAxis(kAxisZ, 0);
        Forget();
        RunAutoHome(5000, [&, window = window, button = button](HWND dialog, int tick) {
            if (tick == 50)
                button ? PressButton(window ? *window : dialog, button) : CloseByCloseBox(dialog);
        });
        EXPECT_FALSE(IsAutoHomeRunning());
        for (int axis : {kAxisX, kAxisZ}) {
            EXPECT_EQ(g_homingStage[axis], kStageInactive);
            EXPECT_FALSE(g_homeRefFound[axis]);
        }
        EXPECT_TRUE(Logged(endLine));
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
    RunAutoHome(5000, [&](HWND, int tick) {
        if (tick == 30)
            AxbSim_SetSystemStatus(0x02);   // emergency stop
    });
    EXPECT_TRUE(g_homingAborted);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    EXPECT_TRUE(Logged("ED2"));
    EXPECT_LT(WhereXStopped(), kXTravelMax - 100000);
    EXPECT_TRUE(FenceXOpen());
}

// No axis enabled or no confirmation starts nothing; a run switches off the
// motion that would fight its sweeps.
TEST_F(HomingTest, AutoHomeStartsOnlyConfirmedAndSwitchesOffTheMotionThatWouldFightTheSweeps)
{
    h.AnswerNextMessageBox(IDOK);
    Press(IDC_AUTO_HOME);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"No axes enabled for auto home");

    Home(kAxisX, kZeroLimit);
    h.AnswerNextMessageBox(IDCANCEL);
    Forget();
    Press(IDC_AUTO_HOME);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"About to Auto Home");
    EXPECT_FALSE(IsAutoHomeRunning());
    EXPECT_TRUE(Calls("AXB_SetAxisPosAbs(").empty());

    g_contGotoState = kContGotoMoving;
    g_contHomeState = kContHomeHoming;
    g_multiGotoRunning = 1;
    RunAutoHome(10);
    EXPECT_EQ(g_contGotoState, kContGotoOff);
    EXPECT_EQ(g_contHomeState, kContHomeOff);
    EXPECT_EQ(g_multiGotoRunning, 0);
}

TEST_F(HomingTest, SingleMarkGivesTheMarkFromEveryStart)
{
    // Where X starts, whether it sweeps down, whether it first finds the end stop.
    const std::tuple<const char*, int32_t, bool, bool> kCases[] = {
        {"below the mark, sweeping up", 0, false, false}, {"above it, sweeping up and back", 200000, false, false},
        {"above it, sweeping down", 200000, true, false}, {"below it, from the lower stop", 100000, true, true},
        {"from the upper stop", 0, false, true}};
    const int32_t mark = 125000;
    ASSERT_EQ(AxbSim_SetMarks(kAxisX, &mark, 1), 1);
    Home(kAxisX, kZeroSingleMark);
    for (const auto& [name, start, negative, findStartLimit] : kCases) {
        SCOPED_TRACE(name);
        krv_user_box_data.homingFindStartLimit[kAxisX] = findStartLimit;
        HomeXFrom(start, negative);
        EXPECT_EQ(g_offset[kAxisX], mark);
        EXPECT_TRUE(g_homeRefFound[kAxisX]);
        EXPECT_EQ(g_homingStage[kAxisX], kStageInactive);
        EXPECT_TRUE(Logged("single reference mark home on axis: 0 count: 125000"));
    }
}

TEST_F(HomingTest, AMarkLatchedInTheTickOfTheStopIsAGoodHome)
{
    // Crossed only on the way back, a hair before the lower hard stop,
    // which stops the axis a few milliseconds later with a following error.
    AxbSim_SetLimitSwitches(kAxisX, 0);
    const int32_t mark = kXTravelMin + 10;
    ASSERT_EQ(AxbSim_SetMarks(kAxisX, &mark, 1), 1);
    Home(kAxisX, kZeroSingleMark);
    HomeXFrom(200000, false);
    EXPECT_TRUE(Logged("Just hit positive limit on axis 0"));
    EXPECT_TRUE(Logged("Homing Status X = HOME_STAGE_SEEKING_END_FOUND_NONE"));
    EXPECT_TRUE(Logged("Found First and only reference mark for axis 0"));
    EXPECT_FALSE(Logged("-error we just hit both limits or we got 2 following errors"));
    EXPECT_EQ(g_offset[kAxisX], mark);
    EXPECT_TRUE(g_homeRefFound[kAxisX]);
    EXPECT_EQ(h.MessageBoxesSeen().size(), 1u) << "only the confirmation";
}

TEST_F(HomingTest, DistanceCodedScalesGiveTheirZeroFromEveryStartEitherWay)
{
    // The scale: its coding, lines per increment, counts per line, zero, and
    // whether it counts the other way.
    const std::tuple<const char*, int, int32_t, int32_t, int32_t, bool> kCases[] = {
        {"standard, 20 mm of 20 um lines", AXBSIM_CODING_STANDARD, 1000, 20, -60000, false},
        {"Acu-Rite, 20.1 mm of 0.1 mm lines", AXBSIM_CODING_ACURITE, 201, 100, -300000, false},
        {"standard, reversed", AXBSIM_CODING_STANDARD, 1000, 20, 360000, true}};
    Home(kAxisX, kZeroDistanceCoded, false, 50.0f);
    for (const auto& [name, coding, lines, countsPerLine, zero, reversed] : kCases) {
        SCOPED_TRACE(name);
        ASSERT_EQ(AxbSim_SetDistanceCodedScale(kAxisX, coding, lines, countsPerLine, zero, reversed), 1);
        ScaleFiguresX(static_cast<uint32_t>(lines * countsPerLine), static_cast<uint32_t>(countsPerLine),
                      coding == AXBSIM_CODING_ACURITE, reversed);
        for (int32_t start : {0, 150000, 300000}) {
            for (bool negative : {false, true}) {
                SCOPED_TRACE(std::to_string(start) + (negative ? " sweeping down" : " sweeping up"));
                HomeXFrom(start, negative);
                EXPECT_EQ(g_offset[kAxisX], zero);
                EXPECT_TRUE(g_homeRefFound[kAxisX]);
                EXPECT_TRUE(Logged("Found second reference mark for axis 0"));
            }
        }
    }
}

// Refused figures and a mark the latch missed (two marks a whole increment
// and two lines apart) give no zero: the axis is a failure, not homed.
TEST_F(HomingTest, ARefusedDistanceCodedZeroLeavesTheAxisNotHomed)
{
    // The increment in counts, whether a mark was missed, the refusal.
    const std::tuple<uint32_t, bool, const char*> kCases[] = {
        {0, false, "distance-coded increment has fewer than two pitch lines: no zero"},
        {20000, true, "no two neighbouring marks lie 1002 pitch lines apart (a mark missed or latched twice): no zero"},
    };
    FenceX(5000);
    for (const auto& [increment, missedMark, refusal] : kCases) {
        SCOPED_TRACE(refusal);
        ASSERT_EQ(AxbSim_SetDistanceCodedScale(kAxisX, AXBSIM_CODING_STANDARD, 1000, 20, -60000, 0), 1);
        const int32_t marks[] = {5000, 5000 + 20000 + 2 * 20};
        if (missedMark)
            AxbSim_SetMarks(kAxisX, marks, 2);
        ScaleFiguresX(increment, 20);
        Home(kAxisX, kZeroDistanceCoded, false, 50.0f);
        h.AnswerNextMessageBox(IDOK);
        HomeXFrom(0, false);
        EXPECT_TRUE(Logged("Found second reference mark for axis 0"));
        EXPECT_TRUE(Logged(refusal));
        EXPECT_TRUE(Logged("Auto home of axis 0 failed: its reference marks give no zero"));
        EXPECT_EQ(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
        EXPECT_FALSE(g_homeRefFound[kAxisX]);
        EXPECT_EQ(g_offset[kAxisX], 0);
        EXPECT_TRUE(FenceXOpen());
    }
}

using ReferenceMarks = HomingTest;

// The steps of the calculation are the core's worked example; here its
// figures come from the parameters, the zero reaches the axis, and a refused
// calculation leaves that zero alone.
TEST_F(ReferenceMarks, ARefusedCalculationLeavesTheZeroAlone)
{
    g_param[AxisParam(kParamCountsPerMm, kAxisX)] = 10000;   // res 0.0001 mm
    ScaleFiguresX(200400, 400);                                // increment 20.04 mm, pitch 0.04 mm
    EXPECT_TRUE(ApplyHomeOffset(kAxisX, 123456, 100000, kHomeDistanceCoded));
    EXPECT_EQ(g_offset[kAxisX], -38353344);
    EXPECT_TRUE(Logged("incoming parameters: last: 123456 prev: 100000 acu 0 res 0.0001 pit 0.04 inc 20.04"));
    EXPECT_TRUE(Logged("warning: odd increment of 501 pitch lines, the zero may be one increment off"));
    EXPECT_TRUE(Logged("g_offset[0]=-38353344"));

    g_param[AxisParam(70, kAxisX)] = 0;   // no increment set
    EXPECT_FALSE(ApplyHomeOffset(kAxisX, 123456, 100000, kHomeDistanceCoded));
    EXPECT_TRUE(Logged("Offset:0"));
    EXPECT_FALSE(Logged("g_offset[0]=0"));

    g_param[AxisParam(kParamCountsPerMm, kAxisX)] = 0;
    EXPECT_FALSE(ApplyHomeOffset(kAxisX, 123456, 100000, kHomeDistanceCoded));
    EXPECT_FALSE(ApplyHomeOffset(kZoomAxis, 123456, 100000, kHomeDistanceCoded));
    EXPECT_FALSE(ApplyHomeOffset(kAxisX, 1, 1, 3));
    EXPECT_EQ(g_offset[kAxisX], -38353344);
}

TEST_F(ReferenceMarks, ArmingClearsOnlyItsOwnAxisLatch)
{
    updateReferenceMarkTypeAndEnable(kAxisZ, true);
    AxbSim_SetAxisStatus(kAxisZ, kAxisStatusLatch2);   // Z latched a mark
    AxbSim_ClearCallLog();
    updateReferenceMarkTypeAndEnable(kAxisX, true);     // X reverses 3 ms later
    EXPECT_THAT(Calls("AXB_ClearLatchStatus("), ElementsAre("AXB_ClearLatchStatus(0,1)=1"));
    EXPECT_THAT(Calls("AXB_SetLatchMode("), ElementsAre("AXB_SetLatchMode(0,0,2,7)=1"));
    int32_t last = 0, previous = 0;
    EXPECT_EQ(CheckReferenceMark(kAxisZ, last, previous), 1);
    EXPECT_TRUE(g_refMarks[kAxisX].latchEnabled);
    EXPECT_EQ(g_refMarks[kAxisX].markCount, 0);
}

TEST_F(ReferenceMarks, TheMarkLogShowsEachLatchedMarkOnce)
{
    g_refMarkLogging[kAxisY] = 1;
    updateReferenceMarkTypeAndEnable(kAxisY, true);
    RefMarkLogPoll();
    AxbSim_SetAxisStatus(kAxisY, kAxisStatusLatch2);
    RefMarkLogPoll();
    RefMarkLogPoll();
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Ref Mark,1,0,0,0"));
}

TEST_F(HomingTest, CancelGivesTheAxesOfTheRunTheirOwnPercentAndLeavesTheOthers)
{
    TypeText(main, IDC_VEL_PERCENT, L"30");
    PressButton(main, IDC_APPLY);
    Home(kAxisX, kZeroLimit, false, 20.0f);
    RunAutoHome(5000, [&](HWND dialog, int tick) {
        if (tick == 30) {
            AxbSim_ClearCallLog();
            PressButton(dialog, IDC_AUTO_HOME_CANCEL);
        }
    });
    EXPECT_THAT(Calls("AXB_SetVelocityPercent("), ElementsAre("AXB_SetVelocityPercent(0,0,3000)=1"));
    EXPECT_EQ(g_cmdVelPercent[kAxisX], 30);
    EXPECT_EQ(g_cmdVelPercent[kAxisY], 0) << "Y was not in the run";
}

// X finds no mark (the factory scales have none): it fails, not homed, and
// its fence stays open; Y homes, and Z, waiting for both, still homes.
TEST_F(HomingTest, ARunWhoseXFailsWhileZWaitsEndsAndSaysSo)
{
    FenceX(5000);
    Home(kAxisX, kZeroSingleMark);
    Home(kAxisY, kZeroLimit);
    Home(kAxisZ, kZeroLimit);
    h.AnswerNextMessageBox(IDOK);
    RunAutoHome(60000);
    EXPECT_EQ(g_homingStage[kAxisX], kStageIrrecoverableError);
    EXPECT_TRUE(Logged("Just hit positive limit on axis 0"));
    EXPECT_TRUE(Logged("-error we just hit both limits or we got 2 following errors"));
    EXPECT_FALSE(g_homeRefFound[kAxisX]);
    EXPECT_TRUE(g_homeRefFound[kAxisY]);
    EXPECT_EQ(g_homingStage[kAxisZ], kStageInactive);
    EXPECT_TRUE(g_homeRefFound[kAxisZ]);
    EXPECT_TRUE(Logged("Auto home ended with a failed axis: Z stays at its zero"));
    ASSERT_FALSE(h.MessageBoxesSeen().empty());
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    EXPECT_TRUE(Logged("ED2")) << "the run ended by itself, not by Cancel";
    EXPECT_FALSE(Logged("ED1"));
    EXPECT_TRUE(Logged("RLB:Failed to enable software fence on axis 0 Autohome not complete"));
    EXPECT_TRUE(FenceXOpen());
}

TEST_F(HomingTest, AMarkWithin990CountsOfTheLastIsTheSameMark)
{
    for (const int32_t apart : {990, 991}) {
        SCOPED_TRACE(apart);
        const int32_t marks[] = {2000, 2000 + apart};
        AxbSim_SetMarks(kAxisX, marks, 2);
        AxbSim_PlaceAxis(kAxisX, 0);
        updateReferenceMarkTypeAndEnable(kAxisX, true);
        h.Log().Clear();
        AXB_SetVelocityPercent(0, kAxisX, 100);   // 1 %: a count a millisecond
        AXB_SetAxisPosAbs(0, kAxisX, 4000);
        int32_t last = 0, previous = 0, found = 0;
        for (int ms = 0; ms < 5000; ms += 10) {
            h.Clock().Advance(10);
            found = CheckReferenceMark(kAxisX, last, previous);
        }
        EXPECT_EQ(found, apart == 990 ? 1 : 2);
        EXPECT_EQ(Logged("Removed AXIS 0 reference mark due to rules"), apart == 990);
    }
}

} // namespace
