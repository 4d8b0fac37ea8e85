// "User Parameters": what it shows and stores in each unit, that an
// unchanged field leaves the record alone, the fence controls per axis,
// "Here", and the stepper calibration.
#include "board/fences.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

namespace {

class UserParams : public ProgramTest {
protected:
    // The dialog's timer has run before the technician acts; "OK" ends the
    // work unless the work ended the dialog.
    void Work(const std::function<void(HWND)>& work)
    {
        OpenModal(IDC_USER_PARAM, [&](HWND dlg) {
            h.Clock().Advance(20);
            work(dlg);
            if (!ModalDialogEnded(dlg))
                PressButton(dlg, IDC_UP_OK);
        });
    }
};

TEST_F(UserParams, TypedLengthsAreStoredAsCountsOfTheUnit)
{
    struct Case {
        const char* name;
        int unitMode, field;
        const wchar_t* typed;
        int32_t stored;
    };
    constexpr Case kCases[] = {
        {"mm zero offset", kUnitMm, IDC_UP_ZERO_OFFSET, L"-2.5", -2500},
        {"mm below half a count", kUnitMm, IDC_UP_ZERO_OFFSET, L"0.0004", 0},
        {"counts, half up", kUnitStored, IDC_UP_ZERO_OFFSET, L"12.5", 13},
        {"counts, negative half up", kUnitStored, IDC_UP_ZERO_OFFSET, L"-12.5", -12},
        {"inch fence", kUnitInch, IDC_UP_FENCE_PLUS, L"1", 25400},
        {"mm fence -", kUnitMm, IDC_UP_FENCE_MINUS, L"-100", -100000},
    };
    Start();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
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
    EXPECT_EQ(krv_user_box_data.autoHomeEnabled[kAxisX], 1);
    EXPECT_EQ(krv_user_box_data.zeroingMethod[kAxisX], 4);
    EXPECT_FLOAT_EQ(krv_user_box_data.autoHomeVelocityPercent[kAxisX], 37.9f);
    EXPECT_EQ(krv_user_box_data.stepsPerRevDiv4[kAxisX], 50);
    EXPECT_EQ(krv_user_box_data.microStepsPerStepDiv2[kAxisX], 8);
    EXPECT_TRUE(Logged("COMBO current select 4"));
    // The program converts with the new drive at once, as after loading zoom.ini.
    EXPECT_FLOAT_EQ(g_leadscrew_lead[kAxisX], 5.0f);
    EXPECT_FLOAT_EQ(g_motorSteps[kAxisX], 200.0f);
    EXPECT_FLOAT_EQ(g_microsteps[kAxisX], 16.0f);
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

} // namespace
