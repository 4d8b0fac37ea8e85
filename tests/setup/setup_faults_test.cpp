// What the axis setup dialogs must not do: store a clamped count as 0,
// convert an out-of-range float with undefined behaviour, rewrite what was
// only looked at; and the arithmetic and captions they do in a fixed way.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "ui/axis_radios.h"

#include <algorithm>
#include <cstring>
#include <tuple>

using ::testing::IsEmpty;

namespace {

class SetupFaults : public ProgramTest {};
class SetupDialogs : public ProgramTest {};

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

// Values shown in a converted unit do not survive being read back, and a
// code with no list entry is in no list: opening a dialog, going through its
// axes and leaving it the usual way must never change a parameter or the
// record, on the board or in the program.
TEST_F(SetupDialogs, LookingThroughThemInAnyUnitStoresNothing)
{
    // The unit of the main window and the counts per millimetre of every axis.
    constexpr std::pair<int, uint32_t> kMachines[] = {{IDC_UNIT_MM, 3000}, {IDC_UNIT_IN, 3000}, {IDC_UNIT_MM, 2500000}};
    constexpr std::pair<int, int> kDialogs[] = {{IDC_MOTOR, IDC_MOTOR_EXIT},   {IDC_ENCODER, IDC_ENC_EXIT},
                                                {IDC_USER_PARAM, IDC_UP_OK},   {IDC_SW_FENCE, IDC_FENCE_OK},
                                                {IDC_TRACKBALL, IDC_TB_OK},    {IDC_SYSTEM, IDC_SYSTEM_OK}};
    for (const auto& [unit, countsPerMm] : kMachines) {
        SCOPED_TRACE(testing::Message() << "unit " << unit << " at " << countsPerMm << " counts/mm");
        Start([&] {
            for (int a = 0; a < kAxisCount; ++a)
                AxbSim_PokeParam(AxisParam(kParamCountsPerMm, a), countsPerMm);
            AxbSim_PokeParam(70, 1000000000);
            AxbSim_PokeParam(71, 7);
            AxbSim_PokeParam(16, 0x0C07);   // encoder codes with no list entry
        });
        ChooseUnit(unit);
        KrvUserBoxData& record = krv_user_box_data;
        record.machine_zero_offset[kAxisX] = 1;
        record.swFencePlus[kAxisX] = 1000000000;
        record.swFenceMinus[kAxisX] = -999999999;
        record.autoHomeVelocityPercent[kAxisX] = 1.0f / 3.0f;
        record.zeroingMethod[kAxisX] = 7;   // no list entry
        record.stepsPerRevDiv4[kAxisX] = 255;
        record.distancePerMotorRevMm[kAxisX] = 6.35f;
        const KrvUserBoxData recordBefore = record;
        const std::vector<uint32_t> paramsBefore(std::begin(g_param), std::end(g_param));
        Forget();
        for (const auto& [button, exit] : kDialogs) {
            SCOPED_TRACE(testing::Message() << "dialog of button " << button);
            OpenModal(button, [&](HWND dlg) {
                h.Clock().Advance(200);   // its timer runs while the technician reads
                for (int radio : {IDC_AXIS_Y, IDC_AXIS_Q, IDC_AXIS_X})
                    if (GetDlgItem(dlg, radio))
                        ChooseRadio(dlg, radio, kAxisRadioIds);
                PressButton(dlg, exit);
            });
            EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
            EXPECT_THAT(Calls("AXB_SetAxisReg("), IsEmpty());
            EXPECT_THAT(Calls("AXB_WriteFlashWord("), IsEmpty());
            EXPECT_TRUE(std::ranges::equal(paramsBefore, g_param));
            EXPECT_EQ(std::memcmp(&recordBefore, &record, sizeof record), 0);
            EXPECT_EQ(g_param[68], 1000000000u) << "a fence moved";
        }
    }
}

// The setup dialogs follow the main window's "Display Param Number": a
// caption names the current axis's parameter or flash item, after the unit;
// the User Parameters boxes name theirs too.
TEST_F(SetupDialogs, CaptionsNameTheCurrentAxissParameters)
{
    constexpr std::tuple<int, int, const char*> kCases[] = {
        {IDC_MOTOR, IDC_MOTOR_RUN_CURRENT_CAPTION, "Max Running Current (% of 3.3A)(P300)"},
        {IDC_SW_FENCE, IDC_FENCE_STORED_PLUS_CAPTION, "+ Stored (in)(P1105)"},
        {IDC_USER_PARAM, IDC_UP_AUTO_HOME, "Auto Homing Enabled(P1001)"},
        {IDC_USER_PARAM, IDC_UP_FENCE_ENABLED, "SW Fence Enabled(P1095)"},
        {IDC_USER_PARAM, IDC_UP_LAMP_RS232, "Lamp RS232(P1096)"},
    };
    Start();
    ChooseUnit(IDC_UNIT_IN);
    ChooseAxis(IDC_AXIS_Y);
    CheckDlgButton(main, IDC_DISPLAY_PARAM_NUMBER, BST_CHECKED);
    Press(IDC_DISPLAY_PARAM_NUMBER);
    for (const auto& [button, control, caption] : kCases)
        OpenModal(button, [&](HWND dlg) {
            EXPECT_EQ(Text(dlg, control), caption);
            CloseByCloseBox(dlg);
        });
}

} // namespace
