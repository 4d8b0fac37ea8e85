#include "probe/touch_probe_dialog.h"

#include "board/param_io.h"
#include "core/joystick_word.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/probe_deflection.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/settings.h"
#include "infra/user_prompts.h"
#include "probe/touch_probe.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modal.h"

#include <cstdio>
#include <optional>

namespace {

constexpr UINT kTimerMs = 1;
constexpr int kParamRetractVelocity = 15;
constexpr int kParamTriggerConfig = 23;
constexpr int kParamDebounce = 24;
constexpr int kParamRetractDistance = 48;
constexpr int kParamDecelTime = 13;
constexpr wchar_t kSection[] = L"stagetune";

// P023 bit i is box i.
constexpr int kTriggerBoxes[] = {IDC_TP_INVERT_TRIG_1, IDC_TP_INVERT_TRIG_2, IDC_TP_INVERT_TRIG_3,
                                 IDC_TP_INVERT_TRIG_4, IDC_TP_HIGH_ACTIVE,   IDC_TP_LED_ACTIVE,
                                 IDC_TP_DISABLED};
constexpr uint32_t kTriggerBits = (1u << std::size(kTriggerBoxes)) - 1;

struct TypeBox {
    int id;
    int* flag;
    const wchar_t* setting;
};
constexpr TypeBox kTypeBoxes[] = {
    {IDC_TP_TP200, &g_tpIsTP200, L"TouchProbeIsTP200"},
    {IDC_TP_PDAMP, &g_tpPdamp, L"TouchProbePdamp"},
    {IDC_TP_PPOFF, &g_tpPpoff, L"TouchProbePpoff"},
};

constexpr int kTesterControls[] = {IDC_TP_TEST_GROUP, IDC_TP_DISABLE,  IDC_TP_ENABLE,     IDC_TP_LATCH_CAPTION,
                                   IDC_TP_LATCH_STATUS, IDC_TP_LOG,    IDC_TP_ACTIVE,     IDC_TP_RETRACTING,
                                   IDC_TP_RETRACT_ERROR};
// Where the probe test starts in the template (dialog units): outside
// tester mode the window ends there.
constexpr int kTesterTop = 171;

struct StatusLight {
    int id;
    uint8_t bit;
};
constexpr StatusLight kLights[] = {
    {IDC_TP_ACTIVE, 0x02},
    {IDC_TP_RETRACTING, 0x04},
    {IDC_TP_RETRACT_ERROR, 0x08},
};

constexpr wchar_t kOpenLoopWarning[] =
    L"We recommend that you do not use open loop joystick with touch probe enabled.  This is due to acceleration "
    L"inaccuracies caused by mode switching during touch probe hits.";

ShownFields g_fields;
ShownTexts g_readouts;
// What the lights show and whether "Log" is checked, so that the 1 ms poll
// asks and sends the controls nothing unless they change.
int g_lightsShown = -1;
bool g_logChecked = false;

void ShowUnsigned(HWND wnd, int id, uint32_t value)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%u", value);
    g_fields.ShowText(wnd, id, text);
}

void ShowHundredths(HWND wnd, int id, uint32_t value)
{
    char text[16];
    FormatHundredths(value, text, sizeof text);
    wchar_t wide[16];
    std::swprintf(wide, std::size(wide), L"%hs", text);
    g_fields.ShowText(wnd, id, wide);
}

void ShowDeflection(HWND wnd)
{
    char value[16];
    char source[8];
    FormatDeflection(EstimateProbeDeflection(), value, sizeof value, source, sizeof source);
    SetControlTextIfChanged(wnd, IDC_TP_DEFLECTION, value);
    SetControlTextIfChanged(wnd, IDC_TP_DEFLECTION_SOURCE, source);
}

// Outside tester mode the probe test is hidden and the window cut off above it.
void FitToMode(HWND wnd, bool tester)
{
    for (int id : kTesterControls)
        ShowControl(wnd, id, tester);
    if (tester)
        return;
    RECT cut = {0, 0, 0, kTesterTop};
    MapDialogRect(wnd, &cut);
    RECT window;
    RECT client;
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    const int height = (window.bottom - window.top) - (client.bottom - cut.bottom);
    SetWindowPos(wnd, nullptr, 0, 0, window.right - window.left, height, SWP_NOMOVE | SWP_NOZORDER);
}

void OnInit(HWND wnd)
{
    g_fields.Forget();
    g_readouts.Forget();
    g_lightsShown = -1;
    g_logChecked = IsBoxChecked(wnd, IDC_TP_LOG);
    for (const TypeBox& box : kTypeBoxes) {
        *box.flag = GetSettingInt(kSection, box.setting, L"0") != 0 ? 1 : 0;
        CheckBox(wnd, box.id, *box.flag != 0);
    }
    for (size_t bit = 0; bit < std::size(kTriggerBoxes); ++bit)
        CheckBox(wnd, kTriggerBoxes[bit], (g_param[kParamTriggerConfig] >> bit & 1) != 0);
    ShowUnsigned(wnd, IDC_TP_DEBOUNCE, g_param[kParamDebounce]);
    ShowHundredths(wnd, IDC_TP_RETRACT_DISTANCE, g_param[kParamRetractDistance]);
    ShowHundredths(wnd, IDC_TP_RETRACT_VELOCITY, g_param[kParamRetractVelocity]);
    ShowUnsigned(wnd, IDC_TP_DECEL_TIME, g_param[kParamDecelTime]);
    ShowDeflection(wnd);
    FitToMode(wnd, g_testerMode != 0);
    if (g_testerMode != 0)
        StartTimer(wnd, IDT_TICK, kTimerMs);
}

