// The axis setup dialogs as a technician uses them. Motor Setup, the
// Calculator (its arithmetic is checked in tests/core), System, Copy Settings
// and Track Ball. "Encoder" and "User Parameters", each with a timer of its
// own: what they show and store per axis and unit, the lists by code, TTL
// signals, the zoom's own bits, "Here", the stepper calibration. "SW Fence":
// the board's fences and the stored fences of X, Y and Z in the main window's
// unit, changed only where the technician typed a new number, on every way out.
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "ui/axis_radios.h"

#include <algorithm>
#include <array>
#include <tuple>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

constexpr int kStepperControls[] = {IDC_MOTOR_RUN_CURRENT, IDC_MOTOR_HOLD_CURRENT, IDC_MOTOR_SWITCHOVER,
                                    IDC_MOTOR_RUN_CURRENT_CAPTION, IDC_MOTOR_HOLD_CURRENT_CAPTION,
                                    IDC_MOTOR_SWITCHOVER_CAPTION};
constexpr int kCommutationFields[] = {IDC_MOTOR_INIT_TORQUE, IDC_MOTOR_INIT_TIME, IDC_MOTOR_IMPULSE_TIME,
                                      IDC_MOTOR_IMPULSE_AMP, IDC_MOTOR_TORQUE_FACTOR};

bool AllShown(HWND dlg, std::span<const int> ids, bool shown)
{
    return std::ranges::all_of(ids, [&](int id) { return IsControlVisible(dlg, id) == shown; });
}

class MotorSetup : public ProgramTest {};

// The main timer stops beneath the dialog; an axis change stores the old
// axis, and every way out stores the current one.
TEST_F(MotorSetup, ShowsTheBoardsValuesAndStoresOnAxisChangesAndEveryWayOut)
{
    Start();
    UINT timerWhileOpen = 1;
    OpenModal(IDC_MOTOR, [&](HWND dlg) {
        timerWhileOpen = h.Clock().TimerPeriod(main, IDT_TICK);
        EXPECT_TRUE(IsChecked(dlg, IDC_AXIS_X));
        EXPECT_EQ(Selected(dlg, IDC_MOTOR_TYPE), 2);   // X: brushless
        EXPECT_TRUE(IsChecked(dlg, IDC_MOTOR_CNC_PLAYBACK));
        EXPECT_FALSE(IsChecked(dlg, IDC_MOTOR_REVERSED) || IsChecked(dlg, IDC_MOTOR_SWAP_LIMITS));
        EXPECT_EQ(Text(dlg, IDC_MOTOR_CURRENT_LIMIT) + " " + Text(dlg, IDC_MOTOR_BACKOFF) + " " +
                      Text(dlg, IDC_MOTOR_RUN_CURRENT) + " " + Text(dlg, IDC_MOTOR_HOLD_CURRENT) + " " +
                      Text(dlg, IDC_MOTOR_SWITCHOVER) + " " + Text(dlg, IDC_MOTOR_INIT_TORQUE),
                  "3000 10 100 10 1000000000 10");
        EXPECT_TRUE(AllShown(dlg, kStepperControls, true) && AllShown(dlg, kCommutationFields, true));

        TypeText(dlg, IDC_MOTOR_CURRENT_LIMIT, L"2500");
        ChooseRadio(dlg, IDC_AXIS_ZOOM, kAxisRadioIds);
        EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,67,2500)=1"));
        EXPECT_TRUE(IsControlVisible(dlg, IDC_MOTOR_TYPE_ZOOM) && !IsControlVisible(dlg, IDC_MOTOR_TYPE));
        EXPECT_THAT(ListItems(dlg, IDC_MOTOR_TYPE_ZOOM), ElementsAre("Motor Disabled", "Brushed DC motor"));
        EXPECT_EQ(Selected(dlg, IDC_MOTOR_TYPE_ZOOM), 1);
        EXPECT_EQ(Text(dlg, IDC_MOTOR_CURRENT_LIMIT), "1000");
        TypeText(dlg, IDC_MOTOR_BACKOFF, L"25");
        CloseByCloseBox(dlg);
    });
    EXPECT_EQ(timerWhileOpen, 0u) << "the main timer runs beneath the dialog";
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,67,2500)=1", "AXB_SetParam(0,243,25)=1"));
    EXPECT_TRUE(Logged("SAVING P064 as2"));
    EXPECT_EQ(g_radio_last, 4);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_ZOOM));
}

