#include "setup/system_dialog.h"

#include "core/param_table.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "setup/setup_dialog.h"

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
};
constexpr SetupDialogBehaviour kBehaviour = {OnInitDialog, kRoutes, OnClose};

} // namespace

INT_PTR CALLBACK SystemDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM)
{
    return HandleSetupDialogMessage(kBehaviour, wnd, message, wParam);
}

void RunSystemDialog(HWND owner) { RunSetupDialog(owner, IDD_SYSTEM, SystemDlgProc); }
