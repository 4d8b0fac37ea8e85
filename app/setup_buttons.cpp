#include "app/setup_buttons.h"

#include "app/main_timer.h"
#include "app/param_fields.h"
#include "core/motion_state.h"
#include "infra/clock.h"
#include "res/resource.h"
#include "setup/copy_settings_dialog.h"
#include "setup/motor_calculator_dialog.h"
#include "setup/motor_setup_dialog.h"
#include "setup/system_dialog.h"

namespace {

// The dialog may change the current axis and the parameters the fields show.
void RefreshFields(HWND mainWnd)
{
    SyncAxisRadios(mainWnd);
    FillParamFields(mainWnd);
}

// Dialogs that read the board's parameters back one by one: the main
// timer's polling stays out of their way until they close.
void RunWithMainTimerStopped(HWND mainWnd, void (*run)(HWND owner))
{
    MotionFlagsOff();
    StopTimer(mainWnd, IDT_MAIN);
    run(mainWnd);
    RefreshFields(mainWnd);
    StartTimer(mainWnd, IDT_MAIN, kMainTimerPeriodMs);
}

// Dialogs that may change the axis or its parameters, with the main timer
// running beneath them.
void RunWithFieldsRefreshed(HWND mainWnd, void (*run)(HWND owner))
{
    MotionFlagsOff();
    run(mainWnd);
    RefreshFields(mainWnd);
}

} // namespace

void OnMotorButton(HWND mainWnd) { RunWithMainTimerStopped(mainWnd, RunMotorSetupDialog); }
void OnCalcButton(HWND mainWnd) { RunWithFieldsRefreshed(mainWnd, RunMotorCalculatorDialog); }
void OnCopySettingsButton(HWND mainWnd) { RunWithMainTimerStopped(mainWnd, RunCopySettingsDialog); }

void OnSystemButton(HWND mainWnd)
{
    MotionFlagsOff();
    RunSystemDialog(mainWnd);
}
