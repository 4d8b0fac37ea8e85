// Reference marks: the zero from one mark or from the distance-coded figures
// of the axis with the lines a technician reads, arming and the mark log; and
// homing on the simulated scales, from starts on either side, sweeping either
// way, which must give the scale's own zero every time.
#include "tests/homing/homing_fixture.h"

#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "homing/reference_marks.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

constexpr int32_t kXTravelMin = -50000;

using ReferenceMarks = HomingTest;

// X's scale as the technician describes it: the fixed increment and the
// pitch in counts, the coding convention and the count direction.
void ScaleFiguresX(uint32_t increment, uint32_t pitch, bool acuRite = false, bool reversed = false)
{
    g_param[AxisParam(70, kAxisX)] = increment;
    g_param[AxisParam(71, kAxisX)] = pitch;
    g_param[AxisParam(73, kAxisX)] = acuRite ? 2 : 0;
    g_param[20] = reversed ? 1 : 0;
}

// res 0.0001 mm, pitch 0.04 mm, increment 20.04 mm.
void WorkedScaleX()
{
    g_param[AxisParam(kParamCountsPerMm, kAxisX)] = 10000;
    ScaleFiguresX(200400, 400);
}

TEST_F(ReferenceMarks, DistanceCodedZeroOfTheWorkedScaleWithItsLines)
{
    WorkedScaleX();
    EXPECT_TRUE(ApplyHomeOffset(kAxisX, 123456, 100000, kHomeDistanceCoded));
    EXPECT_EQ(g_offset[kAxisX], -38353344);
    EXPECT_THAT(h.Log().Lines(),
                ElementsAre("c-scale reference mark home on axis: 0 last count: 123456 previous count:No 100000",
                            "incoming parameters: last: 123456 prev: 100000 acu 0 res 0.0001 pit 0.04 inc 20.04",
                            "Interpolation:              100", "counts/pitch line:          400",
                            "pitchLines per fixIncrement 501", "Counts per fixed Increment: 200400",
                            "warning: odd increment of 501 pitch lines, the zero may be one increment off",
                            "span in counts:             23456", "span in pitch lines (abs):  58",
                            "offset from increment start to zero: 38276400",
                            "calculated dynamic offset: -38353344", "Offset:-38353344", "g_offset[0]=-38353344"));
}

TEST_F(ReferenceMarks, ARefusedCalculationLeavesTheZeroAlone)
{
    WorkedScaleX();
    g_param[AxisParam(70, kAxisX)] = 0;   // no increment set
    g_offset[kAxisX] = 777;
    EXPECT_FALSE(ApplyHomeOffset(kAxisX, 123456, 100000, kHomeDistanceCoded));
    EXPECT_TRUE(Logged("Offset:0"));
    EXPECT_FALSE(Logged("g_offset[0]=0"));

    g_param[AxisParam(kParamCountsPerMm, kAxisX)] = 0;
    EXPECT_FALSE(ApplyHomeOffset(kAxisX, 123456, 100000, kHomeDistanceCoded));
    EXPECT_FALSE(ApplyHomeOffset(kZoomAxis, 123456, 100000, kHomeDistanceCoded));
    EXPECT_FALSE(ApplyHomeOffset(kAxisX, 1, 1, 3));
    EXPECT_EQ(g_offset[kAxisX], 777);
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

TEST_F(HomingTest, SingleMarkGivesTheMarkFromEveryStart)
{
    struct Case {
        const char* name;
        int32_t start;
        bool negative;
        bool findStartLimit;
    };
    constexpr Case kCases[] = {
        {"below the mark, sweeping up", 0, false, false},
        {"above the mark, sweeping up and back", 200000, false, false},
        {"above the mark, sweeping down", 200000, true, false},
        {"below the mark, from the lower stop", 100000, true, true},
        {"from the upper stop", 0, false, true},
    };
    const int32_t mark = 125000;
    ASSERT_EQ(AxbSim_SetMarks(kAxisX, &mark, 1), 1);
    Home(kAxisX, kZeroSingleMark);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        krv_user_box_data.homingScanDirection[kAxisX] = c.negative;
        krv_user_box_data.homingFindStartLimit[kAxisX] = c.findStartLimit;
        AxbSim_PlaceAxis(kAxisX, c.start);
        g_offset[kAxisX] = 0;
        Forget();
        RunAutoHome();
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
    AxbSim_PlaceAxis(kAxisX, 200000);
    RunAutoHome();
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
    struct Case {
        const char* name;
        int coding;
        int32_t lines;
        int32_t countsPerLine;
        int32_t zero;
        bool reversed;
    };
    constexpr Case kCases[] = {
        {"standard, 20 mm of 20 um lines", AXBSIM_CODING_STANDARD, 1000, 20, -60000, false},
        {"Acu-Rite, 20.1 mm of 0.1 mm lines", AXBSIM_CODING_ACURITE, 201, 100, -300000, false},
        {"standard, reversed", AXBSIM_CODING_STANDARD, 1000, 20, 360000, true},
    };
    Home(kAxisX, kZeroDistanceCoded, false, 50.0f);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(AxbSim_SetDistanceCodedScale(kAxisX, c.coding, c.lines, c.countsPerLine, c.zero, c.reversed), 1);
        ScaleFiguresX(static_cast<uint32_t>(c.lines * c.countsPerLine), static_cast<uint32_t>(c.countsPerLine),
                      c.coding == AXBSIM_CODING_ACURITE, c.reversed);
        for (int32_t start : {0, 150000, 300000}) {
            for (bool negative : {false, true}) {
                SCOPED_TRACE(std::to_string(start) + (negative ? " sweeping down" : " sweeping up"));
                krv_user_box_data.homingScanDirection[kAxisX] = negative;
                AxbSim_PlaceAxis(kAxisX, start);
                g_offset[kAxisX] = 0;
                Forget();
                RunAutoHome();
                EXPECT_EQ(g_offset[kAxisX], c.zero);
                EXPECT_TRUE(g_homeRefFound[kAxisX]);
                EXPECT_TRUE(Logged("Found second reference mark for axis 0"));
            }
        }
    }
}

TEST_F(HomingTest, ARefusedDistanceCodedZeroLeavesTheAxisNotHomed)
{
    FenceX(5000);
    ASSERT_EQ(AxbSim_SetDistanceCodedScale(kAxisX, AXBSIM_CODING_STANDARD, 1000, 20, -60000, 0), 1);
    ScaleFiguresX(0, 20);   // the increment was never entered
    Home(kAxisX, kZeroDistanceCoded, false, 50.0f);
    g_offset[kAxisX] = 0;
    RunAutoHome();
    EXPECT_TRUE(Logged("Found second reference mark for axis 0"));
    EXPECT_FALSE(g_homeRefFound[kAxisX]);
    EXPECT_EQ(g_offset[kAxisX], 0);
    EXPECT_TRUE(FenceXOpen());
}

} // namespace
