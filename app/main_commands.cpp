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
#include "ui/dialog.h"
#include "ui/fields.h"

namespace {

constexpr int kReadSpeedCalls = 1000;

int CheckedUnitMode(HWND wnd)
{
    if (IsBoxChecked(wnd, IDC_UNIT_IN))
        return kUnitInch;
    if (IsBoxChecked(wnd, IDC_UNIT_MM))
        return kUnitMm;
    return kUnitStored;
}

void ShowMaxFollowing(HWND wnd)
{
    char text[128];
    FormatLength(text, sizeof text, g_maxFollowing[g_radio_last], g_radio_last);
    ShowReadout(wnd, IDC_MAX_FOLLOWING, text);
}

// The axis radios and "Display Param Number" share their handling; a
// command the program posted (no control) only refills the fields.
void OnAxisOrNumbersCommand(HWND wnd, int axis)
{
    g_displayParamNumber = IsBoxChecked(wnd, IDC_DISPLAY_PARAM_NUMBER);
    MotionFlagsOff();
    if (!CommandControl()) {
        FillParamFields(wnd);
        return;
    }
    // Edits belong to the axis that was current while they were typed.
    ApplyFieldsToParams(wnd, g_radio_last);
    g_radio_last = axis;
    ShowControl(wnd, IDC_HOME, axis == kZoomAxis);
    ShowControl(wnd, IDC_CONT_HOME, axis == kZoomAxis);
    FillParamFields(wnd);
}

} // namespace

void OnAxisRadio(HWND wnd, int axis) { OnAxisOrNumbersCommand(wnd, axis); }

void OnDisplayParamNumber(HWND wnd) { OnAxisOrNumbersCommand(wnd, g_radio_last); }

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