// A field without a number keeps its value: no write for it in the list.
TEST_F(MotorSetup, StepperWithoutCncPlaybackClampsCommutationValuesAndKeepsFieldsWithoutANumber)
{
    Start();
    OpenModal(IDC_MOTOR, [&](HWND dlg) {
        ChooseListItem(dlg, IDC_MOTOR_TYPE, 3);
        EXPECT_TRUE(AllShown(dlg, kCommutationFields, false)) << "a stepper has no commutation";
        for (int box : {IDC_MOTOR_SWAP_LIMITS, IDC_MOTOR_ACTIVE_LOW, IDC_MOTOR_REVERSED})
            CheckDlgButton(dlg, box, BST_CHECKED);
        CheckDlgButton(dlg, IDC_MOTOR_CNC_PLAYBACK, BST_UNCHECKED);
        TypeText(dlg, IDC_MOTOR_INIT_TORQUE, L"35");
        TypeText(dlg, IDC_MOTOR_IMPULSE_TIME, L"7");
        TypeText(dlg, IDC_MOTOR_IMPULSE_AMP, L"300");
        TypeText(dlg, IDC_MOTOR_TORQUE_FACTOR, L"4294967295");
        TypeText(dlg, IDC_MOTOR_CURRENT_LIMIT, L"");
        TypeText(dlg, IDC_MOTOR_BACKOFF, L"abc");
        TypeText(dlg, IDC_MOTOR_INIT_TIME, L"-5");
        TypeText(dlg, IDC_MOTOR_RUN_CURRENT, L"12x");
        PressButton(dlg, IDC_MOTOR_EXIT);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,64,11)=1", "AXB_SetParam(0,57,3)=1",
                                                    "AXB_SetParam(0,56,1)=1", "AXB_SetParam(0,266,20)=1",
                                                    "AXB_SetParam(0,268,65287)=1", "AXB_SetParam(0,269,4294967295)=1"));
    EXPECT_TRUE(Logged("SAVING P064 as11") && Logged("Setting param268 to 65287"));
    // The main window shows the stepper's rows for X now.
    EXPECT_TRUE(IsControlVisible(main, IDC_PARAM_TORQUE));
}

// Firmware before 0x00020200 cannot be asked its type, so its boards get
// list A. The torque factor is signed: "-5" must reach the board as its 32
// bits, not be taken for a field without a number.
TEST_F(MotorSetup, ListsStepperCurrentsAndTheTorqueFactorFollowFirmwareAndBoardType)
{
    struct Case { uint32_t firmware, boardType; size_t items; bool currentLimitShown, stepperShown, stepperWritten; };
    constexpr Case kCases[] = {
        {0x000201FF, 2, 6, true, false, false},   // too old to report its type: list A
        {0x00020200, 2, 5, false, false, false},
        {0x00020300, 1, 6, true, false, false},
        {0x00020307, 1, 6, true, false, true},    // hidden, but the filled values are applied
        {0x00020402, 1, 6, true, false, true},
        {0x00020403, 1, 6, true, true, true},
        {0x00020403, 2, 5, false, false, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firmware << " type " << c.boardType);
        Start([&] {
            AxbSim_SetFirmwareVersion(c.firmware);
            AxbSim_SetBoardType(c.boardType);
        });
        // The board holds another running current than the table.
        AxbSim_PokeParam(260, 55);
        OpenModal(IDC_MOTOR, [&](HWND dlg) {
            const auto items = ListItems(dlg, IDC_MOTOR_TYPE);
            EXPECT_EQ(items.size(), c.items);
            EXPECT_EQ(items[1], c.items == 5 ? "+/- 10 V Analog" : "Brushed DC motor");
            EXPECT_EQ(IsControlVisible(dlg, IDC_MOTOR_CURRENT_LIMIT), c.currentLimitShown);
            EXPECT_EQ(IsControlVisible(dlg, IDC_MOTOR_CURRENT_CAPTION), c.currentLimitShown);
            EXPECT_TRUE(AllShown(dlg, kStepperControls, c.stepperShown));
            TypeText(dlg, IDC_MOTOR_TORQUE_FACTOR, L"-5");
            PressButton(dlg, IDC_MOTOR_EXIT);
        });
        EXPECT_EQ(AxbSim_PeekParam(260), c.stepperWritten ? 100u : 55u);
        EXPECT_EQ(AxbSim_PeekParam(269), static_cast<uint32_t>(-5));
    }
}

// A board of type 2 swapped for one whose firmware is too old to say its
// type: the new board is type 0, not the type the old one said.
TEST_F(MotorSetup, ABoardTooOldToSayItsTypeIsTypeZeroAfterATypeTwoBoard)
{
    Start([] {
        AxbSim_SetFirmwareVersion(0x00020403);
        AxbSim_SetBoardType(2);
    });
    const auto listLength = [this] {
        size_t items = 0;
        OpenModal(IDC_MOTOR, [&](HWND dlg) {
            items = ListItems(dlg, IDC_MOTOR_TYPE).size();
            PressButton(dlg, IDC_MOTOR_EXIT);
        });
        return items;
    };
    EXPECT_EQ(listLength(), 5u);
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(6000);
    AxbSim_SetFirmwareVersion(0x00020100);
    ASSERT_EQ(AXB_OpenDrv(), 1);
    h.Clock().Advance(6000);
    EXPECT_EQ(listLength(), 6u);
}

// Opening and closing Motor Setup must never disable a motor: a code the
// list does not offer is kept.
TEST_F(MotorSetup, StoredCodesWithoutAListEntryAreKept)
{
    struct Case { uint32_t boardType; int axis; uint32_t stored; };
    constexpr Case kCases[] = {{1, 0, 6}, {1, 0, 15}, {2, 1, 5}, {1, 4, 2}, {1, 4, 11}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "axis " << c.axis << " P064 " << c.stored);
        const int param = AxisParam(kParamMotorType, c.axis);
        Start([&] {
            AxbSim_SetBoardType(c.boardType);
            AxbSim_PokeParam(param, c.stored);
        });
        OpenModal(IDC_MOTOR, [&](HWND dlg) {
            ChooseRadio(dlg, kAxisRadioIds[c.axis], kAxisRadioIds);
            EXPECT_EQ(Selected(dlg, c.axis == 4 ? IDC_MOTOR_TYPE_ZOOM : IDC_MOTOR_TYPE), -1);
            PressButton(dlg, IDC_MOTOR_EXIT);
        });
        EXPECT_EQ(g_param[param], c.stored);
        EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    }
}

