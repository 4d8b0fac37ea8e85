// The main window as a technician uses it: axis and unit selection, the
// parameter fields and their conversions, Apply, the 10 ms readouts; and its
// motion commands: the goto target that alternates with the user zero, the
// continuous goto's dwell, stop, zeroes, the trace line and the video program.
// The conversions themselves are core's; here: which one each field takes.
#include "board/axis_position.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "tests/app/app_test.h"
#include "tests/support/sim_flash.h"
#include "ui/control_text.h"

#include <array>
#include <regex>
#include <span>

namespace {

constexpr int kServoRows[] = {IDC_PARAM_P, IDC_PARAM_D, IDC_PARAM_I, IDC_PARAM_I_LIMIT, IDC_PARAM_PWM_BASE,
                              IDC_PARAM_CONT_ZONE, IDC_PARAM_CUTOFF_DELAY, IDC_PARAM_TARGET_WINDOW,
                              IDC_PARAM_MOTION_MONITOR, IDC_PARAM_FOLLOW_LIMIT, IDC_PARAM_PWM_OFFSET,
                              IDC_PARAM_D_LIMIT, IDC_CAPTION_P};
constexpr int kProfileRows[] = {IDC_PARAM_VEL, IDC_PARAM_ACC, IDC_PARAM_JERK, IDC_PARAM_PV_NOMINAL};
constexpr int kStepperRows[] = {IDC_PARAM_TORQUE, IDC_PARAM_HOLD_TORQUE, IDC_PARAM_JOY_VEL,
                                IDC_PARAM_TRACKBALL_VEL, IDC_PARAM_ACC_DELTA};
constexpr int kMotorLagRows[] = {IDC_PARAM_MOTOR_LAG, IDC_CAPTION_MOTOR_LAG};

class MainWindow : public ProgramTest {};

// Each field stores through its row's conversion in the unit it was typed
// in. A value shown rounded and left alone, or a field holding no number,
// must not change what is stored.
TEST_F(MainWindow, EachFieldStoresThroughTheConversionOfItsRowAndUnit)
{
    AxbSim_SetFirmwareVersion(0x0002000A);   // velocities in whole mm/s
    for (auto [n, value] : {std::pair{58, 2000u}, {61, 40u}, {65, 1234567u}})
        AxbSim_PokeParam(n, value);
    Start();
    ChooseUnit(IDC_UNIT_MM);
    EXPECT_EQ(Text(main, IDC_PARAM_VEL), "40") << "the first fill already knows the firmware";
    EXPECT_EQ(Text(main, IDC_PARAM_MOTION_MONITOR), "617.284");
    const uint32_t d = g_param[51];
    TypeText(main, IDC_PARAM_D, L"abc");
    TypeText(main, IDC_PARAM_TARGET_WINDOW, L"0.5");   // counts per mm
    TypeText(main, IDC_TARGET, L"25.4");
    ChooseUnit(IDC_UNIT_IN);
    EXPECT_EQ(Text(main, IDC_TARGET), "1.00000");
    EXPECT_EQ(Text(main, IDC_CAPTION_TARGET_WINDOW), "Target Window (in)");
    TypeText(main, IDC_PARAM_ACC, L"1");               // mm from inches
    ChooseUnit(IDC_UNIT_STORED);
    EXPECT_EQ(Text(main, IDC_TARGET), "25.4000");
    TypeText(main, IDC_PARAM_PWM_BASE, L"2.5");        // as stored
    Press(IDC_APPLY);
    EXPECT_THAT(Calls("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,54,3)=1", "AXB_SetParam(0,60,1000)=1", "AXB_SetParam(0,62,25)=1"));
    EXPECT_THAT(LinesStartingWith({"Setting param"}),
                ElementsAre("Setting param54 to 3", "Setting param60 to 1000", "Setting param62 to 25"));
    EXPECT_EQ(Calls("AXB_GetParam(").size(), 512u + 3) << "every parameter, and each write read back";
    EXPECT_EQ(AxbSim_PeekParam(65), 1234567u);
    EXPECT_EQ(g_param[51], d);
}

// The stepper calibration of X..Q comes from the flash record at start (its
// rules are the conversions' own); with Q's not believable, Q's converted
// fields show "?????" and typing there changes nothing.
TEST_F(MainWindow, InvalidStepperCalibrationShowsQuestionMarksAndIgnoresTyping)
{
    WriteItemToSimFlash(1143, FlashItemValue{0, 2.0f, 0});      // X's lead
    WriteItemToSimFlash(1135, FlashItemValue{100, 0, 0});       // X's steps per revolution / 4
    WriteItemToSimFlash(1139, FlashItemValue{8, 0, 0});         // X's microsteps / 2
    WriteItemToSimFlash(1155, FlashItemValue{0, 0.0005f, 0});   // Q's lead: not believable
    Start();
    EXPECT_THAT(g_stepperCalValid, ElementsAre(1, _, _, 0, _));
    EXPECT_THAT((std::array{g_leadscrew_lead[0], g_motorSteps[0], g_microsteps[0]}), ElementsAre(2.0f, 400.0f, 16.0f));
    ChooseAxis(IDC_AXIS_Q);   // a stepper on the simulated machine
    ChooseUnit(IDC_UNIT_MM);
    for (int id : {IDC_PARAM_JOY_VEL, IDC_PARAM_TRACKBALL_VEL, IDC_PARAM_ACC_DELTA})
        EXPECT_EQ(Text(main, id), "?????");
    const uint32_t before = g_param[AxisParam(79, 3)];
    TypeText(main, IDC_PARAM_JOY_VEL, L"3.5");
    Press(IDC_APPLY);
    EXPECT_EQ(g_param[AxisParam(79, 3)], before);
    ChooseUnit(IDC_UNIT_STORED);
    EXPECT_EQ(Text(main, IDC_PARAM_JOY_VEL), std::to_string(before));
}

// Re-Read brings each motor type from the board; an unknown type (6) leaves
// the rows as the type before had them.
TEST_F(MainWindow, RowsFollowTheMotorTypeOfTheAxis)
{
    struct Rows { int motorType; bool profile, stepper, motorLag, servo; };
    constexpr Rows kRowsShown[] = {{0, false, false, false, false}, {1, true, false, false, true},
                                   {2, true, false, true, true},    {3, true, true, false, true},
                                   {4, true, true, false, false},   {6, true, true, false, false},
                                   {5, true, false, true, true}};
    Start();
    ChooseAxis(IDC_AXIS_Y);
    for (const Rows& rows : kRowsShown) {
        SCOPED_TRACE(rows.motorType);
        AxbSim_PokeParam(AxisParam(64, 1), rows.motorType);
        AxbSim_PokeParam(AxisParam(50, 1), 900 + rows.motorType);
        Press(IDC_REREAD);
        for (auto [ids, shown] : {std::pair{std::span<const int>(kProfileRows), rows.profile},
                                  {kStepperRows, rows.stepper}, {kServoRows, rows.servo},
                                  {kMotorLagRows, rows.motorLag}})
            for (int id : ids)
                EXPECT_EQ(IsControlVisible(main, id), shown) << id;
        EXPECT_EQ(Text(main, IDC_PARAM_P), std::to_string(900 + rows.motorType));
    }
    // Asked for, the captions carry the numbers of the selected axis.
    CheckDlgButton(main, IDC_DISPLAY_PARAM_NUMBER, BST_CHECKED);
    Press(IDC_DISPLAY_PARAM_NUMBER);
    EXPECT_EQ(Text(main, IDC_CAPTION_P), "P(P090)");
    EXPECT_EQ(Text(main, IDC_CAPTION_FOLLOW_LIMIT), "Following Error Limit(c)(P106)");
    CheckDlgButton(main, IDC_DISPLAY_PARAM_NUMBER, BST_UNCHECKED);
    Press(IDC_DISPLAY_PARAM_NUMBER);
    EXPECT_EQ(Text(main, IDC_CAPTION_P), "P");
}

// Edits wait in the program's copy while the axis changes and reach the
// board with Apply; Torque and Motor Lag are one parameter.
TEST_F(MainWindow, EditsAreKeptWhenTheAxisChangesAndTorqueAndMotorLagEditTheSameParameter)
{
    AxbSim_PokeParam(AxisParam(64, 1), 3);   // Y: stepper, Torque shown
    AxbSim_PokeParam(AxisParam(64, 2), 2);   // Z: servo, Motor Lag shown
    Start();
    TypeText(main, IDC_PARAM_P, L"4321");
    TypeText(main, IDC_TARGET, L"12.5");
    ChooseAxis(IDC_AXIS_Y);
    EXPECT_EQ(g_param[50], 4321u);
    EXPECT_FLOAT_EQ(g_targetMm[0], 12.5f);
    EXPECT_EQ(Text(main, IDC_PARAM_P), std::to_string(g_param[90]));
    TypeText(main, IDC_PARAM_TORQUE, L"17");
    ChooseAxis(IDC_AXIS_Z);
    TypeText(main, IDC_PARAM_MOTOR_LAG, L"9");
    ChooseAxis(IDC_AXIS_X);
    EXPECT_EQ(Text(main, IDC_PARAM_P), "4321");
    EXPECT_EQ(Text(main, IDC_TARGET), "12.5000");
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty()) << "nothing reaches the board before Apply";
    Press(IDC_APPLY);
    for (auto [n, value] : {std::pair{50, 4321u}, {AxisParam(77, 1), 17u}, {AxisParam(77, 2), 9u}})
        EXPECT_EQ(AxbSim_PeekParam(n), value) << n;
    ChooseAxis(IDC_AXIS_Y);
    EXPECT_EQ(Text(main, IDC_PARAM_TORQUE), "17");
    EXPECT_EQ(Text(main, IDC_PARAM_MOTOR_LAG), "17") << "the hidden twin shows the same value";
}

