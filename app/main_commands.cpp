#include "app/main_commands.h"

#include "app/main_timer.h"
#include "app/param_fields.h"
#include "board/axis_position.h"
#include "board/param_io.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "ui/control_text.h"

namespace {

constexpr int kReadSpeedCalls = 1000;

int AxisOfRadio(int id)
{
    switch (id) {
    case IDC_AXIS_X: return 0;
    case IDC_AXIS_Y: return 1;
    case IDC_AXIS_Z: return 2;
    case IDC_AXIS_Q: return 3;
    case IDC_AXIS_ZOOM: return kZoomAxis;
    default: return g_radio_last;   // "Display Param Number" keeps the axis
    }
}

int CheckedUnitMode(HWND wnd)
{
    if (IsDlgButtonChecked(wnd, IDC_UNIT_IN) == BST_CHECKED)
        return kUnitInch;
    if (IsDlgButtonChecked(wnd, IDC_UNIT_MM) == BST_CHECKED)
        return kUnitMm;
    return kUnitStored;
}

void ShowMaxFollowing(HWND wnd)
{
    char text[128];
    FormatLength(text, sizeof text, g_maxFollowing[g_radio_last], g_radio_last);
    ShowReadout(wnd, IDC_MAX_FOLLOWING, text);
}

} // namespace

void OnAxisCommand(HWND wnd, int id, HWND control)
{
    g_displayParamNumber = IsDlgButtonChecked(wnd, IDC_DISPLAY_PARAM_NUMBER) == BST_CHECKED;
    MotionFlagsOff();
    if (!control) {
        FillParamFields(wnd);
        return;
    }
    // Edits belong to the axis that was current while they were typed.
    ApplyFieldsToParams(wnd, g_radio_last);
    g_radio_last = AxisOfRadio(id);
    const int show = g_radio_last == kZoomAxis ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(wnd, IDC_HOME), show);
    ShowWindow(GetDlgItem(wnd, IDC_CONT_HOME), show);
    FillParamFields(wnd);
}

void OnUnitCommand(HWND wnd)
{
    const int mode = CheckedUnitMode(wnd);
    if (mode == g_unitMode)
        return;
    // The fields still hold values in the old unit.
    ApplyFieldsToParams(wnd, g_radio_last);
    g_unitMode = mode;
    ShowMaxFollowing(wnd);
    FillParamFields(wnd);
}

void OnReReadButton(HWND wnd)
{
    MotionFlagsOff();
    ReadAllParamsFromBoard();
    RecomputeScales();
    PostMessageW(wnd, WM_COMMAND, MAKEWPARAM(IDC_AXIS_X, BN_CLICKED), 0);
}

void OnApplyButton(HWND wnd) { CommitParams(wnd); }

void OnReadSpeedTest(HWND)
{
    int32_t value = 0;
    uint32_t start = NowMs();
    for (int i = 0; i < kReadSpeedCalls; ++i)
        AXB_GetLatchReg(0, 0, 0, &value);
    LogPrintf(g_log, "Time for 1000 AXB_GetLatchReg x axis reads %u\n", NowMs() - start);
    start = NowMs();
    for (int i = 0; i < kReadSpeedCalls; ++i)
        AXB_GetAxisPosValue(0, 0, &value);
    LogPrintf(g_log, "Time for 1000 AXB_GetAxisPosValue x axis reads %u\n", NowMs() - start);
}
