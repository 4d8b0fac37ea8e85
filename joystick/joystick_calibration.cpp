#include "joystick/joystick_calibration.h"

#include "board/joystick_tracking.h"
#include "board/param_io.h"
#include "core/axes.h"
#include "core/joystick_calibration.h"
#include "core/joystick_word.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/user_prompts.h"
#include "joystick/joystick_settings.h"
#include "res/resource.h"
#include "ui/fields.h"

#include <initializer_list>

namespace {

constexpr wchar_t kTitle[] = L"Joystick Calibration";
constexpr const wchar_t* kHoldPrompts[kCalibratedJoystickAxes][2] = {
    {L"Hold X axis Joystick at minimum.  Do not release until next prompt. Press OK",
     L"Hold X axis Joystick at maximum.  Do not release until next prompt. Press OK"},
    {L"Hold Y axis Joystick at minimum.  Do not release until next prompt. Press OK",
     L"Hold Y axis Joystick at maximum.  Do not release until next prompt. Press OK"},
    {L"Hold Z axis Joystick at minimum.  Do not release until next prompt. Press OK",
     L"Hold Z axis Joystick at maximum.  Do not release until next prompt. Press OK"},
};
constexpr wchar_t kCentrePrompt[] = L"Center Joystick then press OK";
constexpr wchar_t kSweepPrompt[] = L"Move Joystick to all Extremes Then Center and hit OK";
constexpr uint64_t kSampleMs = 500;
constexpr char kAxisNames[] = "XYZ";

struct SettingBytes {
    uint8_t a, b, c;
};
SettingBytes g_saved[kCalibratedJoystickAxes];

bool Confirmed(HWND wnd, const wchar_t* prompt) { return ShowMessageBox(wnd, prompt, kTitle, MB_OKCANCEL) == IDOK; }

// The stick keeps its first setting byte and acts on nothing meanwhile.
void Prepare()
{
    for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis) {
        g_joy_max[axis] = kJoystickNoMax;
        g_joy_min[axis] = kJoystickNoMin;
        SettingBytes& saved = g_saved[axis];
        AXB_GetJoystickAxis(0, axis, &saved.a, &saved.b, &saved.c);
        AXB_SetJoystickAxis(0, axis, saved.a, 0, 0);
    }
}

void GiveBackSettings(int axis) { AXB_SetJoystickAxis(0, axis, g_saved[axis].a, g_saved[axis].b, g_saved[axis].c); }

void GiveBackAllSettings()
{
    for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis)
        GiveBackSettings(axis);
}

void Cancelled()
{
    GiveBackAllSettings();
    g_joy_state = kJoyIdle;
}

void LogState() { LogPrintf(g_log, "g_joy_state%d\n", g_joy_state); }

void LogExtremes()
{
    LogPrintf(g_log, "g_joy_max[0]=%u\n", g_joy_max[0]);
    LogPrintf(g_log, "g_joy_min[0]=%u\n", g_joy_min[0]);
}

JoystickWindow StoredWindow(int axis)
{
    const JoystickAxisParams& p = kJoystickAxisParams[axis];
    return {g_param[p.min], g_param[p.centre], g_param[p.max]};
}

void WriteWindow(int axis, const std::optional<JoystickWindow>& window)
{
    if (!window) {
        LogPrintf(g_log, "Joystick %c axis: no reading was taken, its window stays\n", kAxisNames[axis]);
        return;
    }
    const JoystickAxisParams& p = kJoystickAxisParams[axis];
    g_param[p.min] = window->min;
    g_param[p.centre] = window->centre;
    g_param[p.max] = window->max;
    WriteParamReadBack(p.min, window->min);
    WriteParamReadBack(p.centre, window->centre);
    WriteParamReadBack(p.max, window->max);
    LogPrintf(g_log, "Max:%u Min:%u Center:%u\n", window->max, window->min, window->centre);
}

void Finished(HWND wnd)
{
    FillJoystickDialog(wnd);
    LogExtremes();
    LogPrintf(g_log, "g_joy_min[0]=%u\n", g_joy_reading[0]);
}

// Time passes between reads through the clock, so that the loop ends under
// any clock and a real board is not asked thousands of times.
void Sample(JoystickLongSamples& samples, std::initializer_list<int> axes, int position)
{
    for (int axis : axes)
        samples[JoystickSampleIndex(axis, position)] = {};
    const uint64_t start = NowMs64();
    while (NowMs64() - start <= kSampleMs) {
        for (int axis : axes) {
            uint16_t reading = 0;
            if (AXB_ReadAdc(0, kJoystickFirstAdcChannel + axis, &reading) == 1)
                samples[JoystickSampleIndex(axis, position)].Take(reading);
        }
        SleepMs(1);
    }
}

} // namespace

void RunQuickJoystickCalibration(HWND wnd)
{
    ApplyJoystickDialog(wnd);
    LogState();
    g_joy_state = kJoyTracking;
    Prepare();
    LogExtremes();
    LogState();
    // The zoom timer routine widens the extremes on every tick while the
    // prompt is open.
    const bool confirmed = Confirmed(wnd, kSweepPrompt);
    LogState();
    LogExtremes();
    if (!confirmed) {
        Cancelled();
        return;
    }
    const bool twoAxis = g_param[kParamJoystickOptions] & kJoystickTwoAxis;
    for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis) {
        GiveBackSettings(axis);
        if (axis == kAxisZ && twoAxis)
            WriteWindow(axis, StoredWindow(kAxisY));
        else
            WriteWindow(axis, QuickJoystickWindow(g_joystickEnabled[axis], g_joy_reading[axis], g_joy_max[axis],
                                                  g_joy_min[axis]));
    }
    g_joy_state = kJoyIdle;
    Finished(wnd);
}

void RunLongJoystickCalibration(HWND wnd)
{
    Prepare();
    const bool twoAxis = IsBoxChecked(wnd, IDC_JOY_TWO_AXIS);
    JoystickLongSamples samples;
    const int heldAxes = twoAxis ? kAxisZ : kCalibratedJoystickAxes;
    for (int axis = 0; axis < heldAxes; ++axis)
        for (int position : {kHeldAtMinimum, kHeldAtMaximum}) {
            if (!Confirmed(wnd, kHoldPrompts[axis][position])) {
                Cancelled();
                return;
            }
            Sample(samples, {axis}, position);
        }
    if (!Confirmed(wnd, kCentrePrompt)) {
        Cancelled();
        return;
    }
    Sample(samples, {kAxisX, kAxisY, kAxisZ}, kCentred);
    if (twoAxis)
        for (int position : {kHeldAtMinimum, kHeldAtMaximum, kCentred})
            CopyJoystickSamplesYToZ(samples, position);
    for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis)
        WriteWindow(axis, LongJoystickWindow(samples, axis));
    // As after the quick calibration: the stick acts again.
    GiveBackAllSettings();
    Finished(wnd);
}
