#include "setup/system_dialog.h"

#include "core/param_table.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/command_route.h"

namespace {

struct SystemField {
    int id;
    int param;
};
constexpr SystemField kFields[] = {
    {IDC_SYSTEM_CYCLE_TIME, 49},
    {IDC_SYSTEM_HEARTBEAT, 34},
    {IDC_SYSTEM_STARTUP_DELAY, 47},
};
constexpr INT_PTR kStoredResult = 1028;

void OnInitDialog(HWND wnd)
{
    for (const SystemField& field : kFields) {
        SetUnsignedField(wnd, field.id, g_param[field.param]);
        EnableWindow(GetDlgItem(wnd, field.id), TRUE);
    }
}

// A field without a number keeps its parameter: a cleared cycle time must
// not become 0.
void OnOk(HWND wnd)
{
    for (const SystemField& field : kFields)
        ReadUnsignedField(wnd, field.id, g_param[field.param]);
    EndDialog(wnd, kStoredResult);
}

void OnClose(HWND wnd) { EndDialog(wnd, 0); }

constexpr CommandRoute kRoutes[] = {
    {IDC_SYSTEM_OK, WindowHandler<OnOk>},
    {IDCANCEL, WindowHandler<OnClose>},
};

} // namespace

INT_PTR CALLBACK SystemDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(wnd);
        return TRUE;
    case WM_COMMAND:
        return RouteCommand(kRoutes, wnd, wParam);
    case WM_CLOSE:
        OnClose(wnd);
        return TRUE;
    default:
        return FALSE;
    }
}

void RunSystemDialog(HWND owner)
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SYSTEM), owner, SystemDlgProc, 0);
}