class Calculator : public ProgramTest {
protected:
    void OpenCalc(int axis, ModalScript script)
    {
        g_radio_last = axis;
        OpenModal(IDC_CALC, std::move(script));
    }
    static std::string Results(HWND dlg) { return Text(dlg, IDC_CALC_TORQUE) + " " + Text(dlg, IDC_CALC_PV); }
};

TEST_F(Calculator, StepperResultsAreShownAndTheDriveDataKept)
{
    Start();
    UINT timerWhileOpen = 0;
    OpenCalc(3, [&](HWND dlg) {
        timerWhileOpen = h.Clock().TimerPeriod(main, IDT_TICK);
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Stepper");
        EXPECT_EQ(Text(dlg, IDC_CALC_LEAD) + " " + Text(dlg, IDC_CALC_STEPS) + " " + Text(dlg, IDC_CALC_MICROSTEPS),
                  "6.35 200 64");
        // A holding torque above 10 % gives a negative torque, shown signed.
        g_param[AxisParam(78, 3)] = 15;
        TypeText(dlg, IDC_CALC_LEAD, L"5");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Results(dlg), "-300 2560000");
        // Text without a number keeps the value the field had.
        TypeText(dlg, IDC_CALC_LEAD, L"abc");
        TypeText(dlg, IDC_CALC_STEPS, L"");
        TypeText(dlg, IDC_CALC_MICROSTEPS, L"512");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(timerWhileOpen, 10u) << "the main timer keeps running beneath the calculator";
    EXPECT_THAT((std::array{g_leadscrew_lead[3], g_motorSteps[3], g_microsteps[3]}), ElementsAre(5.0f, 200.0f, 512.0f));
    EXPECT_EQ(krv_user_box_data.distancePerMotorRevMm[3], 5.0f);
    EXPECT_EQ(krv_user_box_data.stepsPerRevDiv4[3], 50);
    EXPECT_EQ(krv_user_box_data.microStepsPerStepDiv2[3], 255) << "512 microsteps must not be stored as 0";
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

// The calculator's "lead valid" is the main window's stepper calibration:
// "OK" with a lead nobody believes makes the stepper fields "?????".
TEST_F(Calculator, OkDecidesWhetherTheMainWindowConvertsStepperFields)
{
    Start();
    ChooseUnit(IDC_UNIT_MM);
    ChooseAxis(IDC_AXIS_Q);
    EXPECT_NE(Text(main, IDC_PARAM_JOY_VEL), "?????");
    // Which leads are believable is the calibration's own rule (tests/core).
    for (const auto& [lead, valid] : {std::pair{L"45", false}, {L"5", true}}) {
        OpenCalc(3, [&](HWND dlg) {
            TypeText(dlg, IDC_CALC_LEAD, lead);
            TypeText(dlg, IDC_CALC_STEPS, L"400");
            PressButton(dlg, IDC_CALC_OK);
        });
        SCOPED_TRACE(Narrow(lead));
        EXPECT_EQ(g_stepperCalValid[3], valid ? 1 : 0);
        EXPECT_EQ(g_leadscrew_lead[3], valid ? 5.0f : 12800.0f);
        EXPECT_EQ(g_motorSteps[3], valid ? 400.0f : 200.0f);
        EXPECT_EQ(krv_user_box_data.distancePerMotorRevMm[3], g_leadscrew_lead[3]);
        EXPECT_EQ(Text(main, IDC_PARAM_JOY_VEL) == "?????", !valid);
    }
}

TEST_F(Calculator, BrushlessResultsAndAZeroMotorLag)
{
    Start();
    OpenCalc(0, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Brushless DC Servo");
        EXPECT_FALSE(IsControlVisible(dlg, IDC_CALC_LEAD));
        TypeText(dlg, IDC_CALC_POLE_PAIRS, L"4");
        TypeText(dlg, IDC_CALC_LEAD_PITCH, L"2");
        TypeText(dlg, IDC_CALC_ROTATIONS, L"1");
        TypeText(dlg, IDC_CALC_MOTOR_LAG, L"8");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Results(dlg), "4800000 5000");
        TypeText(dlg, IDC_CALC_MOTOR_LAG, L"0");
        TypeText(dlg, IDC_CALC_ROTATIONS, L"0");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Results(dlg), "????? ?????");
        PressButton(dlg, IDC_CALC_OK);
    });
    // The zero divisors were not kept.
    OpenCalc(0, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_CALC_POLE_PAIRS) + " " + Text(dlg, IDC_CALC_ROTATIONS) + " " +
                      Text(dlg, IDC_CALC_MOTOR_LAG),
                  "4 1 8");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

