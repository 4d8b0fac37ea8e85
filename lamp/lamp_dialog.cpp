#include "lamp/lamp_dialog.h"

#include "core/flash_items.h"
#include "core/lamp_commands.h"
#include "core/number_text.h"
#include "core/session_state.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/rurozav_data.h"
#include "infra/settings.h"
#include "lamp/lamp_box.h"
#include "lamp/lamp_channels.h"
#include "lamp/lamp_test_sequence.h"
#include "lamp/lux400_rows.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

#include <commctrl.h>

#include <iterator>
#include <optional>
#include <string>

HWND g_lampDlg;

namespace {

constexpr UINT kLampTimerMs = 5;
constexpr int kSliderPage = 25;
constexpr uint32_t kSwitchDelayMs = 20;
// In serial mode channel 0 addresses every output of the box, so channels
// 1..4 follow it on screen.
constexpr int kFollowersOfChannelZero = 4;

struct ChannelControls {
    int slider;
    int field;
    int label;   // 0: always shown
};

constexpr ChannelControls kChannels[kLampChannelCount] = {
    {IDC_LAMP_SLIDER_1, IDC_LAMP_LEVEL_1, 0},   {IDC_LAMP_SLIDER_2, IDC_LAMP_LEVEL_2, 0},
    {IDC_LAMP_SLIDER_3, IDC_LAMP_LEVEL_3, 0},   {IDC_LAMP_SLIDER_4, IDC_LAMP_LEVEL_4, 0},
    {IDC_LAMP_SLIDER_5, IDC_LAMP_LEVEL_5, 0},   {IDC_LAMP_SLIDER_6, IDC_LAMP_LEVEL_6, 0},
    {IDC_LAMP_SLIDER_7, IDC_LAMP_LEVEL_7, 0},   {IDC_LAMP_SLIDER_8, IDC_LAMP_LEVEL_8, 0},
    {IDC_LAMP_SLIDER_9, IDC_LAMP_LEVEL_9, IDC_LAMP_LABEL_9},
    {IDC_LAMP_SLIDER_10, IDC_LAMP_LEVEL_10, IDC_LAMP_LABEL_10},
};

// The serial box's switch bits 0..3.
constexpr int kSwitchBoxes[] = {IDC_LAMP_SWITCH_1, IDC_LAMP_SWITCH_2, IDC_LAMP_SWITCH_3, IDC_LAMP_SWITCH_4};

// Whether the LUX400 controls are shown; the first tick makes them match the box.
bool g_luxShown;

bool IsSerialLayout() { return g_lampChannelCount == kLampChannelCount; }


void ShowChannel(HWND dialog, int channel)
{
    const ChannelControls& controls = kChannels[channel];
    for (int id : {controls.slider, controls.field, controls.label})
        ShowControl(dialog, id, true);
}

int SliderPosition(HWND dialog, int channel)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, kChannels[channel].slider, TBM_GETPOS, 0, 0));
}

void PlaceSlider(HWND dialog, int channel, int level)
{
    SendDlgItemMessageW(dialog, kChannels[channel].slider, TBM_SETPOS, TRUE, level);
}

void ShowLevel(HWND dialog, int channel, int level)
{
    SetDlgItemInt(dialog, kChannels[channel].field, static_cast<UINT>(level), FALSE);
}

// Channel 0 of the box drives channels 1..4 too: they show its level, and
// nothing more is sent for them.
void FollowChannelZero(HWND dialog, int channel, int level)
{
    if (!IsSerialLayout() || channel != 0)
        return;
    for (int c = 1; c <= kFollowersOfChannelZero; ++c) {
        g_lampLevel[c] = static_cast<uint16_t>(level);
        PlaceSlider(dialog, c, level);
        ShowLevel(dialog, c, level);
    }
}

// "ZTracChannel" names the channel that drives the Z track; "q..." is the Q axis.
bool HasZTrackChannel()
{
    RurozavDataGuid channel;
    channel.SetString(GetSettingText(L"Lights", L"ZTracChannel"));
    const std::string text = channel.GetNarrowString();
    return !text.empty() && text[0] == 'q';
}

void OpenSerialChannels(HWND dialog, uint32_t start)
{
    if (!g_lampBoxActive) {
        const int result = InitLampRS232(GetSettingInt(L"Lights", L"Comm Port", L"2") & 0xFF);
        if (result != 0)
            LogPrintf(g_log, "init_lamp_rs232 returned %d\n", result);
    }
    LogPrintf(g_log, "Time for init comm%u\n", NowMs() - start);
    ShowChannel(dialog, 8);
    ShowChannel(dialog, 9);
    ShowControl(dialog, IDC_LAMP_SWITCH_GROUP, true);
    for (int bit = 0; bit < 4; ++bit) {
        ShowControl(dialog, kSwitchBoxes[bit], true);
        CheckBox(dialog, kSwitchBoxes[bit], (g_quadMask >> bit) & 1);
    }
    SleepMs(kSwitchDelayMs);
    SetLampRS232Switches(g_quadMask);
    g_lampChannelCount = kLampChannelCount;
}

void OpenBoardChannels(HWND dialog)
{
    g_lampChannelCount = kBoardLampChannelCount;
    if (HasZTrackChannel()) {
        g_lampChannelCount = kZTrackChannelCount;
        ShowChannel(dialog, kZTrackChannel);
        SetDlgItemTextW(dialog, IDC_LAMP_LABEL_9, L"Z Track");
    }
}

