// The Motor Setup dialog as a technician uses it: opened from "Motor" with
// the main timer stopped, the board's values shown per firmware generation
// and board type, exactly the changed parameters written on every way out.
#include "core/param_table.h"
#include "core/session_state.h"
#include "setup_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int kStepperControls[] = {IDC_MOTOR_RUN_CURRENT, IDC_MOTOR_HOLD_CURRENT, IDC_MOTOR_SWITCHOVER,
                                    IDC_MOTOR_RUN_CURRENT_CAPTION, IDC_MOTOR_HOLD_CURRENT_CAPTION,
                                    IDC_MOTOR_SWITCHOVER_CAPTION};
constexpr int kCommutationFields[] = {IDC_MOTOR_INIT_TORQUE, IDC_MOTOR_INIT_TIME, IDC_MOTOR_IMPULSE_TIME,
                                      IDC_MOTOR_IMPULSE_AMP, IDC_MOTOR_TORQUE_FACTOR};

class MotorSetup : public SetupDialogTest {
protected:
    void OpenMotor(ModalScript script) { Open(IDC_MOTOR, std::move(script)); }
    static bool AllShown(HWND dlg, std::span<const int> ids, bool shown)
    {
        for (int id : ids)
            if (IsControlVisible(dlg, id) != shown)
                return false;
        return true;
    }
};

TEST_F(MotorSetup, ShowsTheBoardsValuesAndWritesNothingWhenNothingChanged)
{
    Start();
    UINT timerWhileOpen = 1;
    OpenMotor([&](HWND dlg) {
        timerWhileOpen = h.Clock().TimerPeriod(main, IDT_TICK);
        EXPECT_TRUE(IsChecked(dlg, IDC_AXIS_X));
        EXPECT_EQ(Selected(dlg, IDC_MOTOR_TYPE), 2);   // X: brushless
        EXPECT_TRUE(IsControlVisible(dlg, IDC_MOTOR_TYPE) && !IsControlVisible(dlg, IDC_MOTOR_TYPE_ZOOM));
        EXPECT_TRUE(IsChecked(dlg, IDC_MOTOR_CNC_PLAYBACK));
        EXPECT_FALSE(IsChecked(dlg, IDC_MOTOR_REVERSED) || IsChecked(dlg, IDC_MOTOR_SWAP_LIMITS));
        EXPECT_EQ(Text(dlg, IDC_MOTOR_CURRENT_LIMIT) + " " + Text(dlg, IDC_MOTOR_BACKOFF) + " " +
                      Text(dlg, IDC_MOTOR_RUN_CURRENT) + " " + Text(dlg, IDC_MOTOR_HOLD_CURRENT) + " " +
                      Text(dlg, IDC_MOTOR_SWITCHOVER) + " " + Text(dlg, IDC_MOTOR_INIT_TORQUE),
                  "3000 10 100 10 1000000000 10");
        EXPECT_TRUE(AllShown(dlg, kStepperControls, true));
        EXPECT_TRUE(AllShown(dlg, kCommutationFields, true));
        EXPECT_EQ(Text(dlg, IDC_MOTOR_TYPE_CAPTION), "Motor Type");
        PressButton(dlg, IDC_MOTOR_EXIT);
    });
    EXPECT_EQ(timerWhileOpen, 0u) << "the main timer runs beneath the dialog";
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    EXPECT_THAT(ParamWrites(), IsEmpty());
    EXPECT_THAT(LogLinesStartingWith("Setting param"), IsEmpty());
    EXPECT_TRUE(h.Log().HasLine("SAVING P064 as2"));
}