TEST_F(MainWindow, VelocityPercentReachesTheBoardScaledByFirmware)
{
    Start();
    TypeText(main, IDC_VEL_PERCENT, L"37.9");
    Press(IDC_APPLY);
    EXPECT_THAT(Calls("AXB_SetVelocityPercent("), ElementsAre("AXB_SetVelocityPercent(0,0,3700)=1"));
    AxbSim_ClearCallLog();
    Press(IDC_APPLY);
    EXPECT_THAT(Calls("AXB_SetVelocityPercent("), IsEmpty()) << "unchanged: not sent again";
    // Beyond the integer range the percent saturates; no number, no change.
    for (const wchar_t* text : {L"700", L"1e10"}) {
        TypeText(main, IDC_VEL_PERCENT, text);
        Press(IDC_APPLY);
    }
    EXPECT_EQ(g_cmdVelPercent[0], 2147483647);
    // The word saturates too: 700 % at scale 100 must not wrap to a crawl.
    EXPECT_THAT(Calls("AXB_SetVelocityPercent("),
                ElementsAre("AXB_SetVelocityPercent(0,0,65535)=1", "AXB_SetVelocityPercent(0,0,65535)=1"));
    AxbSim_ClearCallLog();
    for (const wchar_t* text : {L"nan", L"inf"}) {
        TypeText(main, IDC_VEL_PERCENT, text);
        Press(IDC_APPLY);
    }
    EXPECT_THAT(Calls("AXB_SetVelocityPercent("), IsEmpty());
    EXPECT_EQ(g_velPercent[0], 1e10f);
}

