// "User Parameters": what it shows and stores in each unit, that an
// unchanged field leaves the record alone, the fence controls per axis,
// "Here", and the stepper calibration.
#include "board/board_ready.h"
#include "board/fences.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/setup/modal_dialog_fixture.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

class UserParams : public ModalDialogTest<IDC_USER_PARAM, IDC_UP_OK, 20> {
protected:
    void Unit(int mode)
    {
        g_unitMode = mode;
    }
};

struct AwkwardCase {
    const char* name;
    int unitMode;
    uint32_t countsPerMm;
};

// Values that do not survive being shown and read back.
constexpr AwkwardCase kAwkward[] = {
    {"millimetres at 3000 counts/mm", kUnitMm, 3000},
    {"inches at 3000 counts/mm", kUnitInch, 3000},
    {"millimetres at 2 500 000 counts/mm", kUnitMm, 2500000},
};

TEST_F(UserParams, OpeningAndClosingWithoutEditsChangesNothing)
{
    for (const AwkwardCase& c : kAwkward) {
        SCOPED_TRACE(c.name);
        Unit(c.unitMode);
        for (int a = 0; a < kAxisCount; ++a)
            g_param[AxisParam(kParamCountsPerMm, a)] = c.countsPerMm;
        RecomputeScales();
        krv_user_box_data.machine_zero_offset[kAxisX] = 1;
        krv_user_box_data.swFencePlus[kAxisX] = 1000000000;
        krv_user_box_data.swFenceMinus[kAxisX] = -999999999;
        krv_user_box_data.autoHomeVelocityPercent[kAxisX] = 1.0f / 3.0f;
        krv_user_box_data.zeroingMethod[kAxisX] = 7;   // no list entry
        krv_user_box_data.stepsPerRevDiv4[kAxisX] = 255;
        krv_user_box_data.distancePerMotorRevMm[kAxisX] = 6.35f;
        const KrvUserBoxData before = krv_user_box_data;
        AxbSim_ClearCallLog();
        for (int radio : {IDC_AXIS_Y, IDC_AXIS_Q, IDC_AXIS_X})
            WithDialog([&](HWND dialog) { PressButton(dialog, radio); });
        EXPECT_EQ(std::memcmp(&before, &krv_user_box_data, sizeof before), 0);
        EXPECT_TRUE(SimCallsStartingWith("AXB_SetParam(").empty());
        EXPECT_TRUE(SimCallsStartingWith("AXB_WriteFlashWord(").empty());
    }
}

struct TypedCase {
    const char* name;
    int unitMode;
    int field;
    const wchar_t* typed;
    int32_t stored;
};

const TypedCase kTyped[] = {
    {"mm zero offset", kUnitMm, IDC_UP_ZERO_OFFSET, L"-2.5", -2500},
    {"mm below half a count", kUnitMm, IDC_UP_ZERO_OFFSET, L"0.0004", 0},
    {"counts, half up", kUnitStored, IDC_UP_ZERO_OFFSET, L"12.5", 13},
    {"counts, negative half up", kUnitStored, IDC_UP_ZERO_OFFSET, L"-12.5", -12},
    {"inch fence", kUnitInch, IDC_UP_FENCE_PLUS, L"1", 25400},
    {"mm fence -", kUnitMm, IDC_UP_FENCE_MINUS, L"-100", -100000},
};

TEST_F(UserParams, TypedLengthsAreStoredAsCountsOfTheUnit)
{
    for (const TypedCase& c : kTyped) {
        SCOPED_TRACE(c.name);
        Unit(c.unitMode);
        WithDialog([&](HWND dialog) { TypeText(dialog, c.field, c.typed); });
        const int32_t stored = c.field == IDC_UP_ZERO_OFFSET ? machine_zero_offset[kAxisX]
                               : c.field == IDC_UP_FENCE_PLUS ? krv_user_box_data.swFencePlus[kAxisX]
                                                              : krv_user_box_data.swFenceMinus[kAxisX];
        EXPECT_EQ(stored, c.stored);
    }
}

