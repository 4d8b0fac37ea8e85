// The GPIO dialog as a technician uses it on the simulated board: pins set
// by hand, their functions chosen, the loop-back test run, presses of pins
// and joystick buttons logged as events.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "gpio/gpio_dialog.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class GpioDialog : public ProgramTest {
protected:
    HWND Open(const std::function<void()>& board = {})
    {
        Start(board);
        Press(IDC_GPIO);
        return g_gpioDlg;
    }
    void Tick(int periods = 1) { h.Clock().Advance(100u * static_cast<uint32_t>(periods)); }
    static void Check(HWND dlg, int id) { CheckDlgButton(dlg, id, BST_CHECKED); }
};

// Opening sets every pin to an input, low, and counts that as sent; a pin
// made an output is sent once, and so again in the next session.
TEST_F(GpioDialog, OpensOnceAndSendsEachChangeOfTheBoxesOnce)
{
    HWND dlg = Open([] { AxbSim_PokeParam(9, 0x00000083); AxbSim_SetGpioLoopBack(1); });
    EXPECT_THAT(Calls("AXB_SetGpio"), ElementsAre("AXB_SetGpio(0,0,0)=1"));
    EXPECT_TRUE(Logged("Entering GPIODialogProc"));
    EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 100u);
    EXPECT_EQ(ListItems(dlg, IDC_GPIO_FIRMWARE_6).back(), "Z Enable (OUT)");
    EXPECT_EQ(ListItems(dlg, IDC_GPIO_SOFTWARE_4).size() + ListItems(dlg, IDC_GPIO_SOFTWARE_5).size(), 4u + 5u);
    EXPECT_TRUE(Selected(dlg, IDC_GPIO_FIRMWARE_1) == 3 && Selected(dlg, IDC_GPIO_FIRMWARE_2) == 8);
    Press(IDC_GPIO);
    EXPECT_EQ(g_gpioDlg, dlg);

    for (int session = 0; session < 2; ++session) {
        Forget();
        Check(dlg, IDC_GPIO_DIRECTION_3);
        Check(dlg, IDC_GPIO_OUTPUT_3);
        Tick(5);
        EXPECT_THAT(Calls("AXB_SetGpio"), ElementsAre("AXB_SetGpio(0,4,4)=1")) << session;
        EXPECT_TRUE(IsChecked(dlg, IDC_GPIO_STATUS_3) && !IsChecked(dlg, IDC_GPIO_STATUS_2));
        CloseByCloseBox(dlg);
        Press(IDC_GPIO);
        dlg = g_gpioDlg;
    }
}

// Close box, Escape and OK each end the pin polling with the window, and
// none of them ends the program.
TEST_F(GpioDialog, EveryWayOfClosingDestroysItAndTheProgramGoesOn)
{
    const std::function<void(HWND)> closes[] = {
        CloseByCloseBox,
        [](HWND dlg) { SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0); },
        [](HWND dlg) { SendMessageW(dlg, WM_COMMAND, IDC_GPIO_OK, 0); },
    };
    for (const auto& close : closes) {
        HWND dlg = Open();
        Check(dlg, IDC_GPIO_DIRECTION_1);
        close(dlg);
        EXPECT_FALSE(PumpMessages()) << "quit posted";
        Forget();
        Tick(3);
        EXPECT_TRUE(!IsWindow(dlg) && g_gpioDlg == nullptr && IsWindow(main));
        EXPECT_THAT(Calls("AXB_SetGpio"), IsEmpty());
    }
}

// With the plug every value reads back; without, each mismatch is a line,
// and the pins get back what the technician set.
TEST_F(GpioDialog, TheLoopBackTestPassesOnlyWithThePlug)
{
    for (const bool plug : {true, false}) {
        HWND dlg = Open([plug] { AxbSim_SetGpioLoopBack(plug); });
        Check(dlg, IDC_GPIO_DIRECTION_8);
        Tick();
        Forget();
        PressButton(dlg, IDC_GPIO_TEST);
        const auto errors = LinesStartingWith({"Error output"});
        EXPECT_EQ(Logged("passed GPIO test"), plug);
        EXPECT_EQ(errors.size(), plug ? 0u : 8u + 8u + 255u);
        if (!plug) {
            EXPECT_EQ(errors.front(), "Error output 01 read 00");
        }
        EXPECT_EQ(Calls("AXB_SetGpio").size(), 273u);
        EXPECT_EQ(Calls("AXB_SetGpio").back(), "AXB_SetGpio(0,128,0)=1");
    }
}