// Each axis shows its type's layout; a type with no layout of its own (6
// on Z) has nothing to calculate.
TEST_F(Calculator, AxisChangesShowEachAxissLayoutAndKeepItsDataAndTheZoomHasNoStepperCalibration)
{
    Start();
    g_leadscrew_lead[1] = 4.5f;
    g_motorSteps[1] = 400.0f;
    g_param[AxisParam(kParamMotorType, 2)] = 6;
    OpenCalc(0, [&](HWND dlg) {
        TypeText(dlg, IDC_CALC_LEAD, L"7");   // X's lead field, stored on the axis change
        ChooseRadio(dlg, IDC_AXIS_Y, kAxisRadioIds);
        EXPECT_EQ(Text(dlg, IDC_CALC_LEAD) + " " + Text(dlg, IDC_CALC_STEPS), "4.5 400");
        ChooseRadio(dlg, IDC_AXIS_Z, kAxisRadioIds);
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Unknown");
        EXPECT_FALSE(IsControlVisible(dlg, IDC_CALC_CALC) || IsControlVisible(dlg, IDC_CALC_LEAD) ||
                     IsControlVisible(dlg, IDC_CALC_POLE_PAIRS));
        ChooseRadio(dlg, IDC_AXIS_ZOOM, kAxisRadioIds);
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Brushed DC Motor");
        EXPECT_TRUE(IsControlVisible(dlg, IDC_CALC_LEAD) && !IsControlVisible(dlg, IDC_CALC_STEPS));
        TypeText(dlg, IDC_CALC_LEAD, L"12");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(g_leadscrew_lead[0], 7.0f);
    EXPECT_EQ(g_leadscrew_lead[4], 12.0f);
    EXPECT_EQ(g_stepperCalValid[4], 0) << "the zoom has no stepper calibration";
    EXPECT_EQ(g_radio_last, 4);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_ZOOM));
}

class SystemDialog : public ProgramTest {};