TEST_F(UserParams, HomingSettingsStepperDataAndTheFlashCopy)
{
    WithDialog([&](HWND dialog) {
        CheckDlgButton(dialog, IDC_UP_AUTO_HOME, BST_CHECKED);
        SendDlgItemMessageW(dialog, IDC_UP_ZEROING_METHOD, CB_SETCURSEL, 4, 0);
        TypeText(dialog, IDC_UP_HOME_VELOCITY, L"37.9");
        TypeText(dialog, IDC_UP_STEPS, L"202");
        TypeText(dialog, IDC_UP_MICROSTEPS, L"16");
        TypeText(dialog, IDC_UP_LEAD, L"5");
    });
    EXPECT_EQ(krv_user_box_data.autoHomeEnabled[kAxisX], 1);
    EXPECT_EQ(krv_user_box_data.zeroingMethod[kAxisX], 4);
    EXPECT_FLOAT_EQ(krv_user_box_data.autoHomeVelocityPercent[kAxisX], 37.9f);
    EXPECT_EQ(krv_user_box_data.stepsPerRevDiv4[kAxisX], 50);
    EXPECT_EQ(krv_user_box_data.microStepsPerStepDiv2[kAxisX], 8);
    EXPECT_TRUE(h.Log().HasLine("COMBO current select 4"));
    // The program converts with the new drive at once, as after loading zoom.ini.
    EXPECT_FLOAT_EQ(g_leadscrew_lead[kAxisX], 5.0f);
    EXPECT_FLOAT_EQ(g_motorSteps[kAxisX], 200.0f);
    EXPECT_FLOAT_EQ(g_microsteps[kAxisX], 16.0f);
    // The next flash write carries the change.
    EXPECT_EQ(g_flashItemValues[FindFlashItem(1004)].byteValue, 4);
    EXPECT_EQ(g_flashItemValues[FindFlashItem(1001)].byteValue & 1, 1);

    WithDialog([&](HWND dialog) { EXPECT_EQ(ControlText(dialog, IDC_UP_STEPS), L"200"); });
}

TEST_F(UserParams, FenceControlsBelongToXYZAndTheAxisIsStoredBeforeSwitching)
{
    WithDialog([&](HWND dialog) {
        EXPECT_TRUE(IsControlVisible(dialog, IDC_UP_FENCE_PLUS));
        TypeText(dialog, IDC_UP_HOME_VELOCITY, L"20");
        PressButton(dialog, IDC_AXIS_Q);
        EXPECT_FALSE(IsControlVisible(dialog, IDC_UP_FENCE_PLUS));
        EXPECT_FALSE(IsControlVisible(dialog, IDC_UP_FENCE_ENABLED));
        EXPECT_FLOAT_EQ(krv_user_box_data.autoHomeVelocityPercent[kAxisX], 20.0f);
        PressButton(dialog, IDC_AXIS_Z);
        EXPECT_TRUE(IsControlVisible(dialog, IDC_UP_FENCE_MINUS));
    });
    EXPECT_EQ(g_radio_last, kAxisZ);
}

TEST_F(UserParams, HereTakesThePositionOnceTheAxisIsHomed)
{
    AxbSim_PlaceAxis(kAxisX, 12345);
    g_offset[kAxisX] = 100;
    machine_zero_offset[kAxisX] = 45;
    WithDialog([&](HWND dialog) {
        EXPECT_FALSE(IsControlEnabled(dialog, IDC_UP_FENCE_PLUS_HERE));
        g_homeRefFound[kAxisX] = true;
        h.Clock().Advance(20);
        ASSERT_TRUE(IsControlEnabled(dialog, IDC_UP_FENCE_PLUS_HERE));
        PressButton(dialog, IDC_UP_FENCE_PLUS_HERE);
        PressButton(dialog, IDC_UP_ZERO_OFFSET_HERE);
    });
    EXPECT_EQ(krv_user_box_data.swFencePlus[kAxisX], 12345 - 100 - 45);
    EXPECT_EQ(machine_zero_offset[kAxisX], 12345 - 100);
    EXPECT_TRUE(h.Log().HasLine("storing value as pos-g_offset-machine_zero_offset12200"));
}

TEST_F(UserParams, TheCloseBoxDiscardsTheEdits)
{
    WithDialog([&](HWND dialog) {
        TypeText(dialog, IDC_UP_HOME_VELOCITY, L"55");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_FLOAT_EQ(krv_user_box_data.autoHomeVelocityPercent[kAxisX], 0.0f);
}

} // namespace
