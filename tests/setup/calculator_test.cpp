// The Calculator as a technician uses it: opened from "Calc" beside the
// running main timer, a layout per motor type, results shown and nothing
// written to the board, the stepper drive data kept per axis, and "OK"
// deciding whether the main window can convert stepper fields.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "setup_fixture.h"

using ::testing::IsEmpty;

namespace {

constexpr int kStepperFields[] = {IDC_CALC_LEAD, IDC_CALC_STEPS, IDC_CALC_MICROSTEPS};
constexpr int kBrushlessFields[] = {IDC_CALC_POLE_PAIRS, IDC_CALC_LEAD_PITCH, IDC_CALC_ROTATIONS,
                                    IDC_CALC_MOTOR_LAG};

class Calculator : public SetupDialogTest {
protected:
    void OpenCalc(int axis, ModalScript script)
    {
        g_radio_last = axis;
        Open(IDC_CALC, std::move(script));
    }
    static bool Shown(HWND dlg, std::span<const int> ids)
    {
        for (int id : ids)
            if (!IsControlVisible(dlg, id))
                return false;
        return true;
    }
    static bool Hidden(HWND dlg, std::span<const int> ids)
    {
        for (int id : ids)
            if (IsControlVisible(dlg, id))
                return false;
        return true;
    }
};

TEST_F(Calculator, StepperResultsAreShownAndTheDriveDataKept)
{
    Start();
    UINT timerWhileOpen = 0;
    OpenCalc(3, [&](HWND dlg) {
        timerWhileOpen = h.Clock().TimerPeriod(main, IDT_TICK);
        EXPECT_TRUE(IsChecked(dlg, IDC_AXIS_Q));
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Stepper");
        EXPECT_EQ(Text(dlg, IDC_CALC_LEAD) + " " + Text(dlg, IDC_CALC_STEPS) + " " + Text(dlg, IDC_CALC_MICROSTEPS),
                  "6.35 200 64");
        EXPECT_TRUE(Shown(dlg, kStepperFields) && Hidden(dlg, kBrushlessFields));
        TypeText(dlg, IDC_CALC_LEAD, L"5");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_TORQUE), "300");
        EXPECT_EQ(Text(dlg, IDC_CALC_PV), "2560000");
        // A holding torque above 10 % gives a negative torque, shown signed.
        g_param[AxisParam(78, 3)] = 15;
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_TORQUE), "-300");
        TypeText(dlg, IDC_CALC_MICROSTEPS, L"512");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(timerWhileOpen, 10u) << "the main timer keeps running beneath the calculator";
    EXPECT_EQ(g_leadscrew_lead[3], 5.0f);
    EXPECT_EQ(g_microsteps[3], 512.0f);
    EXPECT_EQ(krv_user_box_data.distancePerMotorRevMm[3], 5.0f);
    EXPECT_EQ(krv_user_box_data.stepsPerRevDiv4[3], 50);
    EXPECT_EQ(krv_user_box_data.microStepsPerStepDiv2[3], 255) << "512 microsteps must not be stored as 0";
    EXPECT_THAT(ParamWrites(), IsEmpty());
}

TEST_F(Calculator, AZeroLeadTakesTheAxisDefaultAndUnreadableTextKeepsTheValue)
{
    struct Case {
        int axis;
        float lead;
        const char* pv;
    };
    constexpr Case kCases[] = {{2, 2.54f, "5039370"}, {0, 6.35f, "2015748"}, {1, 6.35f, "2015748"}};
    for (const Case& c : kCases) {
        Start([&] { AxbSim_PokeParam(AxisParam(kParamMotorType, c.axis), 3); });
        g_leadscrew_lead[c.axis] = 4.0f;
        OpenCalc(c.axis, [&](HWND dlg) {
            TypeText(dlg, IDC_CALC_LEAD, L"0");
            PressButton(dlg, IDC_CALC_CALC);
            EXPECT_EQ(Text(dlg, IDC_CALC_PV), c.pv) << "axis " << c.axis;
            EXPECT_EQ(g_leadscrew_lead[c.axis], c.lead);
            TypeText(dlg, IDC_CALC_LEAD, L"abc");
            TypeText(dlg, IDC_CALC_STEPS, L"");
            PressButton(dlg, IDC_CALC_CALC);
            EXPECT_EQ(Text(dlg, IDC_CALC_PV), c.pv) << "axis " << c.axis;
            CloseByCloseBox(dlg);
        });
        EXPECT_EQ(g_leadscrew_lead[c.axis], c.lead);
        EXPECT_EQ(g_motorSteps[c.axis], 200.0f);
    }
}

