// The main window's motion commands: the goto target that alternates with
// the user zero, the continuous goto's dwell, stop, zeroes, the trace line
// and the video program.
#include "board/axis_commands.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class Motion : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = h.StartProgram();
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }
    void Press(int id) { PressButton(main, id); }
    std::vector<std::string> Gotos() { return SimCallsStartingWith("AXB_SetAxisPosAbs("); }
    std::string Text(int id) { return Narrow(ControlText(main, id)); }

    ProgramHarness h;
    HWND main = nullptr;
};

TEST_F(Motion, GotoAlternatesBetweenTargetAndUserZero)
{
    TypeText(main, IDC_TARGET, L"10");
    Press(IDC_GOTO);
    Press(IDC_GOTO);
    Press(IDC_GOTO);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,10000)=1", "AXB_SetAxisPosAbs(0,0,0)=1",
                                     "AXB_SetAxisPosAbs(0,0,10000)=1"));
    EXPECT_THAT(h.Log().Lines(), ElementsAre("    goto target10000", "    goto target0", "    goto target10000"));

    // A target of 0 always goes to the user zero.
    AxbSim_ClearCallLog();
    g_offset[0] = -250;
    TypeText(main, IDC_TARGET, L"0");
    Press(IDC_GOTO);
    Press(IDC_GOTO);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,-250)=1", "AXB_SetAxisPosAbs(0,0,-250)=1"));
}

TEST_F(Motion, TargetCountsAreExactAndOffsetsAddInIntegers)
{
    machine_zero_offset[0] = 500;
    g_offset[0] = 20;
    TypeText(main, IDC_TARGET, L"1");
    Press(IDC_GOTO);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,1520)=1"));
    EXPECT_EQ(g_lastGotoTarget[0], 1000);

    AxbSim_ClearCallLog();
    machine_zero_offset[0] = 100000001;   // beyond a float's whole counts
    g_offset[0] = 0;
    TypeText(main, IDC_TARGET, L"0.003");
    Press(IDC_GOTO);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,100000004)=1"));
}

TEST_F(Motion, GotoCommitsTheFieldsFirstAndResetsMaxFollowing)
{
    g_maxFollowing[0] = 77;
    TypeText(main, IDC_PARAM_P, L"123");
    TypeText(main, IDC_TARGET, L"1");
    Press(IDC_GOTO);
    auto calls = SimCalls();
    auto set = std::find(calls.begin(), calls.end(), "AXB_SetParam(0,50,123)=1");
    auto go = std::find(calls.begin(), calls.end(), "AXB_SetAxisPosAbs(0,0,1000)=1");
    ASSERT_NE(set, calls.end());
    ASSERT_NE(go, calls.end());
    EXPECT_LT(set, go);
    EXPECT_EQ(g_maxFollowing[0], 0);
}

TEST_F(Motion, AutoHomeLoggingAddsTheSapaLines)
{
    g_logAutoHomeStates = 1;
    TypeText(main, IDC_TARGET, L"1");
    Press(IDC_GOTO);
    EXPECT_TRUE(h.Log().HasLine("X2:SAPA(0,0)"));
    Press(IDC_CONT_GOTO);
    EXPECT_TRUE(h.Log().HasLine("X1:SAPA(0,0)"));
}

TEST_F(Motion, ContinuousGotoDwellsOneSecondAtEachEnd)
{
    TypeText(main, IDC_TARGET, L"1");   // 1000 counts: a short move
    Press(IDC_CONT_GOTO);
    EXPECT_EQ(g_contGotoState, kContGotoMoving);
    EXPECT_EQ(Gotos().size(), 1u);

    // Find the tick at which the move ends and the dwell starts.
    int waited = 0;
    while (g_contGotoState != kContGotoDwelling && waited < 10000) {
        h.Clock().Advance(10);
        waited += 10;
    }
    ASSERT_EQ(g_contGotoState, kContGotoDwelling);
    EXPECT_NEAR(AxbSim_PeekPosition(0), 1000, 20) << "the profile has ended; the encoder settles";
    h.Clock().Advance(1000);
    EXPECT_EQ(Gotos().size(), 1u) << "still dwelling after exactly one second";
    h.Clock().Advance(10);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,1000)=1", "AXB_SetAxisPosAbs(0,0,0)=1"));
    EXPECT_EQ(g_contGotoState, kContGotoMoving);

    for (int t = 0; t < 5000 && Gotos().size() < 3; t += 10)
        h.Clock().Advance(10);
    ASSERT_EQ(Gotos().size(), 3u);
    EXPECT_EQ(Gotos().back(), "AXB_SetAxisPosAbs(0,0,1000)=1") << "and back to the target";
}

TEST_F(Motion, ContinuousGotoToggleStopsWithoutAStopCommand)
{
    TypeText(main, IDC_TARGET, L"100");
    Press(IDC_CONT_GOTO);
    h.Clock().Advance(50);
    Press(IDC_CONT_GOTO);
    EXPECT_EQ(g_contGotoState, kContGotoOff);
    EXPECT_THAT(SimCallsStartingWith("AXB_StopAxis("), IsEmpty());
    h.Clock().Advance(30000);
    EXPECT_EQ(Gotos().size(), 1u);
}