// System shows and keeps its timing in the table only; what the board gets
// is written by the main window's Apply.
TEST_F(SystemDialog, OkStoresTheTableAndACloseBoxOrAFieldWithoutANumberStoresNothing)
{
    // Which texts are numbers is the reader's own rule (tests/core).
    struct Case { const wchar_t *cycleTime, *heartbeat; bool byCloseBox; uint32_t p049, p034; };
    constexpr Case kCases[] = {{L"2000", L"250", false, 2000, 250}, {L"", L"abc", false, 1000, 0},
                               {L"-1", L"77", false, 1000, 77}, {L"1500", L"77", true, 1000, 0}};
    Start();
    for (const Case& c : kCases) {
        g_param[49] = 1000;
        g_param[34] = 0;
        OpenModal(IDC_SYSTEM, [&](HWND dlg) {
            EXPECT_EQ(Text(dlg, IDC_SYSTEM_CYCLE_TIME) + " " + Text(dlg, IDC_SYSTEM_HEARTBEAT), "1000 0");
            TypeText(dlg, IDC_SYSTEM_CYCLE_TIME, c.cycleTime);
            TypeText(dlg, IDC_SYSTEM_HEARTBEAT, c.heartbeat);
            c.byCloseBox ? CloseByCloseBox(dlg) : PressButton(dlg, IDC_SYSTEM_OK);
        });
        EXPECT_EQ(g_param[49], c.p049) << Narrow(c.cycleTime);
        EXPECT_EQ(g_param[34], c.p034) << Narrow(c.heartbeat);
    }
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

// Each axis has a block of 40 parameters from P050 + 40·a and, X..Q only, a
// second one from P260 + 40·a.
class CopySettings : public ProgramTest {
protected:
    // The main timer's period while the dialog was open.
    UINT Copy(int source, std::initializer_list<int> targets)
    {
        UINT timer = 1;
        g_radio_last = source;
        OpenModal(IDC_COPY_SETTINGS, [&](HWND dlg) {
            timer = h.Clock().TimerPeriod(main, IDT_TICK);
            EXPECT_TRUE(IsChecked(dlg, kAxisRadioIds[source]));
            for (int target : targets)
                CheckDlgButton(dlg, IDC_COPY_TO_X + target, BST_CHECKED);
            PressButton(dlg, IDC_COPY_COPY);
            PressButton(dlg, IDC_COPY_EXIT);
        });
        return timer;
    }
    // The parameter numbers the copy read from the board, in order.
    std::vector<int> ParamsRead()
    {
        std::vector<int> numbers;
        bool afterWrite = false;
        for (const std::string& call : SimCalls()) {
            // A read right after a write is the write's read-back.
            if (call.starts_with("AXB_GetParam(0,") && !afterWrite)
                numbers.push_back(std::stoi(call.substr(15)));
            afterWrite = call.starts_with("AXB_SetParam(");
        }
        return numbers;
    }
    // The block at `to` holds the one at `from`, in the program and on the board.
    static bool BlockEqual(int from, int to)
    {
        for (int i = 0; i < 40; ++i)
            if (g_param[from + i] != g_param[to + i] || AxbSim_PeekParam(to + i) != g_param[from + i])
                return false;
        return true;
    }
    // Distinct X values, so that a copy shows.
    static void MarkX()
    {
        for (uint32_t i = 0; i < 40; ++i) {
            g_param[50 + i] = 7000 + i;
            g_param[260 + i] = 8000 + i;
        }
        g_param[58] = 1000;
    }
};

TEST_F(CopySettings, XToYAndZCopiesBothBlocksInterleavedByIndex)
{
    Start();
    MarkX();
    EXPECT_EQ(Copy(0, {0, 1, 2}), 0u) << "the main timer runs beneath the dialog";
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    const std::vector<int> read = ParamsRead();
    ASSERT_EQ(read.size(), 160u) << "the source's own box copies nothing";
    EXPECT_THAT(std::vector<int>(read.begin(), read.begin() + 8), ElementsAre(90, 300, 130, 340, 91, 301, 131, 341));
    EXPECT_TRUE(BlockEqual(50, 90) && BlockEqual(50, 130) && BlockEqual(260, 300) && BlockEqual(260, 340));
    EXPECT_EQ(Calls("AXB_SetParam(").size(), 158u) << "Y and Z hold X's counts per mm already";
    EXPECT_THAT(LinesStartingWith({"Setting param"}), IsEmpty());
}

// Q's block holds its joystick rows (P204..P209), so they go with it.
TEST_F(CopySettings, TheZoomHasNoSecondBlockAndQsBlockCarriesItsJoystickRows)
{
    Start();
    Copy(4, {0});
    EXPECT_EQ(ParamsRead().size(), 40u);
    EXPECT_TRUE(BlockEqual(210, 50));
    EXPECT_EQ(AxbSim_PeekParam(260), 100u);

    MarkX();
    Forget();
    Copy(0, {4});
    EXPECT_EQ(ParamsRead().size(), 40u);
    EXPECT_TRUE(BlockEqual(50, 210));

    Copy(0, {3});
    EXPECT_EQ(g_param[209], 7039u);
    EXPECT_EQ(AxbSim_PeekParam(207), 7037u);
}

// Y at 2000 counts/mm takes X's 1000: its converted fields must use the new
// scale, or every millimetre field of Y would be halved at the next apply.
TEST_F(CopySettings, TargetScalesFollowTheCopiedCountsPerMm)
{
    Start([] { AxbSim_PokeParam(98, 2000); });
    EXPECT_EQ(g_resolution[1], 0.0005f);
    Copy(0, {1});
    EXPECT_EQ(g_resolution[1], 0.001f);
    ChooseUnit(IDC_UNIT_MM);
    ChooseAxis(IDC_AXIS_Y);
    EXPECT_EQ(Text(main, IDC_PARAM_TARGET_WINDOW), "0.005");
    Press(IDC_APPLY);
    EXPECT_EQ(AxbSim_PeekParam(100), 5u);
}

class Trackball : public ProgramTest {
protected:
    static std::string Enables(HWND dlg)
    {
        std::string shown;
        for (int id : {IDC_TB_ENABLE_X, IDC_TB_ENABLE_Y, IDC_TB_ENABLE_Z})
            shown += IsChecked(dlg, id) ? '1' : '0';
        return shown;
    }
};

// The close box leaves without applying; Apply and OK compose the rates,
// the deadband, the inversion and the enables.
TEST_F(Trackball, ShowsTheBoardAndTheLivePositionsAndComposesWhatApplyAndOkStore)
{
    Start();
    AxbSim_PlaceAxis(0, 12345);
    OpenModal(IDC_TRACKBALL, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_TB_COARSE_X) + " " + Text(dlg, IDC_TB_FINE_X) + " " + Text(dlg, IDC_TB_DEADBAND_X),
                  "50 5 10");
        EXPECT_EQ(Enables(dlg) + " " + Text(dlg, IDC_TB_P022), "110 0x00DB");   // P022 = 219 from the start-up
        EXPECT_FALSE(IsChecked(dlg, IDC_TB_INVERT_X) || IsControlVisible(dlg, IDC_TB_COARSE_Q));
        EXPECT_EQ(Text(dlg, IDC_TB_POSITION_X), "");
        h.Clock().Advance(100);
        EXPECT_EQ(Text(dlg, IDC_TB_POSITION_X) + " " + Text(dlg, IDC_TB_POSITION_Q), "12.3450 0.0000");
        TypeText(dlg, IDC_TB_COARSE_X, L"99");
        CheckDlgButton(dlg, IDC_TB_ENABLE_Z, BST_CHECKED);
        CloseByCloseBox(dlg);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    EXPECT_EQ(g_param[5], 0x0A000532u);
    OpenModal(IDC_TRACKBALL, [&](HWND dlg) {
        TypeText(dlg, IDC_TB_COARSE_X, L"60");
        CheckDlgButton(dlg, IDC_TB_INVERT_Y, BST_CHECKED);
        TypeText(dlg, IDC_TB_DEADBAND_Z, L"");   // no number: the deadband stays
        TypeText(dlg, IDC_TB_FINE_Z, L"258");    // cut to 8 bits
        CheckDlgButton(dlg, IDC_TB_ENABLE_X, BST_UNCHECKED);
        PressButton(dlg, IDC_TB_APPLY);
        EXPECT_EQ(Text(dlg, IDC_TB_P022), "0x00C3");   // of the enables, only Y's bits 6 and 7
        EXPECT_THAT(Calls("AXB_SetParam("),
                    ElementsAre("AXB_SetParam(0,5,167773500)=1", "AXB_SetParam(0,6,167839026)=1",
                                "AXB_SetParam(0,7,167772722)=1", "AXB_SetParam(0,22,195)=1"));
        EXPECT_TRUE(Logged("Setting param22 to 195"));
        // Re-applying the same fields finds nothing to write.
        Forget();
        PressButton(dlg, IDC_TB_APPLY);
        EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
        PressButton(dlg, IDC_TB_OK);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

TEST_F(Trackball, OlderFirmwareLayoutsAreReadAndKept)
{
    struct Case { uint32_t firmware, p022; const char *enables, *deadband; };
    constexpr Case kCases[] = {
        {0x00020008, 0x0330, "110", ""},     // enables at bits 4..5, 8..9, 12..13
        {0x00020008, 0x3010, "101", ""},     // either bit of a pair counts
        {0x00020100, 0x06D8, "111", ""},     // new enable layout, no deadband yet
        {0x00020207, 0x00C0, "010", "10"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firmware << " P022 " << c.p022);
        Start([&] {
            AxbSim_SetFirmwareVersion(c.firmware);
            AxbSim_PokeParam(22, c.p022);
        });
        OpenModal(IDC_TRACKBALL, [&](HWND dlg) {
            EXPECT_EQ(Enables(dlg), c.enables);
            EXPECT_EQ(Text(dlg, IDC_TB_DEADBAND_X), c.deadband);
            PressButton(dlg, IDC_TB_OK);
        });
        // "OK" with nothing changed keeps every trackball axis as it was,
        // the deadband byte included.
        if (std::string(c.enables) == "101")
            EXPECT_EQ(g_param[22], 0x3030u);   // the pair made whole
        else
            EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    }
}

// Opens the dialog of kButton; its timer runs before the technician acts,
// and kExit ends the work unless the work ended the dialog.
template <int kButton, int kExit>
class TimedSetupDialog : public ProgramTest {
protected:
    void Work(const std::function<void(HWND)>& work)
    {
        OpenModal(kButton, [&](HWND dlg) {
            h.Clock().Advance(200);
            work(dlg);
            if (!ModalDialogEnded(dlg))
                PressButton(dlg, kExit);
        });
    }
};

using Encoder = TimedSetupDialog<IDC_ENCODER, IDC_ENC_EXIT>;

// Every path that changes P058 recomputes the scales before the fields are filled.
TEST_F(Encoder, LengthsBecomeCountsAndTheScalesFollow)
{
    // increment nullptr: left as shown
    struct Case { const char* name; const wchar_t *resolution, *increment; uint32_t counts, incrementCounts; };
    constexpr Case kCases[] = {
        {"1 um", L"0.001", L"20", 1000, 20000},
        {"0.4 um keeps the increment's length", L"0.0004", nullptr, 2500, 50000},
        {"reciprocal n + 0.5 rounds up", L"0.4", nullptr, 3, 50},
        {"no resolution clears", L"0", nullptr, 0, 0},
    };
    Start();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        g_param[58] = 1000;
        g_param[70] = 20000;
        RecomputeScales();
        Work([&](HWND dlg) {
            TypeText(dlg, IDC_ENC_RESOLUTION, c.resolution);
            if (c.increment)
                TypeText(dlg, IDC_ENC_INCREMENT, c.increment);
        });
        EXPECT_EQ(g_param[70], c.incrementCounts);
        EXPECT_EQ(AxbSim_PeekParam(58), c.counts);
        EXPECT_FLOAT_EQ(g_resolution[0], c.counts ? 1.0f / static_cast<float>(c.counts) : 0.0f);
    }
}

TEST_F(Encoder, TtlSignalsHaveNoInterpolation)
{
    Start();
    g_param[16] = 0x0106;
    Work([&](HWND dlg) {
        EXPECT_EQ(Selected(dlg, IDC_ENC_INTERPOLATION), 3);   // 10x
        SendDlgItemMessageW(dlg, IDC_ENC_SIGNAL_TYPE, CB_SETCURSEL, 8, 0);   // TTL Single Ended XnB
        h.Clock().Advance(100);
        EXPECT_FALSE(IsControlEnabled(dlg, IDC_ENC_INTERPOLATION));
    });
    EXPECT_THAT(Calls("AXB_SetParam("), Contains("AXB_SetParam(0,16,2051)=1"));   // 0x0803
    EXPECT_TRUE(Logged("setting par 16to 2051"));
}

TEST_F(Encoder, SwitchingAxesWritesTheOldAxisFirstAndTheCloseBoxDiscards)
{
    Start();
    g_param[20] = 0;
    Work([&](HWND dlg) {
        CheckDlgButton(dlg, IDC_ENC_COUNT_REVERSE, BST_CHECKED);
        PressButton(dlg, IDC_AXIS_Y);
        EXPECT_EQ(g_param[20], 1u);
        CheckDlgButton(dlg, IDC_ENC_ACU_RITE, BST_CHECKED);
        CloseByCloseBox(dlg);
    });
    EXPECT_EQ(AxbSim_PeekParam(20), 1u);
    EXPECT_EQ(g_param[73 + 40], 0u);
    EXPECT_EQ(g_radio_last, 1);
}

TEST_F(Encoder, ZoomCountDirectionIsItsOwnBitAndMarkSettingsReachTheBoard)
{
    Start();
    const uint32_t p20 = g_param[20];
    Work([&](HWND dlg) {
        CheckDlgButton(dlg, IDC_ENC_ANALOG_INVERTED, BST_CHECKED);
        CheckDlgButton(dlg, IDC_ENC_ACU_RITE, BST_CHECKED);
        PressButton(dlg, IDC_AXIS_ZOOM);
        EXPECT_FALSE(IsControlVisible(dlg, IDC_ENC_SIGNAL_TYPE));
        CheckDlgButton(dlg, IDC_ENC_COUNT_REVERSE, IsChecked(dlg, IDC_ENC_COUNT_REVERSE) ? BST_UNCHECKED : BST_CHECKED);
    });
    EXPECT_EQ(g_param[20], p20);
    EXPECT_EQ(AxbSim_PeekParam(22), g_param[22]);
    EXPECT_THAT(Calls("AXB_SetParam(0,22,"), SizeIs(1));
    EXPECT_EQ(g_param[73], 2u);
    EXPECT_THAT(Calls("AXB_SetParam(0,73,"), IsEmpty()) << "the table only";
    uint16_t reg = 0;
    AXB_GetAxisReg(0, 0, 2, &reg);
    EXPECT_TRUE(reg & 0x800);
}

using UserParams = TimedSetupDialog<IDC_USER_PARAM, IDC_UP_OK>;

TEST_F(UserParams, TypedLengthsAreStoredAsCountsOfTheUnit)
{
    struct Case { int unitMode, field; const wchar_t* typed; int32_t stored; };
    constexpr Case kCases[] = {
        {kUnitMm, IDC_UP_ZERO_OFFSET, L"-2.5", -2500},     {kUnitMm, IDC_UP_ZERO_OFFSET, L"0.0004", 0},
        {kUnitStored, IDC_UP_ZERO_OFFSET, L"12.5", 13},    {kUnitStored, IDC_UP_ZERO_OFFSET, L"-12.5", -12},
        {kUnitInch, IDC_UP_FENCE_PLUS, L"1", 25400},       {kUnitMm, IDC_UP_FENCE_MINUS, L"-100", -100000},
    };
    Start();
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "unit " << c.unitMode << ": " << Narrow(c.typed));
        g_unitMode = c.unitMode;
        Work([&](HWND dlg) { TypeText(dlg, c.field, c.typed); });
        const int32_t stored = c.field == IDC_UP_ZERO_OFFSET ? machine_zero_offset[kAxisX]
                               : c.field == IDC_UP_FENCE_PLUS ? krv_user_box_data.swFencePlus[kAxisX]
                                                              : krv_user_box_data.swFenceMinus[kAxisX];
        EXPECT_EQ(stored, c.stored);
    }
}

