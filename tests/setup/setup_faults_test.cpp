// What the axis setup dialogs must not do: store a clamped count as 0,
// convert an out-of-range float with undefined behaviour, rewrite what was
// only looked at; and the arithmetic and captions they do in a fixed way.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SetupFaults : public ProgramTest {};

TEST_F(SetupFaults, UserParametersHoldStepperBytesAndNeverMakeAZeroStepCalibration)
{
    Start();
    g_unitMode = kUnitMm;
    OpenModal(IDC_USER_PARAM, [&](HWND dlg) {
        TypeText(dlg, IDC_UP_MICROSTEPS, L"512");   // not 256 / 2 stored as byte 0
        TypeText(dlg, IDC_UP_ZERO_OFFSET, L"2.0005");   // read into a float: 2000.49996 counts
        PressButton(dlg, IDC_UP_APPLY);
        EXPECT_EQ(Text(dlg, IDC_UP_MICROSTEPS), "510");
        TypeText(dlg, IDC_UP_STEPS, L"0");
        PressButton(dlg, IDC_UP_OK);
    });
    EXPECT_EQ(krv_user_box_data.microStepsPerStepDiv2[kAxisX], 255);
    EXPECT_EQ(krv_user_box_data.machine_zero_offset[kAxisX], 2000);
    EXPECT_EQ(g_stepperCalValid[kAxisX], 0) << "no stepper has zero steps";
}

TEST_F(SetupFaults, CalculatorHoldsAMotorLagBeyondTheRangeAndOkTakesTheFieldsAsTheyStand)
{
    Start([] { AxbSim_PokeParam(64, 2); });   // X a brushless servo
    g_leadscrew_lead[kAxisZ] = 1.2345678f;
    OpenModal(IDC_CALC, [&](HWND dlg) {
        TypeText(dlg, IDC_CALC_MOTOR_LAG, L"3e9");
        PressButton(dlg, IDC_CALC_CALC);
        PressButton(dlg, IDC_AXIS_Y);
        PressButton(dlg, IDC_AXIS_X);
        EXPECT_EQ(Text(dlg, IDC_CALC_MOTOR_LAG), "2147483647");
        PressButton(dlg, IDC_AXIS_Z);
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(g_leadscrew_lead[kAxisZ], 1.23457f) << "the lead as its field shows it";
    // The lead rule holds on the zoom as on every other axis.
    g_radio_last = kZoomAxis;
    OpenModal(IDC_CALC, [&](HWND dlg) {
        TypeText(dlg, IDC_CALC_LEAD, L"45");
        PressButton(dlg, IDC_CALC_OK);
    });
    EXPECT_EQ(g_stepperCalValid[kZoomAxis], 0);
    EXPECT_EQ(g_leadscrew_lead[kZoomAxis], 12800.0f);
}

TEST_F(SetupFaults, EncoderLooksAtATtlSignalWithoutRewritingItAndWorksInSinglePrecision)
{
    // TTL single ended with a stored interpolation of 20x: the dialog shows
    // "1x", which is no edit.
    Start([] { AxbSim_PokeParam(16, 0x0708); });
    OpenModal(IDC_ENCODER, [&](HWND dlg) {
        h.Clock().Advance(300);
        PressButton(dlg, IDC_ENC_EXIT);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());

    // 22.81 mm at 0.000333 mm per count: 68498.5 counts in single
    // precision, 68499 (double precision would give 68498).
    OpenModal(IDC_ENCODER, [&](HWND dlg) {
        TypeText(dlg, IDC_ENC_RESOLUTION, L"0.000333");
        TypeText(dlg, IDC_ENC_INCREMENT, L"22.81");
        PressButton(dlg, IDC_AXIS_ZOOM);
        TypeText(dlg, IDC_ENC_RESOLUTION, L"0.00025");
        PressButton(dlg, IDC_ENC_EXIT);
    });
    EXPECT_EQ(AxbSim_PeekParam(58), 3003u);
    EXPECT_EQ(AxbSim_PeekParam(70), 68499u);
    // The zoom's: 1/r in double is 3999.9998, whose integer part is logged.
    EXPECT_TRUE(Logged("resolution 0.00025 1.0/0.00025=4000 as integer 3999"));
    EXPECT_EQ(AxbSim_PeekParam(218), 4000u);
}

TEST_F(SetupFaults, MotorSetupTakesTheBoardTypeFromNewFirmwareOnlyAndASignedTorqueFactor)
{
    struct Case {
        uint32_t firmware;
        bool amplifierList;
    };
    for (const Case c : {Case{0x00020200, true}, Case{0x000201FF, false}}) {
        SCOPED_TRACE(c.firmware);
        Start([&] {
            AxbSim_SetFirmwareVersion(c.firmware);
            AxbSim_SetBoardType(2);
        });
        OpenModal(IDC_MOTOR, [&](HWND dlg) {
            EXPECT_EQ(ListItems(dlg, IDC_MOTOR_TYPE)[1], c.amplifierList ? "+/- 10 V Analog" : "Brushed DC motor");
            TypeText(dlg, IDC_MOTOR_TORQUE_FACTOR, L"-5");
            PressButton(dlg, IDC_MOTOR_EXIT);
        });
        EXPECT_EQ(AxbSim_PeekParam(269), static_cast<uint32_t>(-5));
    }
}

TEST_F(SetupFaults, UserParameterBoxesCarryTheirItemNumbers)
{
    Start();
    CheckDlgButton(main, IDC_DISPLAY_PARAM_NUMBER, BST_CHECKED);
    Press(IDC_DISPLAY_PARAM_NUMBER);
    OpenModal(IDC_USER_PARAM, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_UP_AUTO_HOME), "Auto Homing Enabled(P1001)");
        EXPECT_EQ(Text(dlg, IDC_UP_FENCE_ENABLED), "SW Fence Enabled(P1095)");
        EXPECT_EQ(Text(dlg, IDC_UP_LAMP_RS232), "Lamp RS232(P1096)");
        PressButton(dlg, IDC_UP_OK);
    });
}

} // namespace
