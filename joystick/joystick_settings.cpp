#include "joystick/joystick_settings.h"

#include "board/param_io.h"
#include "core/axes.h"
#include "core/flash_items.h"
#include "core/joystick_word.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/log.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/fields.h"

#include <cwchar>
#include <iterator>

namespace {

struct AxisColumn {
    int coarse, fine, invert, max, centre, min, deadband;
    int enable;   // none for Q
};
constexpr AxisColumn kColumns[kJoystickAxes] = {
    {IDC_JOY_COARSE_X, IDC_JOY_FINE_X, IDC_JOY_INVERT_X, IDC_JOY_MAX_X, IDC_JOY_CENTER_X, IDC_JOY_MIN_X,
     IDC_JOY_DEADBAND_X, IDC_JOY_ENABLE_X},
    {IDC_JOY_COARSE_Y, IDC_JOY_FINE_Y, IDC_JOY_INVERT_Y, IDC_JOY_MAX_Y, IDC_JOY_CENTER_Y, IDC_JOY_MIN_Y,
     IDC_JOY_DEADBAND_Y, IDC_JOY_ENABLE_Y},
    {IDC_JOY_COARSE_Z, IDC_JOY_FINE_Z, IDC_JOY_INVERT_Z, IDC_JOY_MAX_Z, IDC_JOY_CENTER_Z, IDC_JOY_MIN_Z,
     IDC_JOY_DEADBAND_Z, IDC_JOY_ENABLE_Z},
    {IDC_JOY_COARSE_Q, IDC_JOY_FINE_Q, IDC_JOY_INVERT_Q, IDC_JOY_MAX_Q, IDC_JOY_CENTER_Q, IDC_JOY_MIN_Q,
     IDC_JOY_DEADBAND_Q, 0},
};

struct Caption {
    int id;
    const wchar_t* name;
    int param;
};
// The X column's rows are named; Y, Z and Q show only their numbers.
constexpr Caption kCaptions[] = {
    {IDC_JOY_CAPTION_COARSE, L"Coarse Rate %", 2},       {IDC_JOY_CAPTION_FINE, L"Fine Rate %", 2},
    {IDC_JOY_CAPTION_INVERT, L"Invert Direction", 2},    {IDC_JOY_CAPTION_MIN, L"Min (ADC_Counts)", 35},
    {IDC_JOY_CAPTION_CENTER, L"Center (ADC_Counts)", 36}, {IDC_JOY_CAPTION_MAX, L"Max (ADC_Counts)", 37},
    {IDC_JOY_CAPTION_DEADBAND, L"Deadband (ADC_Counts)", 38},
    {IDC_JOY_CAPTION_RATE_Y, L"", 3},   {IDC_JOY_CAPTION_MIN_Y, L"", 39},   {IDC_JOY_CAPTION_CENTER_Y, L"", 40},
    {IDC_JOY_CAPTION_MAX_Y, L"", 41},   {IDC_JOY_CAPTION_DEADBAND_Y, L"", 42},
    {IDC_JOY_CAPTION_RATE_Z, L"", 4},   {IDC_JOY_CAPTION_MIN_Z, L"", 43},   {IDC_JOY_CAPTION_CENTER_Z, L"", 44},
    {IDC_JOY_CAPTION_MAX_Z, L"", 45},   {IDC_JOY_CAPTION_DEADBAND_Z, L"", 46},
    {IDC_JOY_CAPTION_RATE_Q, L"", 204}, {IDC_JOY_CAPTION_MIN_Q, L"", 206},  {IDC_JOY_CAPTION_CENTER_Q, L"", 207},
    {IDC_JOY_CAPTION_MAX_Q, L"", 208},  {IDC_JOY_CAPTION_DEADBAND_Q, L"", 209},
    {IDC_JOY_BUTTON_CONFIG_CAPTION, L"Button Config", kParamJoystickOptions},
    {IDC_JOY_BUTTON_CONFIG_OLD_CAPTION, L"Button Config", kParamJoystickOptions},
};

struct ButtonRow {
    int function, second, label, indicator;
};
constexpr ButtonRow kButtons[kJoystickButtons] = {
    {IDC_JOY_FUNCTION_1, IDC_JOY_SECOND_1, IDC_JOY_BUTTON_LABEL_1, IDC_JOY_INDICATOR_1},
    {IDC_JOY_FUNCTION_2, IDC_JOY_SECOND_2, IDC_JOY_BUTTON_LABEL_2, IDC_JOY_INDICATOR_2},
    {IDC_JOY_FUNCTION_3, IDC_JOY_SECOND_3, IDC_JOY_BUTTON_LABEL_3, IDC_JOY_INDICATOR_3},
    {IDC_JOY_FUNCTION_4, IDC_JOY_SECOND_4, IDC_JOY_BUTTON_LABEL_4, IDC_JOY_INDICATOR_4},
    {IDC_JOY_FUNCTION_5, IDC_JOY_SECOND_5, IDC_JOY_BUTTON_LABEL_5, IDC_JOY_INDICATOR_5},
};
constexpr int kThreeButtons = 3;

struct OptionBox {
    int id;
    uint32_t bit;
};
constexpr OptionBox kOptionBoxes[] = {
    {IDC_JOY_TWO_AXIS, kJoystickTwoAxis},       {IDC_JOY_OPEN_LOOP, kJoystickOpenLoop},
    {IDC_JOY_Q_TRACK, kJoystickQTrack},         {IDC_JOY_LEVEL_BUTTONS, kJoystickLevelButtons},
    {IDC_JOY_THROTTLE, kJoystickThrottle},      {IDC_JOY_Z_DP, kJoystickZDp},
};

constexpr const wchar_t* kFunctions[] = {L"Disable (Software)", L"Speed Toggle", L"Axis-Lock", L"Z Track"};
constexpr const wchar_t* kSecondFunctions[] = {L"Disable", L"Enter", L"Done", L"Undo", L"Goto Here"};
constexpr const wchar_t* kOldButtonConfigs[] = {
    L"B1:Speed Toggle B2:Axis-Lock    B3:Z Track     ", L"B1:Speed Toggle B2:Z Track      B3:Axis-Lock   ",
    L"B1:Axis-Lock    B2:Z Track      B3:Speed Toggle", L"B1:Axis-Lock    B2:Speed Toggle B3:Z Track     ",
    L"B1:Z Track      B2:Speed Toggle B3:Axis-Lock   ", L"B1:Z Track      B2:Axis-Lock    B3:Speed Toggle",
};
constexpr int kExpoCurves = 15;
constexpr int kStepperMotor = 3;
constexpr uint32_t kMotorTypeBits = 7;

ShownFields g_shown;

void AddItems(HWND wnd, int id, const wchar_t* const* items, int count)
{
    for (int i = 0; i < count; ++i)
        SendDlgItemMessageW(wnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
    SendDlgItemMessageW(wnd, id, CB_SETCURSEL, 0, 0);
}

void FillLists(HWND wnd)
{
    for (int curve = 1; curve <= kExpoCurves; ++curve) {
        wchar_t text[16];
        std::swprintf(text, std::size(text), curve == 1 ? L"Linear" : L"Expo %d", curve);
        SendDlgItemMessageW(wnd, IDC_JOY_EXPO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendDlgItemMessageW(wnd, IDC_JOY_EXPO, CB_SETCURSEL, 0, 0);
    for (const ButtonRow& row : kButtons) {
        AddItems(wnd, row.function, kFunctions, static_cast<int>(std::size(kFunctions)));
        AddItems(wnd, row.second, kSecondFunctions, static_cast<int>(std::size(kSecondFunctions)));
    }
    AddItems(wnd, IDC_JOY_BUTTON_CONFIG_OLD, kOldButtonConfigs, static_cast<int>(std::size(kOldButtonConfigs)));
}

// The joystick state byte, which tells a five-button joystick; logged.
uint8_t ReadJoystickMode()
{
    uint32_t mode = 0;
    uint8_t functions = 0, state = 0;
    AXB_GetJoyStickMode(0, &mode, &functions, &state);
    LogPrintf(g_log, "AXB_GetJoyStickMode:%u\n", state);
    return state;
}

bool HasStepper()
{
    for (int axis = 0; axis < kEncoderAxisCount; ++axis)
        if ((g_param[AxisParam(kParamMotorType, axis)] & kMotorTypeBits) == kStepperMotor)
            return true;
    return false;
}

void ShowButtonRow(HWND wnd, const ButtonRow& row, bool shown)
{
    for (int id : {row.function, row.second, row.label, row.indicator})
        ShowControl(wnd, id, shown);
}

// Each control appears where its firmware fills it. A control that is not
// shown is not applied either, so its bits keep what the board holds.
void ShowControlsOfFirmware(HWND wnd)
{
    const uint32_t fw = g_firmwareVersion;
    const bool functions = fw >= kJoystickFunctionFirmware;
    const bool seconds = fw >= kJoystickSecondFunctionFirmware;
    const bool fiveButtonFirmware = fw >= kJoystickFiveButtonFirmware;
    for (int id : {IDC_JOY_BUTTON_CONFIG_OLD, IDC_JOY_BUTTON_CONFIG_OLD_CAPTION})
        ShowControl(wnd, id, !functions);
    for (int id : {IDC_JOY_BUTTON_CONFIG_CAPTION, IDC_JOY_FUNCTION_HEADER, IDC_JOY_EXPO, IDC_JOY_EXPO_CAPTION,
                   IDC_JOY_TWO_AXIS, IDC_JOY_LEVEL_BUTTONS})
        ShowControl(wnd, id, functions);
    for (int b = 0; b < kThreeButtons; ++b) {
        ShowControl(wnd, kButtons[b].function, functions);
        ShowControl(wnd, kButtons[b].second, seconds);
    }
    ShowControl(wnd, IDC_JOY_SECOND_HEADER, seconds);
    const bool five = fiveButtonFirmware && (ReadJoystickMode() & kJoystickFiveButtonBit);
    for (int b = kThreeButtons; b < kJoystickButtons; ++b)
        ShowButtonRow(wnd, kButtons[b], five);
    for (int id : {IDC_JOY_BUTTON_FUNCTION_1, IDC_JOY_BUTTON_FUNCTION_2, IDC_JOY_BUTTON_FUNCTION_3})
        ShowControl(wnd, id, !five);
    const bool openLoop = seconds && HasStepper();
    ShowControl(wnd, IDC_JOY_OPEN_LOOP, openLoop);
    if (seconds && !openLoop)
        g_param[kParamJoystickOptions] &= ~kJoystickOpenLoop;
    if (fw < kJoystickQTrackFirmware)
        LogPrintf(g_log, "g_total_fwversion %06x\n", fw);
    ShowControl(wnd, IDC_JOY_Q_TRACK, functions && fw >= kJoystickQTrackFirmware);
    for (int id : {IDC_JOY_THROTTLE, IDC_JOY_Z_DP})
        ShowControl(wnd, id, fiveButtonFirmware);
}

void ShowNumber(HWND wnd, int id, uint32_t value)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%u", value);
    g_shown.ShowText(wnd, id, text);
}

// A field without a number, or one the technician left as shown, keeps the
// stored value.
uint32_t TypedOr(HWND wnd, int id, uint32_t stored)
{
    return g_shown.TakeTypedNumber<uint32_t>(wnd, id, WholeUnsigned).value_or(stored);
}

void FillColumn(HWND wnd, int axis)
{
    const AxisColumn& c = kColumns[axis];
    const JoystickAxisParams& p = kJoystickAxisParams[axis];
    const JoystickRate rate = SplitJoystickRate(g_param[p.rate]);
    ShowNumber(wnd, c.coarse, rate.coarse);
    ShowNumber(wnd, c.fine, rate.fine);
    CheckBox(wnd, c.invert, rate.invert);
    ShowNumber(wnd, c.max, g_param[p.max]);
    ShowNumber(wnd, c.min, g_param[p.min]);
    ShowNumber(wnd, c.centre, g_param[p.centre]);
    ShowNumber(wnd, c.deadband, g_param[p.deadband]);
    if (c.enable)
        CheckBox(wnd, c.enable, g_joystickEnabled[axis]);
}

void FillButtonFunctions(HWND wnd, uint32_t word, int buttons)
{
    for (int b = 0; b < buttons; ++b)
        g_shown.ShowSelection(wnd, kButtons[b].function, static_cast<int>(JoystickButtonFunction(word, b)));
}

void FillSecondFunctions(HWND wnd)
{
    for (int b = 0; b < kJoystickButtons; ++b)
        g_shown.ShowSelection(wnd, kButtons[b].second, krv_user_box_data.joystickSecondFunction[b]);
}

// Boxes this firmware does not show are filled too: they are not applied.
void FillOptions(HWND wnd, uint32_t word)
{
    for (const OptionBox& box : kOptionBoxes)
        CheckBox(wnd, box.id, word & box.bit);
    g_shown.ShowSelection(wnd, IDC_JOY_EXPO, JoystickExpoPosition(word));
}

void FillP001(HWND wnd)
{
    const uint32_t word = g_param[kParamJoystickOptions];
    const uint32_t fw = g_firmwareVersion;
    if (fw >= kJoystickFiveButtonFirmware) {
        const bool five = ReadJoystickMode() & kJoystickFiveButtonBit;
        FillButtonFunctions(wnd, word, five ? kJoystickButtons : kThreeButtons);
        FillOptions(wnd, word);
        FillSecondFunctions(wnd);
    } else if (fw >= kJoystickFunctionFirmware) {
        FillButtonFunctions(wnd, word, kThreeButtons);
        FillOptions(wnd, word);
        if (fw >= kJoystickSecondFunctionFirmware)
            FillSecondFunctions(wnd);
    } else {
        g_shown.ShowSelection(wnd, IDC_JOY_BUTTON_CONFIG_OLD, static_cast<int>(word));
    }
}

void ApplyColumn(HWND wnd, int axis)
{
    const AxisColumn& c = kColumns[axis];
    const JoystickAxisParams& p = kJoystickAxisParams[axis];
    JoystickRate rate = SplitJoystickRate(g_param[p.rate]);
    rate.coarse = TypedOr(wnd, c.coarse, rate.coarse);
    rate.fine = TypedOr(wnd, c.fine, rate.fine);
    rate.invert = IsBoxChecked(wnd, c.invert);
    StoreParam(p.rate, ComposeJoystickRate(g_param[p.rate], rate));
    for (const auto& [id, param] : {std::pair{c.max, p.max}, {c.min, p.min}, {c.centre, p.centre}, {c.deadband, p.deadband}})
        StoreParam(param, TypedOr(wnd, id, g_param[param]));
    g_joystickEnabled[axis] = c.enable && IsBoxChecked(wnd, c.enable);
}

// The selection of a shown list; none for a hidden one or a code it had no
// entry for, which then keeps its value.
int ShownSelection(HWND wnd, int id) { return IsControlShown(wnd, id) ? ListSelection(wnd, id) : -1; }

uint32_t ComposeP001(HWND wnd, uint32_t word)
{
    for (int b = 0; b < kJoystickButtons; ++b)
        if (const int function = ShownSelection(wnd, kButtons[b].function); function >= 0)
            word = WithJoystickButtonFunction(word, b, static_cast<uint32_t>(function));
    for (const OptionBox& box : kOptionBoxes)
        if (IsControlShown(wnd, box.id))
            word = WithJoystickFlag(word, box.bit, IsBoxChecked(wnd, box.id));
    if (const int expo = ShownSelection(wnd, IDC_JOY_EXPO); expo >= 0)
        word = WithJoystickExpoPosition(word, expo);
    return word;
}

void ApplySecondFunctions(HWND wnd)
{
    for (int b = 0; b < kJoystickButtons; ++b)
        if (const int second = ShownSelection(wnd, kButtons[b].second); second >= 0)
            krv_user_box_data.joystickSecondFunction[b] = static_cast<uint8_t>(second);
    PackUserBoxData();
}

} // namespace

void PrepareJoystickControls(HWND wnd)
{
    FillLists(wnd);
    ShowControl(wnd, IDC_JOY_OPEN_LOOP, false);
    ShowControlsOfFirmware(wnd);
}

void FillJoystickDialog(HWND wnd)
{
    g_shown.Forget();
    for (int axis = 0; axis < kJoystickAxes; ++axis)
        FillColumn(wnd, axis);
    FillP001(wnd);
    for (const Caption& caption : kCaptions)
        SetParamCaption(wnd, caption.id, caption.name, caption.param);
}

void ApplyJoystickDialog(HWND wnd)
{
    for (int axis = 0; axis < kJoystickAxes; ++axis)
        ApplyColumn(wnd, axis);
    const uint32_t word = g_param[kParamJoystickOptions];
    if (g_firmwareVersion < kJoystickFunctionFirmware) {
        if (const int position = ShownSelection(wnd, IDC_JOY_BUTTON_CONFIG_OLD);
            position >= 0 && position < static_cast<int>(std::size(kOldButtonConfigs)))
            StoreParam(kParamJoystickOptions, static_cast<uint32_t>(position));
        return;
    }
    StoreParam(kParamJoystickOptions, ComposeP001(wnd, word));
    if (g_firmwareVersion >= kJoystickSecondFunctionFirmware)
        ApplySecondFunctions(wnd);
}

void ResetJoystickSettings() { g_shown.Forget(); }