TEST_F(MotorSetup, StepperWithoutCncPlaybackAndClampedCommutationValues)
{
    Start();
    OpenMotor([&](HWND dlg) {
        ChooseListItem(dlg, IDC_MOTOR_TYPE, 3);
        EXPECT_TRUE(AllShown(dlg, kCommutationFields, false)) << "a stepper has no commutation";
        ChooseListItem(dlg, IDC_MOTOR_TYPE, 5);
        EXPECT_TRUE(AllShown(dlg, kCommutationFields, true));
        ChooseListItem(dlg, IDC_MOTOR_TYPE, 3);
        SetCheck(dlg, IDC_MOTOR_CNC_PLAYBACK, false);
        SetCheck(dlg, IDC_MOTOR_SWAP_LIMITS, true);
        SetCheck(dlg, IDC_MOTOR_ACTIVE_LOW, true);
        SetCheck(dlg, IDC_MOTOR_REVERSED, true);
        TypeText(dlg, IDC_MOTOR_INIT_TORQUE, L"35");
        TypeText(dlg, IDC_MOTOR_IMPULSE_TIME, L"7");
        TypeText(dlg, IDC_MOTOR_IMPULSE_AMP, L"300");
        TypeText(dlg, IDC_MOTOR_TORQUE_FACTOR, L"4294967295");
        PressButton(dlg, IDC_MOTOR_EXIT);
    });
    EXPECT_THAT(ParamWrites(), ElementsAre("AXB_SetParam(0,64,11)=1", "AXB_SetParam(0,57,3)=1",
                                           "AXB_SetParam(0,56,1)=1", "AXB_SetParam(0,266,20)=1",
                                           "AXB_SetParam(0,268,65287)=1", "AXB_SetParam(0,269,4294967295)=1"));
    EXPECT_TRUE(h.Log().HasLine("SAVING P064 as11"));
    EXPECT_THAT(LogLinesStartingWith("Setting param"),
                ElementsAre("Setting param64 to 11", "Setting param57 to 3", "Setting param56 to 1",
                            "Setting param266 to 20", "Setting param268 to 65287",
                            "Setting param269 to 4294967295"));
    // The main window shows the stepper's rows for X now.
    EXPECT_TRUE(IsControlVisible(main, IDC_PARAM_TORQUE));
}

TEST_F(MotorSetup, ListsAndStepperCurrentsFollowFirmwareAndBoardType)
{
    struct Case {
        uint32_t firmware;
        uint32_t boardType;
        size_t items;
        bool currentLimitShown;
        bool stepperShown;
        bool stepperWritten;
    };
    constexpr Case kCases[] = {
        {0x00020100, 2, 6, true, false, false},   // too old to report its type: list A
        {0x00020300, 1, 6, true, false, false},
        {0x00020307, 1, 6, true, false, true},    // hidden, but the filled values are applied
        {0x00020402, 1, 6, true, false, true},
        {0x00020403, 1, 6, true, true, true},
        {0x00020403, 2, 5, false, false, false},
        {0x00020200, 2, 5, false, false, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firmware << " type " << c.boardType);
        Start([&] {
            AxbSim_SetFirmwareVersion(c.firmware);
            AxbSim_SetBoardType(c.boardType);
        });
        // The board holds another running current than the table.
        AxbSim_PokeParam(260, 55);
        OpenMotor([&](HWND dlg) {
            const auto items = ListItems(dlg, IDC_MOTOR_TYPE);
            EXPECT_EQ(items.size(), c.items);
            EXPECT_EQ(items[1], c.items == 5 ? "+/- 10 V Analog" : "Brushed DC motor");
            EXPECT_EQ(IsControlVisible(dlg, IDC_MOTOR_CURRENT_LIMIT), c.currentLimitShown);
            EXPECT_EQ(IsControlVisible(dlg, IDC_MOTOR_CURRENT_CAPTION), c.currentLimitShown);
            EXPECT_TRUE(AllShown(dlg, kStepperControls, c.stepperShown));
            PressButton(dlg, IDC_MOTOR_EXIT);
        });
        EXPECT_EQ(AxbSim_PeekParam(260), c.stepperWritten ? 100u : 55u);
    }
}

