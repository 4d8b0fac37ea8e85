// The main window's motion commands: the goto target that alternates with
// the user zero, the continuous goto's dwell, stop, zeroes, the trace line
// and the video program.
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "tests/app/app_test.h"

#include <regex>

namespace {

class Motion : public ProgramTest {
protected:
    void SetUp() override { Start(); }
    std::vector<std::string> Gotos() { return Calls("AXB_SetAxisPosAbs("); }
};

TEST_F(Motion, GotoAlternatesBetweenTargetAndUserZeroInExactCounts)
{
    g_logAutoHomeStates = 1;
    TypeText(main, IDC_TARGET, L"10");
    for (int press = 0; press < 3; ++press)
        Press(IDC_GOTO);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,10000)=1", "AXB_SetAxisPosAbs(0,0,0)=1",
                                     "AXB_SetAxisPosAbs(0,0,10000)=1"));
    EXPECT_THAT(LinesStartingWith({"    goto"}), ElementsAre("    goto target10000", "    goto target0",
                                                             "    goto target10000"));
    EXPECT_TRUE(Logged("X2:SAPA(0,0)"));
    // A target of 0 always goes to the user zero.
    AxbSim_ClearCallLog();
    g_offset[0] = -250;
    TypeText(main, IDC_TARGET, L"0");
    Press(IDC_GOTO);
    Press(IDC_GOTO);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,-250)=1", "AXB_SetAxisPosAbs(0,0,-250)=1"));
    // Millimetres become exact counts and the offsets add in integers; the
    // fields are committed first and the largest lag starts again.
    AxbSim_ClearCallLog();
    machine_zero_offset[0] = 500;
    g_offset[0] = 20;
    g_maxFollowing[0] = 77;
    TypeText(main, IDC_PARAM_P, L"123");
    TypeText(main, IDC_TARGET, L"1");
    Press(IDC_GOTO);
    EXPECT_THAT(Calls("AXB_Set"), ElementsAre("AXB_SetParam(0,50,123)=1", "AXB_SetAxisPosAbs(0,0,1520)=1"));
    EXPECT_EQ(g_lastGotoTarget[0], 1000);
    EXPECT_EQ(g_maxFollowing[0], 0);
    AxbSim_ClearCallLog();
    machine_zero_offset[0] = 100000001;   // beyond a float's whole counts
    g_offset[0] = 0;
    TypeText(main, IDC_TARGET, L"0.003");
    Press(IDC_GOTO);
    EXPECT_THAT(Gotos(), ElementsAre("AXB_SetAxisPosAbs(0,0,100000004)=1"));
}

