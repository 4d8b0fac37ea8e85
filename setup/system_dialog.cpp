#include "setup/system_dialog.h"

#include "core/param_table.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/dialog.h"
#include "ui/modal.h"

namespace {

struct SystemField {
    int id;
    int param;
};
constexpr SystemField kFields[] = {
    {IDC_SYSTEM_CYCLE_TIME, kParamCyclesFactor},
    {IDC_SYSTEM_HEARTBEAT, kParamHeartbeat},
    {IDC_SYSTEM_STARTUP_DELAY, kParamStartupDelay},
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
    EndModal(wnd, kStoredResult);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_SYSTEM_OK, WindowHandler<OnOk>},
};
constexpr DialogBehaviour kBehaviour = {.init = OnInitDialog, .routes = kRoutes};

} // namespace

INT_PTR CALLBACK SystemDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void RunSystemDialog(HWND owner) { RunModalDialog(owner, IDD_SYSTEM, SystemDlgProc); }
