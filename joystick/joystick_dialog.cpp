#include "joystick/joystick_dialog.h"

#include "board/joystick_tracking.h"
#include "core/external_outputs.h"
#include "infra/clock.h"
#include "joystick/joystick_calibration.h"
#include "joystick/joystick_live.h"
#include "joystick/joystick_settings.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

HWND g_joystickDlg;

namespace {

constexpr UINT kTickMs = 100;
constexpr uint8_t kOutput5 = 0x20;

void OnInit(HWND wnd)
{
    PrepareJoystickControls(wnd);
    FillJoystickDialog(wnd);
    LoadJoystickIndicators(wnd);
    StartTimer(wnd, IDT_TICK, kTickMs);
    CheckBox(wnd, IDC_JOY_OUTPUT_5, g_externalOutput & kOutput5);
}

// Every way of closing destroys the window (the kit's default for a
// modeless dialog), which stops its timer: a hidden dialog would go on
// driving output 5.
void OnExit(HWND wnd) { CloseModeless(g_joystickDlg, wnd); }

void OnDestroyed(HWND) { ReleaseJoystickIndicators(); }

constexpr CommandRoute kRoutes[] = {
    {IDC_JOY_APPLY, WindowHandler<ApplyJoystickDialog>},
    {IDC_JOY_CALIBRATE, WindowHandler<RunQuickJoystickCalibration>},
    {IDC_JOY_CALIBRATE_LONG, WindowHandler<RunLongJoystickCalibration>},
    {IDC_JOY_EXIT, WindowHandler<OnExit>},
};

constexpr DialogBehaviour kBehaviour = {.init = OnInit,
                                        .routes = kRoutes,
                                        .tick = JoystickLiveTick,
                                        .destroyed = OnDestroyed,
                                        .modeless = &g_joystickDlg};

} // namespace

INT_PTR CALLBACK JoystickDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenJoystickDialog() { return OpenModeless(g_joystickDlg, IDD_JOYSTICK, JoystickDlgProc); }

void ResetJoystickDialog()
{
    DestroyModeless(g_joystickDlg);
    ResetJoystickSettings();
    ResetJoystickTracking();
}