// A pin or button is an event source only while its firmware function is
// "Disabled (software)"; each press and each release is one event.
TEST_F(GpioDialog, PressesOfSoftwarePinsAndButtonsAreLoggedAsEvents)
{
    Open([] {
        AxbSim_PokeParam(9, 0x00000010);   // pin 2: "Speed (Momentary)"
        AxbSim_SetFiveButtonJoystick(1);
        AxbSim_SetJoystickState(0x10, 0);   // button 5 held from the start
    });
    krv_user_box_data.gpioSoftwareFunction[0] = 1;
    krv_user_box_data.gpioSoftwareFunction[1] = 2;
    krv_user_box_data.joystickSecondFunction[4] = 4;
    Tick();
    EXPECT_THAT(LinesStartingWith({"Button", "button"}), ElementsAre("button bitmask changed from 0000 to 0008"));
    Forget();
    for (const uint8_t pins : {0x03, 0x02, 0x00})
        AxbSim_SetGpioFunctionStates(pins), Tick();
    AxbSim_SetJoystickState(0, 0x15);
    Tick();
    EXPECT_TRUE(IsChecked(g_gpioDlg, IDC_GPIO_SPEED) && IsChecked(g_gpioDlg, IDC_GPIO_Z_TRACK) &&
                IsChecked(g_gpioDlg, IDC_GPIO_AXIS_LOCK));
    EXPECT_THAT(LinesStartingWith({"Button"}), ElementsAre("Button pressed,(Enter),1", "Button pressed,(Enter),1",
                                                           "Button pressed,(Goto Here),8"));
}

// OK takes what the technician chose into P009 (not the board) and the
// record; a code no list shows stays as stored.
TEST_F(GpioDialog, OkStoresTheChosenFunctionsAndKeepsCodesWithoutAnItem)
{
    Start([] { AxbSim_PokeParam(9, 0xC0000000); });
    krv_user_box_data.gpioSoftwareFunction[0] = 4;   // "Goto Here" is for pins 5..8
    Press(IDC_GPIO);
    HWND dlg = g_gpioDlg;
    EXPECT_EQ(Selected(dlg, IDC_GPIO_FIRMWARE_8), -1);
    ChooseListItem(dlg, IDC_GPIO_FIRMWARE_2, 6);
    ChooseListItem(dlg, IDC_GPIO_SOFTWARE_5, 4);
    PressButton(dlg, IDC_GPIO_OK);
    EXPECT_EQ(g_param[9], 0xC0000060u);
    EXPECT_EQ(AxbSim_PeekParam(9), 0xC0000000u);
    EXPECT_THAT(Calls("AXB_SetParam"), IsEmpty());
    EXPECT_EQ(krv_user_box_data.gpioSoftwareFunction[0], 4);
    // Pins 1 and 5 in the high nibbles of items 1130 and 1132.
    EXPECT_EQ(g_flashItemValues[FindFlashItem(1130)].byteValue >> 4, 4);
    EXPECT_EQ(g_flashItemValues[FindFlashItem(1132)].byteValue >> 4, 4);
}

} // namespace

// Firmware up to 0x0002000A has no pin functions; without a board the tick
// only says so.
TEST_F(GpioDialog, OldFirmwareShowsNoListsAndNoBoardNoPolling)
{
    HWND dlg = Open([] { AxbSim_SetFirmwareVersion(0x0002000A); });
    EXPECT_FALSE(IsControlVisible(dlg, IDC_GPIO_FIRMWARE_1) || IsControlVisible(dlg, IDC_GPIO_SOFTWARE_8));
    Tick();
    EXPECT_THAT(Calls("AXB_GetGpio"), ElementsAre("AXB_GetGpio(0,&0,&0)=1", "AXB_GetGpio(0,&0,&0)=1"));
    dlg = Open([] { AxbSim_SetOpenFailures(-1); });
    Tick(2);
    EXPECT_THAT(LinesStartingWith({"g_board"}), ElementsAre("g_board_installed=0", "g_board_installed=0"));
    EXPECT_THAT(Calls("AXB_GetGpio"), IsEmpty());
}
