#include "app/setup_buttons.h"

#include "app/main_timer.h"
#include "app/param_fields.h"
#include "core/motion_state.h"
#include "infra/clock.h"
#include "res/resource.h"
#include "setup/copy_settings_dialog.h"
#include "setup/encoder_dialog.h"
#include "setup/motor_calculator_dialog.h"
#include "setup/motor_setup_dialog.h"
#include "setup/sw_fence_dialog.h"
#include "setup/system_dialog.h"
#include "setup/trackball_dialog.h"
#include "setup/user_params_dialog.h"

namespace {

using DialogRunner = void (*)(HWND owner);

// No continuous goto or home runs on beneath a setup dialog.
void RunWithMotionOff(HWND mainWnd, DialogRunner run)
{
    MotionFlagsOff();
    run(mainWnd);
}

// Dialogs that may change the axis or its parameters: the fields show the
// result afterwards.
void RunWithFieldsRefreshed(HWND mainWnd, DialogRunner run)
{
    RunWithMotionOff(mainWnd, run);
    SyncAxisRadios(mainWnd);
    FillParamFields(mainWnd);
}

// Dialogs that read the board's parameters back one by one, or under whose
// readouts the encoder's counts change: the main timer's polling stays out
// of their way until they close.
void RunWithMainTimerStopped(HWND mainWnd, DialogRunner run)
{
    StopTimer(mainWnd, IDT_TICK);
    RunWithFieldsRefreshed(mainWnd, run);
    StartTimer(mainWnd, IDT_TICK, kMainTimerPeriodMs);
}

} // namespace

void OnEncoderButton(HWND mainWnd) { RunWithMainTimerStopped(mainWnd, OpenEncoderDialog); }
void OnUserParamButton(HWND mainWnd) { RunWithFieldsRefreshed(mainWnd, OpenUserParamsDialog); }
void OnMotorButton(HWND mainWnd) { RunWithMainTimerStopped(mainWnd, RunMotorSetupDialog); }
void OnCopySettingsButton(HWND mainWnd) { RunWithMainTimerStopped(mainWnd, RunCopySettingsDialog); }
void OnCalcButton(HWND mainWnd) { RunWithFieldsRefreshed(mainWnd, RunMotorCalculatorDialog); }
void OnSwFenceButton(HWND mainWnd) { RunWithFieldsRefreshed(mainWnd, RunSwFenceDialog); }
void OnSystemButton(HWND mainWnd) { RunWithMotionOff(mainWnd, RunSystemDialog); }
void OnTrackballButton(HWND mainWnd) { RunWithMotionOff(mainWnd, RunTrackballDialog); }
