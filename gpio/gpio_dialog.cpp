#include "gpio/gpio_dialog.h"

#include "board/gpio_outputs.h"
#include "core/button_events.h"
#include "core/flash_items.h"
#include "core/gpio_pins.h"
#include "core/param_numbers.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "gpio/button_events.h"
#include "gpio/gpio_test.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

#include <array>
#include <iterator>

HWND g_gpioDlg;

namespace {

constexpr UINT kPollMs = 100;
// Older firmware has no per-pin functions: their lists stay hidden.
constexpr uint32_t kLastFirmwareWithoutFunctions = 0x0002000A;

struct PinControls {
    int status;
    int swStatus;
    int direction;
    int output;
    int firmware;
    int software;
};

constexpr PinControls kPins[kGpioPins] = {
    {IDC_GPIO_STATUS_1, IDC_GPIO_SW_STATUS_1, IDC_GPIO_DIRECTION_1, IDC_GPIO_OUTPUT_1, IDC_GPIO_FIRMWARE_1, IDC_GPIO_SOFTWARE_1},
    {IDC_GPIO_STATUS_2, IDC_GPIO_SW_STATUS_2, IDC_GPIO_DIRECTION_2, IDC_GPIO_OUTPUT_2, IDC_GPIO_FIRMWARE_2, IDC_GPIO_SOFTWARE_2},
    {IDC_GPIO_STATUS_3, IDC_GPIO_SW_STATUS_3, IDC_GPIO_DIRECTION_3, IDC_GPIO_OUTPUT_3, IDC_GPIO_FIRMWARE_3, IDC_GPIO_SOFTWARE_3},
    {IDC_GPIO_STATUS_4, IDC_GPIO_SW_STATUS_4, IDC_GPIO_DIRECTION_4, IDC_GPIO_OUTPUT_4, IDC_GPIO_FIRMWARE_4, IDC_GPIO_SOFTWARE_4},
    {IDC_GPIO_STATUS_5, IDC_GPIO_SW_STATUS_5, IDC_GPIO_DIRECTION_5, IDC_GPIO_OUTPUT_5, IDC_GPIO_FIRMWARE_5, IDC_GPIO_SOFTWARE_5},
    {IDC_GPIO_STATUS_6, IDC_GPIO_SW_STATUS_6, IDC_GPIO_DIRECTION_6, IDC_GPIO_OUTPUT_6, IDC_GPIO_FIRMWARE_6, IDC_GPIO_SOFTWARE_6},
    {IDC_GPIO_STATUS_7, IDC_GPIO_SW_STATUS_7, IDC_GPIO_DIRECTION_7, IDC_GPIO_OUTPUT_7, IDC_GPIO_FIRMWARE_7, IDC_GPIO_SOFTWARE_7},
    {IDC_GPIO_STATUS_8, IDC_GPIO_SW_STATUS_8, IDC_GPIO_DIRECTION_8, IDC_GPIO_OUTPUT_8, IDC_GPIO_FIRMWARE_8, IDC_GPIO_SOFTWARE_8},
};

// The list position is the P009 nibble; the pin's own enable comes last.
constexpr const wchar_t* kFirmwareFunctions[] = {
    L"Disabled (software)", L"Speed (Momentary)", L"Axis (Momentary)",    L"Z Track (Momentary)",
    L"Reserved",            L"Speed (Latching)",  L"Axis Lock (Latching)", L"Z Track (Latching)",
};
constexpr const wchar_t* kPinEnable[kGpioPins] = {L"X Enable",       L"X Enable",       L"Y Enable", L"Y Enable",
                                                  L"Z Enable (OUT)", L"Z Enable (OUT)", L"Q Enable", L"Q Enable"};
// The list position is the software function code; "Goto Here" only on pins 5..8.
constexpr const wchar_t* kSoftwareFunctionItems[] = {L"Disabled", L"Enter", L"Done", L"Undo", L"Goto Here"};
constexpr int kFirstGotoHerePin = 4;

// The joystick's active functions: speed, axis lock, Z track.
constexpr int kJoystickIndicators = 3;
constexpr std::array<int, kJoystickIndicators> kJoystickIds = {IDC_GPIO_SPEED, IDC_GPIO_AXIS_LOCK, IDC_GPIO_Z_TRACK};
constexpr std::array<uint8_t, kJoystickIndicators> kJoystickBits = {0x01, 0x04, 0x10};

// A bank of indicators, one per bit, and the bits they show: only a bit that
// changed costs a message.
template <size_t N>
struct Indicators {
    std::array<HWND, N> controls{};
    uint8_t shown = 0;