TEST_F(UserParams, HomingSettingsStepperDataAndTheFlashCopy)
{
    Start();
    Work([&](HWND dlg) {
        CheckDlgButton(dlg, IDC_UP_AUTO_HOME, BST_CHECKED);
        SendDlgItemMessageW(dlg, IDC_UP_ZEROING_METHOD, CB_SETCURSEL, 4, 0);
        TypeText(dlg, IDC_UP_HOME_VELOCITY, L"37.9");
        TypeText(dlg, IDC_UP_STEPS, L"202");
        TypeText(dlg, IDC_UP_MICROSTEPS, L"16");
        TypeText(dlg, IDC_UP_LEAD, L"5");
    });
    const KrvUserBoxData& record = krv_user_box_data;
    EXPECT_EQ(record.autoHomeEnabled[kAxisX], 1);
    EXPECT_EQ(record.zeroingMethod[kAxisX], 4);
    EXPECT_FLOAT_EQ(record.autoHomeVelocityPercent[kAxisX], 37.9f);
    EXPECT_EQ(record.stepsPerRevDiv4[kAxisX], 50);
    EXPECT_EQ(record.microStepsPerStepDiv2[kAxisX], 8);
    EXPECT_TRUE(Logged("COMBO current select 4"));
    // The program converts with the new drive at once, as after loading zoom.ini.
    EXPECT_THAT((std::array{g_leadscrew_lead[kAxisX], g_motorSteps[kAxisX], g_microsteps[kAxisX]}),
                ElementsAre(5.0f, 200.0f, 16.0f));
    // The next flash write carries the change.
    EXPECT_EQ(g_flashItemValues[FindFlashItem(1004)].byteValue, 4);
    EXPECT_EQ(g_flashItemValues[FindFlashItem(1001)].byteValue & 1, 1);

    Work([&](HWND dlg) { EXPECT_EQ(Text(dlg, IDC_UP_STEPS), "200"); });
}

