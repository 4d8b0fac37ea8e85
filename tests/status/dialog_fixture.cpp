#include "tests/status/dialog_fixture.h"

#include "homing/power_dialog.h"
#include "homing/status_dialog.h"
#include "sim/board/axbsim.h"
#include "tests/support/ui_driver.h"

#include <cwchar>

namespace {

struct CaptionSearch {
    const wchar_t* caption;
    int found;
};

BOOL CALLBACK CountCaptioned(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    wchar_t text[128];
    GetWindowTextW(wnd, text, 128);
    if (std::wcscmp(text, search->caption) == 0)
        ++search->found;
    return TRUE;
}

} // namespace

StatusDialogTest::StatusDialogTest()
{
    ResetStatusDialog();
    ResetPowerDialog();
}

StatusDialogTest::~StatusDialogTest()
{
    ResetStatusDialog();
    ResetPowerDialog();
}

void StatusDialogTest::Start()
{
    h.StartProgram();
    AxbSim_ClearCallLog();
}

std::string StatusDialogTest::Text(HWND dialog, int id) { return Narrow(ControlText(dialog, id)); }

int StatusDialogTest::WindowsCaptioned(const wchar_t* caption)
{
    CaptionSearch search{caption, 0};
    EnumThreadWindows(GetCurrentThreadId(), CountCaptioned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ControlWrites* ControlWrites::active_;

ControlWrites::ControlWrites(HWND dialog)
{
    active_ = this;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        original_[child] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWrites::Proc)));
}

ControlWrites::~ControlWrites()
{
    for (auto [control, proc] : original_)
        if (IsWindow(control))
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    active_ = nullptr;
}

void ControlWrites::Clear()
{
    texts_.clear();
    checks_.clear();
}

LRESULT CALLBACK ControlWrites::Proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        active_->texts_.push_back(GetDlgCtrlID(control));
    if (message == BM_SETCHECK)
        active_->checks_.push_back(GetDlgCtrlID(control));
    return CallWindowProcW(active_->original_.at(control), control, message, wParam, lParam);
}
