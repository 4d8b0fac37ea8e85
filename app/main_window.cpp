#include "app/main_window.h"

#include "app/app_state.h"
#include "app/lifecycle.h"
#include "app/main_commands.h"
#include "app/motion_commands.h"
#include "homing/status_dialog.h"
#include "params/flash_store.h"
#include "params/par_file.h"
#include "app/main_timer.h"
#include "res/resource.h"

namespace {

using CommandHandler = void (*)(HWND wnd);

void OnStatusButton(HWND) { OpenStatusDialog(); }

struct CommandRoute {
    int id;
    CommandHandler handler;
};

constexpr CommandRoute kCommandRoutes[] = {
    {IDC_EXIT, OnExitCommand},
    {IDC_RESET, OnResetButton},
    {IDC_REREAD, OnReReadButton},
    {IDC_APPLY, OnApplyButton},
    {IDM_READ_SPEED_TEST, OnReadSpeedTest},
    {IDC_GOTO, OnGotoButton},
    {IDC_CONT_GOTO, OnContinuousGotoButton},
    {IDC_STOP, OnStopButton},
    {IDC_CLEAR_COUNT, OnClearCountButton},
    {IDC_VIDEO, OnVideoButton},
    {IDC_SAVE_FLASH, OnSaveToFlashButton},
    {IDC_DEL_NEW_FLASH, OnDelNewFlashButton},
    {IDC_SAVE_FILE, OnSaveToFileButton},
    {IDC_LOAD_FILE, OnLoadFromFileButton},
    {IDC_STATUS, OnStatusButton},
};

void OnCommand(HWND wnd, int id, HWND control)
{
    switch (id) {
    case IDC_AXIS_X:
    case IDC_AXIS_Y:
    case IDC_AXIS_Z:
    case IDC_AXIS_Q:
    case IDC_AXIS_ZOOM:
    case IDC_DISPLAY_PARAM_NUMBER:
        OnAxisCommand(wnd, id, control);
        return;
    case IDC_UNIT_MM:
    case IDC_UNIT_IN:
    case IDC_UNIT_STORED:
        OnUnitCommand(wnd);
        return;
    case IDC_ZERO_X:
    case IDC_ZERO_Y:
    case IDC_ZERO_Z:
    case IDC_ZERO_Q:
    case IDC_ZERO_ZOOM:
        OnZeroButton(wnd, id);
        return;
    default:
        break;
    }
    for (const CommandRoute& route : kCommandRoutes) {
        if (route.id == id) {
            route.handler(wnd);
            return;
        }
    }
}

} // namespace

INT_PTR CALLBACK MainDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitMainWindow(wnd);
        return TRUE;
    case WM_COMMAND:
        OnCommand(wnd, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
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
