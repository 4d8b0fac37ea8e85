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
#include "probe/touch_probe_dialog.h"
#include "zoom/zoom.h"

namespace {

using DialogRunner = void (*)(HWND owner);

enum class FlagsOff { kMotion, kMotionAndZoom };

struct SetupButton {
    DialogRunner run;
    FlagsOff flagsOff;    // no continuous goto or home runs on beneath a setup dialog
    bool refreshFields;   // the dialog may change the axis or its parameters
    // The dialog reads the board's parameters back one by one, or the
    // encoder's counts change under the readouts: the main timer's polling
    // stays out of its way until it closes.
    bool stopMainTimer;
};

void Run(HWND mainWnd, const SetupButton& button)
{
    if (button.flagsOff == FlagsOff::kMotionAndZoom)
        MotionAndZoomFlagsOff();
    else
        MotionFlagsOff();
    if (button.stopMainTimer)
        StopTimer(mainWnd, IDT_TICK);
    button.run(mainWnd);
    if (button.refreshFields) {
        SyncAxisRadios(mainWnd);
        FillParamFields(mainWnd);
    }
    if (button.stopMainTimer)
        StartTimer(mainWnd, IDT_TICK, kMainTimerPeriodMs);
}

} // namespace

void OnEncoderButton(HWND mainWnd) { Run(mainWnd, {OpenEncoderDialog, FlagsOff::kMotion, true, true}); }
void OnMotorButton(HWND mainWnd) { Run(mainWnd, {RunMotorSetupDialog, FlagsOff::kMotion, true, true}); }
void OnCopySettingsButton(HWND mainWnd) { Run(mainWnd, {RunCopySettingsDialog, FlagsOff::kMotion, true, true}); }
void OnUserParamButton(HWND mainWnd) { Run(mainWnd, {OpenUserParamsDialog, FlagsOff::kMotionAndZoom, true, false}); }
void OnCalcButton(HWND mainWnd) { Run(mainWnd, {RunMotorCalculatorDialog, FlagsOff::kMotionAndZoom, true, false}); }
void OnSwFenceButton(HWND mainWnd) { Run(mainWnd, {RunSwFenceDialog, FlagsOff::kMotionAndZoom, true, false}); }
void OnSystemButton(HWND mainWnd) { Run(mainWnd, {RunSystemDialog, FlagsOff::kMotionAndZoom, false, false}); }
void OnTrackballButton(HWND mainWnd) { Run(mainWnd, {RunTrackballDialog, FlagsOff::kMotionAndZoom, false, false}); }
void OnTouchProbeButton(HWND mainWnd) { Run(mainWnd, {RunTouchProbeDialog, FlagsOff::kMotion, false, true}); }
