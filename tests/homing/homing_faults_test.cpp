// How a run that goes wrong ends: the speeds a cancelled run gives back, and
// a run whose X fails while Z waits for it.
#include "tests/homing/homing_fixture.h"

#include "driver/axb400.h"
#include "homing/reference_marks.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST_F(HomingTest, CancelGivesTheAxesOfTheRunTheirOwnPercentAndLeavesTheOthers)
{
    TypeText(main, IDC_VEL_PERCENT, L"30");
    PressButton(main, IDC_APPLY);
    Home(kAxisX, kZeroLimit, false, 20.0f);
    int ticks = 0;
    RunAutoHome(5000, [&](HWND dialog) {
        if (++ticks == 30) {
            AxbSim_ClearCallLog();
            PressButton(dialog, IDC_AUTO_HOME_CANCEL);
        }
        return false;
    });
    EXPECT_THAT(SimCallsStartingWith("AXB_SetVelocityPercent("), ElementsAre("AXB_SetVelocityPercent(0,0,3000)=1"));
    EXPECT_EQ(g_cmdVelPercent[kAxisX], 30);
    EXPECT_EQ(g_cmdVelPercent[kAxisY], 0) << "Y was not in the run";
}

TEST_F(HomingTest, ARunWhoseXFailsWhileZWaitsEndsAndSaysSo)
{
    Home(kAxisX, kZeroSingleMark);   // no marks on the factory scales: X fails
    Home(kAxisZ, kZeroLimit);
    h.AnswerNextMessageBox(IDOK);
    RunAutoHome(60000);
    EXPECT_EQ(g_homingStage[kAxisX], kStageIrrecoverableError);
    EXPECT_EQ(g_homingStage[kAxisZ], kStageInactive);
    EXPECT_TRUE(g_homeRefFound[kAxisZ]);
    EXPECT_TRUE(Logged("Auto home ended with a failed axis: Z stays at its zero"));
    ASSERT_FALSE(h.MessageBoxesSeen().empty());
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    EXPECT_TRUE(Logged("ED2")) << "the run ended by itself, not by Cancel";
    EXPECT_FALSE(Logged("ED1"));
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