// The calculator's "lead valid" is the main window's stepper calibration:
// "OK" with a lead nobody believes makes the stepper fields "?????".
TEST_F(Calculator, OkDecidesWhetherTheMainWindowConvertsStepperFields)
{
    Start();
    SelectUnit(IDC_UNIT_MM);
    ChooseRadio(main, IDC_AXIS_Q, std::initializer_list<int>{IDC_AXIS_X, IDC_AXIS_Y, IDC_AXIS_Z, IDC_AXIS_Q, IDC_AXIS_ZOOM});
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
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Brushless DC Servo");
        EXPECT_TRUE(Shown(dlg, kBrushlessFields) && !IsControlVisible(dlg, IDC_CALC_LEAD));
        TypeText(dlg, IDC_CALC_POLE_PAIRS, L"4");
        TypeText(dlg, IDC_CALC_LEAD_PITCH, L"2");
        TypeText(dlg, IDC_CALC_ROTATIONS, L"1");
        TypeText(dlg, IDC_CALC_MOTOR_LAG, L"8");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_TORQUE) + " " + Text(dlg, IDC_CALC_PV), "4800000 5000");
        TypeText(dlg, IDC_CALC_MOTOR_LAG, L"3");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_PV), "13333");
        TypeText(dlg, IDC_CALC_MOTOR_LAG, L"0");
        TypeText(dlg, IDC_CALC_ROTATIONS, L"0");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_TORQUE) + " " + Text(dlg, IDC_CALC_PV), "????? ?????");
        PressButton(dlg, IDC_CALC_OK);
    });
    // The zero divisors were not kept.
    OpenCalc(0, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_CALC_POLE_PAIRS) + " " + Text(dlg, IDC_CALC_ROTATIONS) + " " +
                      Text(dlg, IDC_CALC_MOTOR_LAG),
                  "4 1 3");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_THAT(ParamWrites(), IsEmpty());
}

TEST_F(Calculator, LayoutFollowsTheMotorType)
{
    struct Case {
        uint32_t type;
        const char* title;
        bool lead, stepper, brushless, calc;
        const char* firstCaption;
    };
    const Case kCases[] = {
        {0, "Motor: Disabled", false, false, false, false, nullptr},
        {1, "Motor: Brushed DC Motor", true, false, false, true, "Motor Voltage At Target Velocity (V)"},
        {2, "Motor: Brushless DC Servo", false, false, true, true, "Number of Pole Pairs)"},
        {3, "Motor: Stepper", true, true, false, true, "Distance Stage moves for one revolution of motor(mm/rev)"},
        {4, "Motor: Open Loop Stepper", true, true, false, true, "Distance Stage moves for one revolution of motor(mm/rev)"},
        {5, "Motor: Brushless DC Open Loop", false, false, true, true, "Number of Pole Pairs)"},
        {14, "Motor: Unknown", false, false, false, false, nullptr},
    };
    Start();
    for (const Case& c : kCases) {
        g_param[AxisParam(kParamMotorType, 1)] = c.type;
        OpenCalc(1, [&](HWND dlg) {
            SCOPED_TRACE(c.title);
            EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), c.title);
            EXPECT_EQ(IsControlVisible(dlg, IDC_CALC_LEAD), c.lead);
            EXPECT_EQ(IsControlVisible(dlg, IDC_CALC_STEPS) && IsControlVisible(dlg, IDC_CALC_MICROSTEPS), c.stepper);
            EXPECT_EQ(Shown(dlg, kBrushlessFields), c.brushless);
            EXPECT_EQ(IsControlVisible(dlg, IDC_CALC_CALC), c.calc);
            EXPECT_EQ(IsControlVisible(dlg, IDC_CALC_LEAD_CAPTION), c.firstCaption != nullptr);
            if (c.firstCaption)
                EXPECT_EQ(Text(dlg, IDC_CALC_LEAD_CAPTION), c.firstCaption);
            PressButton(dlg, IDC_CALC_OK);
        });
    }
}

TEST_F(Calculator, BrushedDcVoltageOnTheZoomAndAxisChangesKeepEachAxisData)
{
    Start();
    g_leadscrew_lead[1] = 4.5f;
    g_motorSteps[1] = 400.0f;
    OpenCalc(0, [&](HWND dlg) {
        TypeText(dlg, IDC_CALC_LEAD, L"7");   // X's lead field, stored on the axis change
        ChooseRadio(dlg, IDC_AXIS_Y, kSetupAxisRadios);
        EXPECT_EQ(Text(dlg, IDC_CALC_LEAD) + " " + Text(dlg, IDC_CALC_STEPS), "4.5 400");
        ChooseRadio(dlg, IDC_AXIS_ZOOM, kSetupAxisRadios);
        EXPECT_EQ(Text(dlg, IDC_CALC_TITLE), "Motor: Brushed DC Motor");
        TypeText(dlg, IDC_CALC_LEAD, L"12");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_PV), "115");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(g_leadscrew_lead[0], 7.0f);
    EXPECT_EQ(g_leadscrew_lead[4], 12.0f);
    EXPECT_EQ(g_stepperCalValid[4], 0) << "the zoom has no stepper calibration";
    EXPECT_EQ(g_radio_last, 4);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_ZOOM));
}

} // namespace