TEST_F(UserParams, FenceControlsBelongToXYZTheAxisIsStoredBeforeSwitchingAndTheCloseBoxDiscards)
{
    Start();
    Work([&](HWND dlg) {
        EXPECT_TRUE(IsControlVisible(dlg, IDC_UP_FENCE_PLUS));
        TypeText(dlg, IDC_UP_HOME_VELOCITY, L"20");
        PressButton(dlg, IDC_AXIS_Q);
        EXPECT_FALSE(IsControlVisible(dlg, IDC_UP_FENCE_PLUS) || IsControlVisible(dlg, IDC_UP_FENCE_ENABLED));
        EXPECT_FLOAT_EQ(krv_user_box_data.autoHomeVelocityPercent[kAxisX], 20.0f);
        PressButton(dlg, IDC_AXIS_Z);
        EXPECT_TRUE(IsControlVisible(dlg, IDC_UP_FENCE_MINUS));
        TypeText(dlg, IDC_UP_HOME_VELOCITY, L"55");
        CloseByCloseBox(dlg);
    });
    EXPECT_EQ(g_radio_last, kAxisZ);
    EXPECT_FLOAT_EQ(krv_user_box_data.autoHomeVelocityPercent[kAxisZ], 0.0f);
}

// "Here" needs a zero the homing established.
TEST_F(UserParams, HereTakesThePositionOnceTheAxisIsHomed)
{
    Start();
    AxbSim_PlaceAxis(kAxisX, 12345);
    g_offset[kAxisX] = 100;
    machine_zero_offset[kAxisX] = 45;
    Work([&](HWND dlg) {
        EXPECT_FALSE(IsControlEnabled(dlg, IDC_UP_FENCE_PLUS_HERE));
        g_homeRefFound[kAxisX] = true;
        h.Clock().Advance(20);
        ASSERT_TRUE(IsControlEnabled(dlg, IDC_UP_FENCE_PLUS_HERE));
        PressButton(dlg, IDC_UP_FENCE_PLUS_HERE);
        PressButton(dlg, IDC_UP_ZERO_OFFSET_HERE);
    });
    EXPECT_EQ(krv_user_box_data.swFencePlus[kAxisX], 12345 - 100 - 45);
    EXPECT_EQ(machine_zero_offset[kAxisX], 12345 - 100);
    EXPECT_TRUE(Logged("storing value as pos-g_offset-machine_zero_offset12200"));
}

