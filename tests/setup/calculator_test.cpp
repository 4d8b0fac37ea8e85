// The Calculator as a technician uses it: opened from "Calc" beside the
// running main timer, a layout per motor type, results shown and nothing
// written to the board, the stepper drive data kept per axis, and "OK"
// deciding whether the main window can convert stepper fields. The
// arithmetic itself is checked in tests/core.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "res/resource.h"
#include "tests/support/program_test.h"
#include "ui/axis_radios.h"

#include <algorithm>

using ::testing::IsEmpty;

namespace {

constexpr int kBrushlessFields[] = {IDC_CALC_POLE_PAIRS, IDC_CALC_LEAD_PITCH, IDC_CALC_ROTATIONS,
                                    IDC_CALC_MOTOR_LAG};

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
        EXPECT_TRUE(IsChecked(dlg, IDC_AXIS_Q));
        EXPECT_EQ(Text(dlg, IDC_CALC_LEAD) + " " + Text(dlg, IDC_CALC_STEPS) + " " + Text(dlg, IDC_CALC_MICROSTEPS),
                  "6.35 200 64");
        TypeText(dlg, IDC_CALC_LEAD, L"5");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Results(dlg), "300 2560000");
        // Text without a number keeps the value the field had.
        TypeText(dlg, IDC_CALC_LEAD, L"abc");
        TypeText(dlg, IDC_CALC_STEPS, L"");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Results(dlg), "300 2560000");
        // A holding torque above 10 % gives a negative torque, shown signed.
        g_param[AxisParam(78, 3)] = 15;
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_TORQUE), "-300");
        TypeText(dlg, IDC_CALC_MICROSTEPS, L"512");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(timerWhileOpen, 10u) << "the main timer keeps running beneath the calculator";
    EXPECT_EQ(g_leadscrew_lead[3], 5.0f);
    EXPECT_EQ(g_motorSteps[3], 200.0f);
    EXPECT_EQ(g_microsteps[3], 512.0f);
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
    struct Case {
        const wchar_t* lead;
        int valid;
        float storedLead;
    };
    constexpr Case kCases[] = {{L"45", 0, 12800.0f}, {L"5", 1, 5.0f}, {L"0.0005", 0, 12800.0f}, {L"30", 1, 30.0f}};
    for (const Case& c : kCases) {
        OpenCalc(3, [&](HWND dlg) {
            TypeText(dlg, IDC_CALC_LEAD, c.lead);
            TypeText(dlg, IDC_CALC_STEPS, L"400");
            PressButton(dlg, IDC_CALC_OK);
        });
        SCOPED_TRACE(Narrow(c.lead));
        EXPECT_EQ(g_stepperCalValid[3], c.valid);
        EXPECT_EQ(g_leadscrew_lead[3], c.storedLead);
        EXPECT_EQ(g_motorSteps[3], c.valid ? 400.0f : 200.0f);
        EXPECT_EQ(krv_user_box_data.distancePerMotorRevMm[3], c.storedLead);
        EXPECT_EQ(Text(main, IDC_PARAM_JOY_VEL) == "?????", c.valid == 0);
    }
}

TEST_F(Calculator, BrushlessResultsAndAZeroMotorLag)
{
    Start();
    OpenCalc(0, [&](HWND dlg) {
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

TEST_F(Calculator, LayoutFollowsTheMotorType)
{
    struct Case {
        uint32_t type;
        const char* title;
        bool lead, stepper, brushless;
    };
    constexpr Case kCases[] = {
        {0, "Motor: Disabled", false, false, false},          {1, "Motor: Brushed DC Motor", true, false, false},
        {2, "Motor: Brushless DC Servo", false, false, true}, {3, "Motor: Stepper", true, true, false},
        {4, "Motor: Open Loop Stepper", true, true, false},   {5, "Motor: Brushless DC Open Loop", false, false, true},
        {14, "Motor: Unknown", false, false, false},
    };
    Start();
    for (const Case& c : kCases) {
        g_param[AxisParam(kParamMotorType, 1)] = c.type;
        OpenCalc(1, [&](HWND dlg) {
            SCOPED_TRACE(c.title);
            EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), c.title);
            EXPECT_EQ(IsControlVisible(dlg, IDC_CALC_LEAD), c.lead);
            EXPECT_EQ(IsControlVisible(dlg, IDC_CALC_STEPS) && IsControlVisible(dlg, IDC_CALC_MICROSTEPS), c.stepper);
            EXPECT_EQ(std::ranges::all_of(kBrushlessFields, [&](int id) { return IsControlVisible(dlg, id); }),
                      c.brushless);
            EXPECT_EQ(IsControlVisible(dlg, IDC_CALC_CALC), c.lead || c.brushless) << "nothing to calculate";
            PressButton(dlg, IDC_CALC_OK);
        });
    }
}

TEST_F(Calculator, AxisChangesKeepEachAxisDataAndTheZoomHasNoStepperCalibration)
{
    Start();
    g_leadscrew_lead[1] = 4.5f;
    g_motorSteps[1] = 400.0f;
    OpenCalc(0, [&](HWND dlg) {
        TypeText(dlg, IDC_CALC_LEAD, L"7");   // X's lead field, stored on the axis change
        ChooseRadio(dlg, IDC_AXIS_Y, kAxisRadioIds);
        EXPECT_EQ(Text(dlg, IDC_CALC_LEAD) + " " + Text(dlg, IDC_CALC_STEPS), "4.5 400");
        ChooseRadio(dlg, IDC_AXIS_ZOOM, kAxisRadioIds);
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Brushed DC Motor");
        TypeText(dlg, IDC_CALC_LEAD, L"12");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(g_leadscrew_lead[0], 7.0f);
    EXPECT_EQ(g_leadscrew_lead[4], 12.0f);
    EXPECT_EQ(g_stepperCalValid[4], 0) << "the zoom has no stepper calibration";
    EXPECT_EQ(g_radio_last, 4);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_ZOOM));
}

} // namespace
