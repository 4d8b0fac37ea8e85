#include "tests/support/modal_dialog.h"

#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kRunScript = WM_APP + 1;
constexpr wchar_t kHelperClass[] = L"StagetuneModalScript";

ModalScript g_script;
HWND g_helper;

// The modal dialog now open on this thread: an enabled dialog with an owner
// (its owner is disabled while it runs).
HWND OpenModalDialog()
{
    struct Search {
        HWND found = nullptr;
    } search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND wnd, LPARAM param) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(wnd, cls, 16);
            HWND owner = GetWindow(wnd, GW_OWNER);
            if (wcscmp(cls, L"#32770") == 0 && owner && !IsWindowEnabled(owner) && IsWindowEnabled(wnd)) {
                reinterpret_cast<Search*>(param)->found = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT CALLBACK HelperProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kRunScript)
        return DefWindowProcW(wnd, message, wParam, lParam);
    ModalScript script = std::move(g_script);
    g_script = nullptr;
    HWND dialog = OpenModalDialog();
    if (!dialog) {
        ADD_FAILURE() << "no modal dialog is open";
        return 0;
    }
    script(dialog);
    PumpMessages();
    if (!ModalDialogEnded(dialog)) {
        ADD_FAILURE() << "the script left the dialog open";
        EndDialog(dialog, 0);
    }
    return 0;
}

HWND Helper()
{
    if (g_helper)
        return g_helper;
    WNDCLASSW cls = {};
    cls.lpfnWndProc = HelperProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kHelperClass;
    RegisterClassW(&cls);
    g_helper = CreateWindowW(kHelperClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    return g_helper;
}

} // namespace

void OnNextModalDialog(ModalScript script)
{
    g_script = std::move(script);
    PostMessageW(Helper(), kRunScript, 0, 0);
}

bool ModalScriptPending() { return static_cast<bool>(g_script); }

bool ModalDialogEnded(HWND dialog)
{
    const HWND owner = GetWindow(dialog, GW_OWNER);
    return !IsWindow(dialog) || !owner || IsWindowEnabled(owner);
}

void CloseByCloseBox(HWND dialog)
{
    SendMessageW(dialog, WM_CLOSE, 0, 0);
}