TEST_F(MainWindow, StatusCaptionBlinksWhileErrorsArePresentAndIdleTicksWriteNothing)
{
    Start({}, false);
    AxbSim_SetSystemStatus(0x84);   // bit 7 does not count
    AxbSim_SetErrorByte(0, 0x13);   // two of the low four bits
    const struct { uint32_t ms; const char* shown; } kBlink[] = {{300, "(3)"}, {150, "Status"}, {150, "(3)"}};
    for (const auto& step : kBlink) {
        h.Clock().Advance(step.ms);
        EXPECT_EQ(Text(main, IDC_STATUS), step.shown) << step.ms;
    }
    AxbSim_SetSystemStatus(0);
    AxbSim_SetErrorByte(0, 0);
    h.Clock().Advance(150);
    EXPECT_EQ(Text(main, IDC_STATUS), "Status");
    // Settled: a tick with nothing changed writes no control, velocity and
    // blink ticks included.
    const uint64_t before = ControlTextWrites();
    h.Clock().Advance(600);
    EXPECT_EQ(Text(main, IDC_STATUS), "Status");
    EXPECT_EQ(ControlTextWrites(), before);
}

// A moving readout is repainted at most every 40 ms, and once the value
// stops changing it shows the final one within 40 ms: the position, which
// is set on every tick, and the largest lag, which is set only when it grows
// and keeps its magnitude.
TEST_F(MainWindow, MovingReadoutsAreRepaintedEvery40MsAtMostAndSettleOnTheFinalValue)
{
    Start();
    ChooseUnit(IDC_UNIT_MM);
    g_maxFollowing[0] = -30;
    h.Clock().Advance(10);
    EXPECT_EQ(g_maxFollowing[0], -30) << "an axis at rest lags 0";
    AXB_SetAxisPosAbs(0, 0, 10000);
    struct Tick { int32_t position, maxLag; std::string readout, maxLagShown, positionShown, velocity; };
    std::vector<Tick> ticks;
    for (int i = 0; i < 150; ++i) {
        h.Clock().Advance(10);
        ticks.push_back({AxbSim_PeekPosition(0), g_maxFollowing[0], Text(main, IDC_READOUT_X),
                         Text(main, IDC_MAX_FOLLOWING), Text(main, IDC_POSITION), Text(main, IDC_VELOCITY)});
    }
    EXPECT_EQ(ticks[29].positionShown, ticks[29].readout) << "X is the current axis";
    EXPECT_NE(ticks[29].velocity, "0.0000");
    std::vector<size_t> repaints;
    for (size_t i = 1; i < ticks.size(); ++i)
        if (ticks[i].readout != ticks[i - 1].readout)
            repaints.push_back(i);
    ASSERT_GT(repaints.size(), 5u);
    for (size_t r = 1; r < repaints.size(); ++r)
        EXPECT_GE(repaints[r] - repaints[r - 1], 4u) << "a repaint " << (repaints[r] - repaints[r - 1]) * 10
                                                      << " ms after the one before";
    const auto lastChange = [&ticks](auto field) {
        size_t last = 0;
        for (size_t i = 1; i < ticks.size(); ++i)
            if (ticks[i].*field != ticks[i - 1].*field)
                last = i;
        return last;
    };
    const size_t stood = lastChange(&Tick::position);
    ASSERT_LT(stood + 4, ticks.size());
    EXPECT_EQ(ticks[stood + 4].readout, "10.0000");
    const size_t peaked = lastChange(&Tick::maxLag);
    const int32_t peakLag = ticks.back().maxLag;
    char peak[32];
    FormatLength(peak, sizeof peak, peakLag, 0);
    EXPECT_EQ(ticks[peaked + 4].maxLagShown, peak);
    EXPECT_GT(std::abs(peakLag), 30);
    h.Clock().Advance(10000);
    EXPECT_EQ(g_maxFollowing[0], peakLag);
    for (auto [id, shown] : {std::pair{IDC_READOUT_X, "10.0000"}, {IDC_POSITION, "10.0000"}, {IDC_VELOCITY, "0.0000"},
                             {IDC_READOUT_Y, "0.0000"}, {IDC_FOLLOWING_ERROR, "0.0000"}})
        EXPECT_EQ(Text(main, id), shown) << id;
    ChooseUnit(IDC_UNIT_IN);
    h.Clock().Advance(10);
    EXPECT_EQ(Text(main, IDC_READOUT_X), "0.39370");
}

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