class SwFence : public ProgramTest {};

// Q and the zoom have no fences: with either current the dialog opens on X.
TEST_F(SwFence, OpensOnXForQAndTheZoomAndConvertsMillimetresWithTheAxisScale)
{
    Start();
    ChooseUnit(IDC_UNIT_MM);
    ChooseAxis(IDC_AXIS_ZOOM);
    OpenModal(IDC_SW_FENCE, [&](HWND dlg) { CloseByCloseBox(dlg); });
    EXPECT_EQ(g_radio_last, 0);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_X));
    ChooseAxis(IDC_AXIS_Q);
    Forget();
    krv_user_box_data.swFencePlus[0] = 123456;
    OpenModal(IDC_SW_FENCE, [&](HWND dlg) {
        EXPECT_TRUE(IsChecked(dlg, IDC_AXIS_X));
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS) + " " + Text(dlg, IDC_FENCE_MINUS) + " " + Text(dlg, IDC_FENCE_STORED_PLUS),
                  "1e+06 -1e+06 123.456");
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS_CAPTION), "+ SW Fence (mm)");
        TypeText(dlg, IDC_FENCE_PLUS, L"150");
        TypeText(dlg, IDC_FENCE_STORED_PLUS, L"12.5");
        PressButton(dlg, IDC_FENCE_OK);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,68,150000)=1"));
    EXPECT_THAT(LinesStartingWith({"Setting param"}), ElementsAre("Setting param68 to 150000"));
    EXPECT_EQ(krv_user_box_data.swFencePlus[0], 12500);
    EXPECT_TRUE(Logged("Value to convert 123456 result of unconvert 123.456"));
    EXPECT_TRUE(Logged("Value to unconvert 12.5 result of unconvert 12500"));
}

TEST_F(SwFence, CountsTextWithoutANumberAndTheEnabledBox)
{
    Start();
    krv_user_box_data.swFenceEnabled[0] = 1;
    krv_user_box_data.swFenceEnabled[1] = 0;
    OpenModal(IDC_SW_FENCE, [&](HWND dlg) {
        EXPECT_TRUE(IsChecked(dlg, IDC_FENCE_ENABLED));
        CheckDlgButton(dlg, IDC_FENCE_ENABLED, BST_UNCHECKED);
        TypeText(dlg, IDC_FENCE_PLUS, L"abc");
        TypeText(dlg, IDC_FENCE_MINUS, L"-5000");
        TypeText(dlg, IDC_FENCE_STORED_MINUS, L"");
        ChooseRadio(dlg, IDC_AXIS_Y, kAxisRadioIds);   // applies to X
        EXPECT_FALSE(IsChecked(dlg, IDC_FENCE_ENABLED));
        CheckDlgButton(dlg, IDC_FENCE_ENABLED, BST_CHECKED);
        TypeText(dlg, IDC_FENCE_PLUS, L"250000");
        CloseByCloseBox(dlg);
    });
    EXPECT_EQ(krv_user_box_data.swFenceEnabled[0], 0);
    EXPECT_EQ(krv_user_box_data.swFenceEnabled[1], 1);
    EXPECT_EQ(krv_user_box_data.swFenceMinus[0], -1000000000);
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,69,4294962296)=1", "AXB_SetParam(0,108,250000)=1"));
    EXPECT_EQ(g_param[68], 1000000000u);
}

} // namespace