void ReadTypeBoxes(HWND wnd)
{
    for (const TypeBox& box : kTypeBoxes)
        *box.flag = IsBoxChecked(wnd, box.id) ? 1 : 0;
}

// The bits above the seven boxes are the board's and stay as they are.
uint32_t TriggerConfig(HWND wnd)
{
    uint32_t config = g_param[kParamTriggerConfig] & ~kTriggerBits;
    for (size_t bit = 0; bit < std::size(kTriggerBoxes); ++bit)
        if (IsBoxChecked(wnd, kTriggerBoxes[bit]))
            config |= 1u << bit;
    return config;
}

// A typed debounce without a number is 0; a retract field or decel time
// without one keeps its parameter. An untouched field keeps its stored value.
std::optional<uint32_t> TypedDebounce(HWND wnd)
{
    if (const std::optional<std::wstring> text = g_fields.TakeChangedText(wnd, IDC_TP_DEBOUNCE))
        return WholeUnsigned(*text).value_or(0);
    return std::nullopt;
}

std::optional<uint32_t> TypedHundredths(HWND wnd, int id)
{
    if (const std::optional<double> typed = g_fields.TakeTypedNumber(wnd, id, LeadingDouble))
        return HundredthsOf(*typed);
    return std::nullopt;
}

void Store(int number, std::optional<uint32_t> value)
{
    if (value)
        g_param[number] = *value;
    SetParamIfDifferent(number, g_param[number]);
}

void OnOk(HWND wnd)
{
    const uint32_t config = TriggerConfig(wnd);
    if (!IsBoxChecked(wnd, IDC_TP_DISABLED) && (g_param[kParamJoystickOptions] & kJoystickOpenLoop) != 0)
        ShowMessageBox(wnd, kOpenLoopWarning, L"Warning", MB_OK | MB_ICONEXCLAMATION);
    Store(kParamTriggerConfig, config);
    Store(kParamDebounce, TypedDebounce(wnd));
    Store(kParamRetractDistance, TypedHundredths(wnd, IDC_TP_RETRACT_DISTANCE));
    Store(kParamRetractVelocity, TypedHundredths(wnd, IDC_TP_RETRACT_VELOCITY));
    Store(kParamDecelTime, g_fields.TakeTypedNumber(wnd, IDC_TP_DECEL_TIME, WholeUnsigned));
    ReadTypeBoxes(wnd);
    loc_enableTouchProbe(g_tpEnabled != 0);
    WriteSettingString(kSection, L"TouchProbeIsTP200", g_tpIsTP200 ? L"1" : L"0");
    EndModal(wnd, 0);
}

void OnDisable(HWND wnd)
{
    ReadTypeBoxes(wnd);
    loc_enableTouchProbe(false);
}

void OnEnable(HWND wnd)
{
    ReadTypeBoxes(wnd);
    loc_enableTouchProbe(true);
}

void OnLogBox(HWND wnd) { g_logChecked = IsBoxChecked(wnd, IDC_TP_LOG); }

void ShowLights(HWND wnd, uint8_t status)
{
    const int shown = status & 0x0E;
    if (shown == g_lightsShown)
        return;
    for (const StatusLight& light : kLights)
        CheckBox(wnd, light.id, (status & light.bit) != 0);
    g_lightsShown = shown;
}

void OnTick(HWND wnd)
{
    TouchProbePoll(g_logChecked);
    uint8_t latch = 0;
    AXB_GetTouchProbeLatchStatus(0, &latch);
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", latch);
    g_readouts.Set(wnd, IDC_TP_LATCH_STATUS, text);
    uint8_t status = 0;
    AXB_GetProbeStatus(0, &status);
    ShowLights(wnd, status);
    g_readouts.WriteDue(wnd);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_TP_OK, WindowHandler<OnOk>},
    {IDC_TP_DISABLE, WindowHandler<OnDisable>},
    {IDC_TP_ENABLE, WindowHandler<OnEnable>},
    {IDC_TP_LOG, WindowHandler<OnLogBox>},
};
// Cancel, Escape and the close box end the dialog with nothing written.
constexpr DialogBehaviour kBehaviour = {.init = OnInit, .routes = kRoutes, .tick = OnTick};

} // namespace

INT_PTR CALLBACK TouchProbeDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void RunTouchProbeDialog(HWND owner) { RunModalDialog(owner, IDD_TOUCH_PROBE, TouchProbeDlgProc); }