TEST_F(Motion, StopEndsTheCycleAndStopsEveryAxis)
{
    TypeText(main, IDC_TARGET, L"100");
    Press(IDC_CONT_GOTO);
    Press(IDC_STOP);
    EXPECT_EQ(g_contGotoState, kContGotoOff);
    EXPECT_THAT(SimCallsStartingWith("AXB_StopAxis("),
                ElementsAre("AXB_StopAxis(0,0)=1", "AXB_StopAxis(0,1)=1", "AXB_StopAxis(0,2)=1",
                            "AXB_StopAxis(0,3)=1", "AXB_StopAxis(0,4)=1"));
}

TEST_F(Motion, ErrorDuringTheMoveKeepsTheCycleFromDwelling)
{
    TypeText(main, IDC_TARGET, L"1");
    Press(IDC_CONT_GOTO);
    AxbSim_SetErrorByte(0, 0x02);
    h.Clock().Advance(5000);
    EXPECT_EQ(g_contGotoState, kContGotoMoving);
    EXPECT_EQ(Gotos().size(), 1u);
}

TEST_F(Motion, ZeroButtonsMakeTheReadoutsShowZero)
{
    CheckDlgButton(main, IDC_UNIT_MM, BST_CHECKED);
    PressButton(main, IDC_UNIT_MM);
    AxbSim_PlaceAxis(0, 5000);
    AxbSim_PlaceAxis(4, 777);
    // The first tick finds the board and reads the flash record with its
    // zero offsets.
    h.Clock().Advance(10);
    machine_zero_offset[0] = 100;
    h.Clock().Advance(10);
    EXPECT_EQ(Text(IDC_READOUT_X), "4.9000");
    Press(IDC_ZERO_X);
    Press(IDC_ZERO_ZOOM);
    EXPECT_EQ(g_offset[0], 4900);
    EXPECT_EQ(g_offset[4], 777);
    EXPECT_THAT(SimCallsStartingWith("AXB_ClearEncoderErrors("), ElementsAre("AXB_ClearEncoderErrors(0,1)=1"));
    h.Clock().Advance(10);
    EXPECT_EQ(Text(IDC_READOUT_X), "0.0000");
    EXPECT_EQ(Text(IDC_READOUT_ZOOM), "0.0000");
    EXPECT_EQ(Text(IDC_POSITION), "0.0000");
}

TEST_F(Motion, OpenLoopStepperZeroReadsTheCommandedPosition)
{
    AxbSim_PokeParam(104, 4);   // Y becomes an open-loop stepper
    g_param[104] = 4;
    AxbSim_PlaceAxis(1, 3000);
    Press(IDC_ZERO_Y);
    EXPECT_THAT(SimCallsStartingWith("AXB_GetAxisPosValue(0,1,"), ElementsAre("AXB_GetAxisPosValue(0,1,&3000)=1"));
    EXPECT_THAT(SimCallsStartingWith("AXB_GetLatchReg(0,1,"), IsEmpty());
    EXPECT_THAT(SimCallsStartingWith("AXB_ClearEncoderErrors("), ElementsAre("AXB_ClearEncoderErrors(0,2)=1"));
    EXPECT_EQ(g_offset[1], 3000);
}

TEST_F(Motion, EncoderErrorsShowInTheReadouts)
{
    AxbSim_SetAxisStatus(0, 0x18);
    AxbSim_SetAxisStatus(2, 0x08);
    h.Clock().Advance(10);
    EXPECT_EQ(Text(IDC_READOUT_X), "freq error");
    EXPECT_EQ(Text(IDC_READOUT_Z), "sig error");
    EXPECT_NE(Text(IDC_READOUT_Y), "sig error");
}

TEST_F(Motion, ClearCountClearsAllFiveAxes)
{
    Press(IDC_CLEAR_COUNT);
    EXPECT_THAT(SimCalls(), ElementsAre("AXB_ClearCount(0,31)=1"));
}

TEST_F(Motion, TraceLineEveryTickWhileOn)
{
    g_traceOn = true;
    g_traceStartTick = h.Clock().Now64() - 40;
    g_traceSequence = 7;
    // The first tick also finds the board for the zoom's step: only the
    // trace lines count here.
    h.Clock().Advance(10);
    auto traceLines = [&] {
        std::vector<std::string> out;
        for (const std::string& line : h.Log().Lines())
            if (line.rfind("XGACV,", 0) == 0)
                out.push_back(line);
        return out;
    };
    auto lines = traceLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex("XGACV,50(,-?[0-9]+){13},0x[0-9A-F]{6},0x[0-9A-F]{4},7")))
        << lines[0];
    EXPECT_EQ(SimCallsStartingWith("AXB_GetAxisRecord(0,0,").size(), 1u);
    g_traceOn = false;
    h.Clock().Advance(10);
    EXPECT_EQ(traceLines().size(), 1u);
}

TEST_F(Motion, VideoStartsTheVideoProgram)
{
    Press(IDC_VIDEO);
    HWND video = nullptr;
    for (int i = 0; i < 100 && !video; ++i) {
        video = FindWindowW(nullptr, L"lumaview (stand-in)");
        if (!video)
            Sleep(50);
    }
    ASSERT_NE(video, nullptr);
    EXPECT_FALSE(h.Log().HasLine("Failed to create lumaview window"));
    PostMessageW(video, WM_CLOSE, 0, 0);
}

} // namespace
