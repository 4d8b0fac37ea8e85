#include "setup/setup_dialog.h"

#include "setup/setup_fields.h"
#include "ui/modal.h"

namespace {

constexpr UINT_PTR kDialogTimerId = 1;

bool OnCommand(const SetupDialogBehaviour& behaviour, HWND wnd, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    if (id == IDCANCEL) {
        behaviour.onClose(wnd);
        return true;
    }
    if (behaviour.onAxisRadio && SetupAxisOfRadio(id) >= 0) {
        behaviour.onAxisRadio(wnd, id);
        return true;
    }
    return RouteCommand(behaviour.routes, wnd, wParam);
}

void CallIfThere(void (*handler)(HWND), HWND wnd)
{
    if (handler)
        handler(wnd);
}

} // namespace

INT_PTR HandleSetupDialogMessage(const SetupDialogBehaviour& behaviour, HWND wnd, UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_INITDIALOG:
        behaviour.onInit(wnd);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(behaviour, wnd, wParam);
    case WM_CLOSE:
        behaviour.onClose(wnd);
        return TRUE;
    case WM_DESTROY:
        CallIfThere(behaviour.onDestroy, wnd);
        return TRUE;
    case WM_TIMER:
        if (wParam == kDialogTimerId)
            CallIfThere(behaviour.onTimer, wnd);
        return TRUE;
    default:
        return FALSE;
    }
}

void RunSetupDialog(HWND owner, int templateId, DLGPROC proc)
{
    RunModalDialog(owner, templateId, proc);
}
