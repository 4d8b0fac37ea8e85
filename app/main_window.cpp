#include "app/main_window.h"

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_timer.h"
#include "res/resource.h"

namespace {

using CommandHandler = void (*)(HWND wnd);

struct CommandRoute {
    int id;
    CommandHandler handler;
};

constexpr CommandRoute kCommandRoutes[] = {
    {IDC_EXIT, OnExitCommand},
    {IDC_RESET, OnResetButton},
};

void OnCommand(HWND wnd, int id)
{
    for (const CommandRoute& route : kCommandRoutes) {
        if (route.id == id) {
            route.handler(wnd);
            return;
        }
    }
}

} // namespace

INT_PTR CALLBACK MainDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitMainWindow(wnd);
        return TRUE;
    case WM_COMMAND:
        OnCommand(wnd, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == IDT_MAIN)
            OnMainTimer(wnd);
        return TRUE;
    case WM_CLOSE:
        OnMainClose(wnd);
        return TRUE;
    case WM_DESTROY:
        OnMainDestroy(wnd);
        return TRUE;
    default:
        return FALSE;
    }
}

HWND CreateMainWindow(HINSTANCE instance)
{
    HWND wnd = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDlgProc, 0);
    g_mainWnd = wnd;
    if (wnd) {
        UpdateWindow(wnd);
        ShowWindow(wnd, SW_SHOWNORMAL);
    }
    return wnd;
}
