#include "homing/auto_home_progress.h"

#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/session_state.h"
#include "homing/auto_home.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/user_prompts.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/modal.h"

#include <cwchar>

namespace {

constexpr UINT kRefreshMs = 100;
constexpr wchar_t kAxisLetters[] = L"XYZQ";

void ShowAxes(HWND wnd)
{
    wchar_t text[128] = L"Homing ";
    int letters = 0;
    for (int axis = 0; axis < kEncoderAxisCount; ++axis) {
        if (!g_homingActive[axis] || !krv_user_box_data.autoHomeEnabled[axis])
            continue;
        const size_t used = std::wcslen(text);
        std::swprintf(text + used, std::size(text) - used, letters == 0 ? L"%lc" : L",%lc", kAxisLetters[axis]);
        ++letters;
    }
    const size_t used = std::wcslen(text);
    std::swprintf(text + used, std::size(text) - used, letters > 1 ? L" Axes" : L" Axis");
    SetDlgItemTextW(wnd, IDC_AUTO_HOME_AXES, text);
}

void EndProgress(HWND wnd, const char* line)
{
    EndModal(wnd, 0);
    g_log.Write(line);
}

void OnProgressTimer(HWND wnd)
{
    if (!g_boardPresent)
        return;
    if (IsAutoHomeRunning() && !g_homingAborted)
        return;
    StopTimer(wnd, IDT_TICK);
    // An axis that gave up at both ends has no zero: the technician must
    // know, not just see the dialog go away.
    if (g_homingAborted || AutoHomeHasFailedAxis())
        ShowMessageBox(wnd, L"Autohome failed see log for error", L"Autohome", MB_OK);
    EndProgress(wnd, "ED2\n");
}

void OnCancel(HWND wnd)
{
    CancelAutoHome();
    EndProgress(wnd, "ED1\n");
}

// The close box stops the run as Cancel does: no sweep goes on unwatched.
void OnCloseRequest(HWND wnd)
{
    CancelAutoHome();
    EndProgress(wnd, "ED3\n");
}

void OnInit(HWND wnd)
{
    ShowAxes(wnd);
    StartTimer(wnd, IDT_TICK, kRefreshMs);
}

void OnDestroyed(HWND) { g_log.Write("ED4\n"); }

constexpr CommandRoute kRoutes[] = {
    {IDC_AUTO_HOME_CANCEL, WindowHandler<OnCancel>},
    {IDCANCEL, WindowHandler<OnCancel>},
};
constexpr DialogBehaviour kBehaviour = {
    .init = OnInit, .routes = kRoutes, .tick = OnProgressTimer, .close = OnCloseRequest, .destroyed = OnDestroyed};

} // namespace

INT_PTR CALLBACK AutoHomeProgressDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void ShowAutoHomeProgress(HWND owner) { RunModalDialog(owner, IDD_AUTO_HOME_PROGRESS, AutoHomeProgressDlgProc); }
