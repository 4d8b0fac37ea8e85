// What every axis setup dialog shares: looking stores nothing, and captions
// name the parameters behind them.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "ui/axis_radios.h"

#include <algorithm>
#include <cstring>
#include <tuple>

using ::testing::IsEmpty;

namespace {

class SetupDialogs : public ProgramTest {};

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
// caption names the current axis's parameter or flash item, after the unit.
TEST_F(SetupDialogs, CaptionsNameTheCurrentAxissParameters)
{
    constexpr std::tuple<int, int, const char*> kCases[] = {
        {IDC_MOTOR, IDC_MOTOR_RUN_CURRENT_CAPTION, "Max Running Current (% of 3.3A)(P300)"},
        {IDC_SW_FENCE, IDC_FENCE_STORED_PLUS_CAPTION, "+ Stored (in)(P1105)"},
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
