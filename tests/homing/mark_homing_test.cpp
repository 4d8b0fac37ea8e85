// Homing on reference marks of the simulated scales: a single mark and the
// distance-coded conventions, from starts on either side, sweeping either
// way, give the scale's own zero every time.
#include "tests/homing/homing_fixture.h"

#include "core/motion_state.h"
#include "core/param_table.h"

namespace {

constexpr int32_t kXTravelMin = -50000;

struct SingleMarkCase {
    const char* name;
    int32_t start;
    bool negative;
    bool findStartLimit;
};

constexpr SingleMarkCase kSingleMarkCases[] = {
    {"below the mark, sweeping up", 0, false, false},
    {"above the mark, sweeping up and back", 200000, false, false},
    {"above the mark, sweeping down", 200000, true, false},
    {"below the mark, from the lower stop", 100000, true, true},
    {"from the upper stop", 0, false, true},
};

TEST_F(HomingTest, SingleMarkGivesTheMarkFromEveryStart)
{
    const int32_t mark = 125000;
    ASSERT_EQ(AxbSim_SetMarks(kAxisX, &mark, 1), 1);
    Home(kAxisX, kZeroSingleMark);
    for (const SingleMarkCase& c : kSingleMarkCases) {
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