// Opening and closing Motor Setup must never disable a motor: a code the
// list does not offer is kept.
TEST_F(MotorSetup, StoredCodesWithoutAListEntryAreKept)
{
    struct Case {
        uint32_t boardType;
        int axis;
        int radio;
        uint32_t stored;
    };
    constexpr Case kCases[] = {
        {1, 0, IDC_AXIS_X, 6},  {1, 0, IDC_AXIS_X, 15}, {2, 1, IDC_AXIS_Y, 5},
        {1, 4, IDC_AXIS_ZOOM, 2}, {1, 4, IDC_AXIS_ZOOM, 11},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "axis " << c.axis << " P064 " << c.stored);
        const int param = AxisParam(kParamMotorType, c.axis);
        Start([&] {
            AxbSim_SetBoardType(c.boardType);
            AxbSim_PokeParam(param, c.stored);
        });
        OpenMotor([&](HWND dlg) {
            ChooseRadio(dlg, c.radio, kSetupAxisRadios);
            EXPECT_EQ(Selected(dlg, c.axis == 4 ? IDC_MOTOR_TYPE_ZOOM : IDC_MOTOR_TYPE), -1);
            PressButton(dlg, IDC_MOTOR_EXIT);
        });
        EXPECT_EQ(g_param[param], c.stored);
        EXPECT_THAT(ParamWrites(), IsEmpty());
    }
}

TEST_F(MotorSetup, FieldsWithoutANumberKeepTheirValue)
{
    Start();
    OpenMotor([&](HWND dlg) {
        TypeText(dlg, IDC_MOTOR_CURRENT_LIMIT, L"");
        TypeText(dlg, IDC_MOTOR_BACKOFF, L"abc");
        TypeText(dlg, IDC_MOTOR_INIT_TIME, L"-5");
        TypeText(dlg, IDC_MOTOR_RUN_CURRENT, L"12x");
        PressButton(dlg, IDC_MOTOR_EXIT);
    });
    EXPECT_THAT(ParamWrites(), IsEmpty());
    EXPECT_EQ(g_param[67], 3000u);
    EXPECT_EQ(g_param[83], 10u);
    EXPECT_EQ(g_param[267], 500u);
}

TEST_F(MotorSetup, AxisChangeStoresTheOldAxisAndEveryWayOutStores)
{
    Start();
    OpenMotor([&](HWND dlg) {
        TypeText(dlg, IDC_MOTOR_CURRENT_LIMIT, L"2500");
        ChooseRadio(dlg, IDC_AXIS_ZOOM, kSetupAxisRadios);
        EXPECT_THAT(ParamWrites(), ElementsAre("AXB_SetParam(0,67,2500)=1"));
        EXPECT_TRUE(IsControlVisible(dlg, IDC_MOTOR_TYPE_ZOOM) && !IsControlVisible(dlg, IDC_MOTOR_TYPE));
        EXPECT_THAT(ListItems(dlg, IDC_MOTOR_TYPE_ZOOM), ElementsAre("Motor Disabled", "Brushed DC motor"));
        EXPECT_EQ(Selected(dlg, IDC_MOTOR_TYPE_ZOOM), 1);
        EXPECT_EQ(Text(dlg, IDC_MOTOR_CURRENT_LIMIT), "1000");
        TypeText(dlg, IDC_MOTOR_BACKOFF, L"25");
        CloseByCloseBox(dlg);
    });
    EXPECT_THAT(ParamWrites(), ElementsAre("AXB_SetParam(0,67,2500)=1", "AXB_SetParam(0,243,25)=1"));
    EXPECT_EQ(g_radio_last, 4);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_ZOOM));
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
}

TEST_F(MotorSetup, CaptionsCarryTheAxisParameterNumbers)
{
    Start();
    CheckDlgButton(main, IDC_DISPLAY_PARAM_NUMBER, BST_CHECKED);
    PressButton(main, IDC_DISPLAY_PARAM_NUMBER);
    g_radio_last = 1;
    OpenMotor([&](HWND dlg) {
        EXPECT_TRUE(IsChecked(dlg, IDC_AXIS_Y));
        EXPECT_EQ(Text(dlg, IDC_MOTOR_TYPE_CAPTION), "Motor Type(P104)");
        EXPECT_EQ(Text(dlg, IDC_MOTOR_ACTIVE_LOW), "Active Low Limit(P097)");
        EXPECT_EQ(Text(dlg, IDC_MOTOR_CURRENT_CAPTION), "Current Limit (ma)(P107)");
        EXPECT_EQ(Text(dlg, IDC_MOTOR_RUN_CURRENT_CAPTION), "Max Running Current (% of 3.3A)(P300)");
        EXPECT_EQ(Text(dlg, IDC_MOTOR_INIT_TORQUE_CAPTION), "Init Torque N * (5%)");
        PressButton(dlg, IDC_MOTOR_EXIT);
    });
}

} // namespace
