// The dialogs of the encoders, zero offsets and fences. "Encoder" and "User
// Parameters", each with a timer of its own: what they show and store per
// axis and unit, the lists by code, TTL signals, the zoom's own bits,
// "Here", the stepper calibration. "SW Fence": the board's fences and the
// stored fences of X, Y and Z in the main window's unit, changed only where
// the technician typed a new number, on every way out.
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

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

class TimedSetupDialog : public ProgramTest {
protected:
    // Opens the dialog of `button`; its timer runs before the technician acts,
    // and `exit` ends the work unless the work ended the dialog.
    void Work(int button, int exit, const std::function<void(HWND)>& work)
    {
        OpenModal(button, [&](HWND dlg) {
            h.Clock().Advance(200);
            work(dlg);
            if (!ModalDialogEnded(dlg))
                PressButton(dlg, exit);
        });
    }
};

class Encoder : public TimedSetupDialog {
protected:
    void Work(const std::function<void(HWND)>& work) { TimedSetupDialog::Work(IDC_ENCODER, IDC_ENC_EXIT, work); }
};

// Every path that changes P058 recomputes the scales before the fields are filled.
TEST_F(Encoder, LengthsBecomeCountsAndTheScalesFollow)
{
    struct Case {
        const char* name;
        const wchar_t *resolution, *increment;   // increment nullptr: left as shown
        uint32_t counts, incrementCounts;
    };
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
        EXPECT_EQ(g_param[58], c.counts);
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
    EXPECT_EQ(g_param[16], 0x0803u);
    EXPECT_THAT(Calls("AXB_SetParam("), Contains("AXB_SetParam(0,16,2051)=1"));
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

class UserParams : public TimedSetupDialog {
protected:
    void Work(const std::function<void(HWND)>& work) { TimedSetupDialog::Work(IDC_USER_PARAM, IDC_UP_OK, work); }
};

TEST_F(UserParams, TypedLengthsAreStoredAsCountsOfTheUnit)
{
    struct Case {
        int unitMode, field;
        const wchar_t* typed;
        int32_t stored;
    };
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