    void Find(HWND dialog, const std::array<int, N>& ids)
    {
        for (size_t i = 0; i < N; ++i)
            controls[i] = GetDlgItem(dialog, ids[i]);
        shown = 0;
    }
    void Show(const std::array<uint8_t, N>& bits, uint8_t value)
    {
        for (size_t i = 0; i < N; ++i)
            if ((shown ^ value) & bits[i])
                SendMessageW(controls[i], BM_SETCHECK, (value & bits[i]) ? BST_CHECKED : BST_UNCHECKED, 0);
        shown = value;
    }
};

constexpr auto PinIds(int PinControls::*member)
{
    std::array<int, kGpioPins> ids{};
    for (int pin = 0; pin < kGpioPins; ++pin)
        ids[pin] = kPins[pin].*member;
    return ids;
}
constexpr auto kPinBits = [] {
    std::array<uint8_t, kGpioPins> bits{};
    for (int pin = 0; pin < kGpioPins; ++pin)
        bits[pin] = GpioPinBit(pin);
    return bits;
}();

struct GpioView {
    Indicators<kGpioPins> levels;
    Indicators<kGpioPins> states;
    Indicators<kJoystickIndicators> joystick;
    std::array<HWND, kGpioPins> direction{};
    std::array<HWND, kGpioPins> output{};
};

GpioView g_view;
ShownFields g_fields;

void FindControls(HWND dialog)
{
    g_view.levels.Find(dialog, PinIds(&PinControls::status));
    g_view.states.Find(dialog, PinIds(&PinControls::swStatus));
    g_view.joystick.Find(dialog, kJoystickIds);
    for (int pin = 0; pin < kGpioPins; ++pin) {
        g_view.direction[pin] = GetDlgItem(dialog, kPins[pin].direction);
        g_view.output[pin] = GetDlgItem(dialog, kPins[pin].output);
    }
}

void AddItem(HWND dialog, int list, const wchar_t* text)
{
    SendDlgItemMessageW(dialog, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void ShowFunctionLists(HWND dialog)
{
    for (int pin = 0; pin < kGpioPins; ++pin) {
        const PinControls& c = kPins[pin];
        for (const wchar_t* item : kFirmwareFunctions)
            AddItem(dialog, c.firmware, item);
        AddItem(dialog, c.firmware, kPinEnable[pin]);
        const size_t softwareItems = std::size(kSoftwareFunctionItems) - (pin >= kFirstGotoHerePin ? 0 : 1);
        for (size_t item = 0; item < softwareItems; ++item)
            AddItem(dialog, c.software, kSoftwareFunctionItems[item]);
        g_fields.ShowSelection(dialog, c.firmware,
                               static_cast<int>(GpioFirmwareFunction(g_param[kParamGpioFunctions], pin)));
        g_fields.ShowSelection(dialog, c.software, krv_user_box_data.gpioSoftwareFunction[pin]);
        ShowControl(dialog, c.firmware, true);
        ShowControl(dialog, c.software, true);
    }
    ShowControl(dialog, IDC_GPIO_FIRMWARE_HEADING, true);
    ShowControl(dialog, IDC_GPIO_SOFTWARE_HEADING, true);
}

// All pins inputs, outputs low: a known start, and the last values sent,
// so that the first box the technician checks is sent even when it happens
// to match what was sent before the dialog opened.
void OnInit(HWND dialog)
{
    g_fields.Forget();
    FindControls(dialog);
    SendGpioOutputs({});
    if (g_firmwareVersion > kLastFirmwareWithoutFunctions)
        ShowFunctionLists(dialog);
    StartTimer(dialog, IDT_TICK, kPollMs);
    g_log.Write("Entering GPIODialogProc\n");
}

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

GpioOutputs OutputsFromBoxes()
{
    GpioOutputs outputs;
    for (int pin = 0; pin < kGpioPins; ++pin) {
        if (Checked(g_view.direction[pin]))
            outputs.direction |= GpioPinBit(pin);
        if (Checked(g_view.output[pin]))
            outputs.levels |= GpioPinBit(pin);
    }
    return outputs;
}

void PollPins()
{
    uint8_t levels = 0;
    uint8_t states = 0;
    AXB_GetGpio(0, &levels, &states);
    const GpioOutputs wanted = OutputsFromBoxes();
    g_view.levels.Show(kPinBits, levels);
    g_view.states.Show(kPinBits, states);
    if (wanted != LastSentGpioOutputs())
        SendGpioOutputs(wanted);
}

void ShowJoystickFunctions()
{
    uint32_t mode = 0;
    uint8_t functions = 0;
    uint8_t state = 0;
    AXB_GetJoyStickMode(0, &mode, &functions, &state);
    g_view.joystick.Show(kJoystickBits, functions);
}

void OnTick(HWND)
{
    if (!g_boardPresent) {
        g_log.Write("g_board_installed=0\n");
        return;
    }
    PollPins();
    ShowJoystickFunctions();
    uint16_t events = 0;
    ButtonEventPoll(events);
    if (events != 0)
        g_log.Write(ButtonPressedLine(events).c_str());
}

void OnTest(HWND) { RunGpioTest(); }

// Only what the technician selected is taken: a stored code that no list
// item shows stays as it is.
void OnOk(HWND dialog)
{
    uint32_t functions = g_param[kParamGpioFunctions];
    for (int pin = 0; pin < kGpioPins; ++pin) {
        const PinControls& c = kPins[pin];
        if (g_fields.SelectionChanged(dialog, c.firmware))
            functions = WithGpioFirmwareFunction(functions, pin, static_cast<uint32_t>(ListSelection(dialog, c.firmware)));
        if (g_fields.SelectionChanged(dialog, c.software))
            krv_user_box_data.gpioSoftwareFunction[pin] = static_cast<uint8_t>(ListSelection(dialog, c.software));
    }
    g_param[kParamGpioFunctions] = functions;
    PackUserBoxData();
    CloseModeless(g_gpioDlg, dialog);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_GPIO_TEST, WindowHandler<OnTest>},
    {IDC_GPIO_OK, WindowHandler<OnOk>},
};
// The close box and Escape close it the kit's way: timer stopped, window
// destroyed, nothing stored, the program going on.
constexpr DialogBehaviour kBehaviour = {.init = OnInit, .routes = kRoutes, .tick = OnTick, .modeless = &g_gpioDlg};

} // namespace

INT_PTR CALLBACK GPIODialogProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenGpioDialog() { return OpenModeless(g_gpioDlg, IDD_GPIO, GPIODialogProc); }

void ResetGpioDialog() { DestroyModeless(g_gpioDlg); }
