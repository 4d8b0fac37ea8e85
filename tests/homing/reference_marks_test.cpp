// Reference marks: the zero from the distance-coded figures of the axis with
// the lines a technician reads, the refusals, arming and the mark log.
#include "tests/homing/homing_fixture.h"

#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "homing/reference_marks.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

using ReferenceMarks = HomingTest;

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

} // namespace
