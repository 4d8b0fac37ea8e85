#include "ui/modeless.h"

#include "infra/clock.h"
#include "res/dialog_ids.h"

#include <algorithm>
#include <vector>

namespace {
// The handle variables of every modeless dialog opened so far; a closed
// dialog's variable holds 0.
std::vector<HWND*> g_modelessHandles;
} // namespace

HWND OpenModeless(HWND& handle, int templateId, DLGPROC proc)
{
    if (handle && IsWindow(handle)) {
        ShowWindow(handle, SW_SHOWNORMAL);
        SetForegroundWindow(handle);
        BringWindowToTop(handle);
        return handle;
    }
    handle = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr, proc, 0);
    if (handle)
        ShowWindow(handle, SW_SHOW);
    if (std::find(g_modelessHandles.begin(), g_modelessHandles.end(), &handle) == g_modelessHandles.end())
        g_modelessHandles.push_back(&handle);
    return handle;
}

void CloseModeless(HWND& handle, HWND wnd)
{
    handle = nullptr;
    StopTimer(wnd, IDT_TICK);
    DestroyWindow(wnd);
}

void ModelessDestroyed(HWND& handle, HWND wnd)
{
    handle = nullptr;
    StopTimer(wnd, IDT_TICK);
}

void DestroyModeless(HWND& handle)
{
    if (handle)
        DestroyWindow(handle);
    handle = nullptr;
}

bool OfferToModelessDialogs(MSG& msg)
{
    for (HWND* handle : g_modelessHandles)
        if (*handle && IsDialogMessageW(*handle, &msg))
            return true;
    return false;
}