// Levels survive the dialog: each is shown and applied again, except that
// the Z track only learns its position; Q moves when the level changes.
void ApplyLevels(HWND dialog)
{
    for (int c = 0; c < g_lampChannelCount; ++c) {
        const HWND slider = GetDlgItem(dialog, kChannels[c].slider);
        SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, kLampMaxLevel));
        SendMessageW(slider, TBM_SETPAGESIZE, 0, kSliderPage);
        const int level = g_lampLevel[c];
        if (level != 0)
            PlaceSlider(dialog, c, level);
        ShowLevel(dialog, c, level);
        if (c == kZTrackChannel && g_lampChannelCount == kZTrackChannelCount)
            g_ztrack_pos = ZTrackCounts(level);
        else
            SetLampValue(c, level);
    }
}

void OnLampInit(HWND dialog)
{
    const uint32_t start = NowMs();
    const bool lux = GetSettingInt(L"stagetune", L"LUX_400", L"0") != 0;
    CheckBox(dialog, IDC_LAMP_LUX400, lux);
    g_luxShown = !lux;
    if (g_testerMode != 0)
        ShowControl(dialog, IDC_LAMP_TEST, true);
    CheckBox(dialog, IDC_LAMP_LASER, IsLaserOn());
    if (krv_user_box_data.lampRs232 != 0)
        OpenSerialChannels(dialog, start);
    else
        OpenBoardChannels(dialog);
    ApplyLevels(dialog);
    FillLuxRows(dialog);
    LogPrintf(g_log, "Total init%u\n", NowMs() - start);
    StartTimer(dialog, IDT_TICK, kLampTimerMs);
}

void FollowLuxBox(HWND dialog)
{
    const bool lux = IsBoxChecked(dialog, IDC_LAMP_LUX400);
    if (lux != g_luxShown)
        ShowLuxControls(dialog, lux);
    g_luxShown = lux;
}

void FollowLaserBox(HWND dialog)
{
    const bool laser = IsBoxChecked(dialog, IDC_LAMP_LASER);
    if (laser != IsLaserOn())
        SetLaser(laser);
}

void FollowSliders(HWND dialog)
{
    for (int c = 0; c < g_lampChannelCount; ++c) {
        const int level = SliderPosition(dialog, c);
        if (level == g_lampLevel[c])
            continue;
        LogPrintf(g_log, "Lamp %d value was %d now %d\n", c + 1, g_lampLevel[c], level);
        SetLampValue(c, level);
        g_lampLevel[c] = static_cast<uint16_t>(level);
        ShowLevel(dialog, c, level);
        FollowChannelZero(dialog, c, level);
    }
}

void FollowLevelFields(HWND dialog)
{
    for (int c = 0; c < g_lampChannelCount; ++c) {
        const std::optional<int32_t> number =
            SaturatedLeadingInteger(FieldText(dialog, kChannels[c].field), kLargestLampFieldNumber);
        if (!number)
            continue;
        const int level = ClampLampLevel(*number);
        if (level != *number)
            ShowLevel(dialog, c, level);
        if (level == g_lampLevel[c])
            continue;
        g_lampLevel[c] = static_cast<uint16_t>(level);
        PlaceSlider(dialog, c, level);
        SetLampValue(c, level);
        FollowChannelZero(dialog, c, level);
    }
}

void FollowSwitchBoxes(HWND dialog)
{
    uint8_t mask = 0;
    for (int bit = 0; bit < 4; ++bit)
        mask |= static_cast<uint8_t>(IsBoxChecked(dialog, kSwitchBoxes[bit]) ? 1u << bit : 0u);
    if (mask == g_quadMask)
        return;
    g_quadMask = mask;
    SetLampRS232Switches(mask);
}

void OnLampTimer(HWND dialog)
{
    if (g_boardPresent == 0)
        return;
    FollowLuxBox(dialog);
    if (LampTestRunning())
        LampTestTick();
    else
        FollowLaserBox(dialog);
    FollowSliders(dialog);
    FollowLevelFields(dialog);
    if (IsSerialLayout())
        FollowSwitchBoxes(dialog);
}

void OnOkButton(HWND dialog)
{
    WriteSettingString(L"stagetune", L"LUX_400", IsBoxChecked(dialog, IDC_LAMP_LUX400) ? L"1" : L"0");
    CloseModeless(g_lampDlg, dialog);
}

void OnTestButton(HWND) { ToggleLampTest(); }

// A lamp test does not outlive its dialog.
void OnDestroyed(HWND) { ResetLampTest(); }

constexpr CommandRoute kLampRoutes[] = {
    {IDC_LAMP_OK, WindowHandler<OnOkButton>},
    {IDC_LAMP_APPLY_LUX, WindowHandler<ApplyLuxRows>},
    {IDC_LAMP_TEST, WindowHandler<OnTestButton>},
};
constexpr DialogBehaviour kBehaviour = {
    .init = OnLampInit, .routes = kLampRoutes, .tick = OnLampTimer, .destroyed = OnDestroyed, .modeless = &g_lampDlg};

} // namespace

INT_PTR CALLBACK LampDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenLampDialog() { return OpenModeless(g_lampDlg, IDD_LAMP, LampDlgProc); }

void ResetLampDialog()
{
    DestroyModeless(g_lampDlg);
    g_luxShown = false;
}
