#include "setup/copy_settings_dialog.h"

#include "board/param_io.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/axis_radios.h"
#include "ui/dialog.h"
#include "ui/modal.h"

namespace {

// Each axis has a block of 40 parameters from P050 + 40·a and, X..Q only, a
// second block from P260 + 40·a.
constexpr int kBlockSize = kAxisParamStride;

constexpr int kTargetBoxes[kAxisCount] = {IDC_COPY_TO_X, IDC_COPY_TO_Y, IDC_COPY_TO_Z, IDC_COPY_TO_Q,
                                          IDC_COPY_TO_ZOOM};

void CopyParam(int block, int source, int target, int i)
{
    StoreParamUnlogged(AxisParam(block + i, target), g_param[AxisParam(block + i, source)]);
}

// Whole blocks, interleaved by index: copying into Q also copies Q's
// joystick rows that live in its block.
void OnCopy(HWND wnd)
{
    const int source = g_radio_last;
    for (int i = 0; i < kBlockSize; ++i) {
        for (int target = 0; target < kAxisCount; ++target) {
            if (target == source || IsDlgButtonChecked(wnd, kTargetBoxes[target]) != BST_CHECKED)
                continue;
            CopyParam(kParamFirstAxisBlock, source, target, i);
            if (source != kZoomAxis && target != kZoomAxis)
                CopyParam(kParamSecondAxisBlock, source, target, i);
        }
    }
    // The targets' counts per mm may have changed: their converted fields
    // must use the new scale at the next apply.
    RecomputeScales();
}

void OnSourceRadio(HWND wnd, int axis)
{
    g_radio_last = axis;
    CheckAxisRadio(wnd, axis);
}

void OnExit(HWND wnd) { EndModal(wnd, 0); }

void OnInitDialog(HWND wnd) { CheckAxisRadio(wnd, TakeOpeningAxis()); }

constexpr CommandRoute kRoutes[] = {
    {IDC_COPY_COPY, WindowHandler<OnCopy>},
    {IDC_COPY_EXIT, WindowHandler<OnExit>},
};
constexpr DialogBehaviour kBehaviour = {.init = OnInitDialog, .routes = kRoutes, .axisRadio = OnSourceRadio};

} // namespace

INT_PTR CALLBACK CopySettingsDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void RunCopySettingsDialog(HWND owner) { RunModalDialog(owner, IDD_COPY_SETTINGS, CopySettingsDlgProc); }