TEST_F(Motion, ContinuousGotoDwellsOneSecondAtEachEnd)
{
    TypeText(main, IDC_TARGET, L"1");   // 1000 counts: a short move
    Press(IDC_CONT_GOTO);
    EXPECT_EQ(g_contGotoState, kContGotoMoving);
    EXPECT_EQ(Gotos().size(), 1u);
    // Find the tick at which the move ends and the dwell starts.
    for (int waited = 0; g_contGotoState != kContGotoDwelling && waited < 10000; waited += 10)
        h.Clock().Advance(10);
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

// A move that ended in an error is no end to dwell at; pressing again ends
// the cycle and leaves the axis to finish its move; "Stop" stops them all.
TEST_F(Motion, AnErrorKeepsTheCycleFromDwellingAndOnlyStopStopsTheAxes)
{
    g_logAutoHomeStates = 1;
    TypeText(main, IDC_TARGET, L"1");
    Press(IDC_CONT_GOTO);
    EXPECT_TRUE(Logged("X1:SAPA(0,0)"));
    AxbSim_SetErrorByte(0, 0x02);
    h.Clock().Advance(5000);
    EXPECT_EQ(g_contGotoState, kContGotoMoving);
    Press(IDC_CONT_GOTO);
    EXPECT_EQ(g_contGotoState, kContGotoOff);
    EXPECT_THAT(Calls("AXB_StopAxis("), IsEmpty());
    h.Clock().Advance(30000);
    EXPECT_EQ(Gotos().size(), 1u);
    Press(IDC_CONT_GOTO);
    Press(IDC_STOP);
    EXPECT_EQ(g_contGotoState, kContGotoOff);
    EXPECT_THAT(Calls("AXB_StopAxis("), ElementsAre("AXB_StopAxis(0,0)=1", "AXB_StopAxis(0,1)=1", "AXB_StopAxis(0,2)=1",
                                                    "AXB_StopAxis(0,3)=1", "AXB_StopAxis(0,4)=1"));
}

// An open-loop stepper (Y here) has no encoder to read: its zero is the
// commanded position.
TEST_F(Motion, ReadoutsShowTheZeroesEncoderErrorsAndTheTraceLine)
{
    ChooseUnit(IDC_UNIT_MM);
    AxbSim_PokeParam(104, 4);
    g_param[104] = 4;
    for (auto [axis, counts] : {std::pair{0, 5000}, {1, 3000}, {4, 777}})
        AxbSim_PlaceAxis(axis, counts);
    machine_zero_offset[0] = 100;
    h.Clock().Advance(40);   // a readout written at the start is written again 40 ms later
    EXPECT_EQ(Text(main, IDC_READOUT_X), "4.9000");
    Forget();
    for (int id : {IDC_ZERO_X, IDC_ZERO_Y, IDC_ZERO_ZOOM})
        Press(id);
    EXPECT_THAT(g_offset, ElementsAre(4900, 3000, 0, 0, 777));
    EXPECT_THAT(Calls("AXB_ClearEncoderErrors("),
                ElementsAre("AXB_ClearEncoderErrors(0,1)=1", "AXB_ClearEncoderErrors(0,2)=1"));
    EXPECT_THAT(Calls("AXB_GetAxisPosValue(0,1,"), ElementsAre("AXB_GetAxisPosValue(0,1,&3000)=1"));
    EXPECT_THAT(Calls("AXB_GetLatchReg(0,1,"), IsEmpty());
    h.Clock().Advance(40);
    for (int id : {IDC_READOUT_X, IDC_READOUT_ZOOM, IDC_POSITION})
        EXPECT_EQ(Text(main, id), "0.0000") << id;
    // Encoder errors show instead ("freq error" over "sig error"); while the
    // trace is on, each tick writes X's trace line.
    AxbSim_SetAxisStatus(0, 0x18);
    AxbSim_SetAxisStatus(2, 0x08);
    h.Clock().Advance(40);
    EXPECT_EQ(Text(main, IDC_READOUT_X), "freq error");
    EXPECT_EQ(Text(main, IDC_READOUT_Z), "sig error");
    EXPECT_NE(Text(main, IDC_READOUT_Y), "sig error");
    Forget();
    g_traceOn = true;
    g_traceStartTick = h.Clock().Now64() - 40;
    g_traceSequence = 7;
    h.Clock().Advance(10);
    const auto lines = LinesStartingWith({"XGACV,"});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex("XGACV,50(,-?[0-9]+){13},0x[0-9A-F]{6},0x[0-9A-F]{4},7")))
        << lines[0];
    EXPECT_EQ(Calls("AXB_GetAxisRecord(0,0,").size(), 1u);
    g_traceOn = false;
    h.Clock().Advance(10);
    EXPECT_EQ(LinesStartingWith({"XGACV,"}).size(), 1u);
    Forget();
    Press(IDC_CLEAR_COUNT);
    EXPECT_THAT(SimCalls(), ElementsAre("AXB_ClearCount(0,31)=1")) << "all five axes";
}

TEST_F(Motion, VideoStartsTheVideoProgram)
{
    Press(IDC_VIDEO);
    HWND video = nullptr;
    for (int i = 0; i < 100 && !(video = FindWindowW(nullptr, L"lumaview (stand-in)")); ++i)
        Sleep(50);
    ASSERT_NE(video, nullptr);
    EXPECT_FALSE(Logged("Failed to create lumaview window"));
    PostMessageW(video, WM_CLOSE, 0, 0);
}

} // namespace
