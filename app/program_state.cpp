#include "app/program_state.h"

#include "app/home_commands.h"
#include "app/main_timer.h"
#include "app/motion_commands.h"
#include "app/param_fields.h"
#include "board/board_ready.h"
#include "board/fences.h"
#include "board/flash_store.h"
#include "board/flash_baseline.h"
#include "board/param_io.h"
#include "compare/compare_window.h"
#include "board/move_status.h"
#include "core/auto_home_state.h"
#include "homing/auto_home.h"
#include "homing/reference_marks.h"
#include "joystick/joystick_dialog.h"
#include "core/external_outputs.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "board/gpio_outputs.h"
#include "gpio/button_events.h"
#include "gpio/gpio_dialog.h"
#include "lamp/lamp_box.h"
#include "lamp/lamp_channels.h"
#include "lamp/lamp_dialog.h"
#include "lamp/lamp_test_sequence.h"
#include "motion/circular_goto.h"
#include "motion/goto_monitor.h"
#include "motion/multi_axis_goto.h"
#include "motion/watch_window.h"
#include "params/goto_settings.h"
#include "setup/motor_calculator_dialog.h"
#include "setup/motor_setup_dialog.h"
#include "setup/sw_fence_dialog.h"
#include "status/power_dialog.h"
#include "status/status_dialog.h"
#include "ui/main_window_handle.h"
#include "zoom/zoom.h"
#include "zoom/zoom_dialog.h"
#include "probe/touch_probe.h"
#include "scope/scope_acquisition.h"
#include "scope/response_run.h"
#include "scope/scope_window.h"
#include "scope/response_window.h"
#include "zoom/turrets/turrets.h"
#include "core/status_errors_seen.h"
#include "infra/log_ring.h"

void ResetAllProgramState()
{
    ResetMainWindowHandle();
    ResetSessionState();
    ResetParamTable();
    ResetBoardReadyState();
    ResetExternalOutputs();
    ResetMotionState();
    ResetGotoSettings();
    ResetUnitConversion();
    ResetParamFields();
    ResetMainTimer();
    ResetFlashItems();
    ResetMotionCommands();
    ResetAutoHomeState();
    ResetAutoHome();
    ResetReferenceMarks();
    ResetMoveStatus();
    ResetFlashStore();
    ResetFlashBaseline();
    ResetParamIo();
    ResetCompareWindow();
    ResetStatusDialog();
    ResetPowerDialog();
    ResetGpioDialog();
    ResetButtonEvents();
    ResetGpioOutputs();
    ResetMotorSetupDialog();
    ResetMotorCalculatorDialog();
    ResetSwFenceDialog();
    ResetLampDialog();
    ResetLampTest();
    ResetLampChannels();
    ResetLampBox();
    ResetMultiAxisGoto();
    ResetCircularGoto();
    ResetWatchWindow();
    ResetScopeWindow();
    ResetScopeAcquisition();
    ResetResponseWindow();
    ResetResponseRun();
    ResetGotoMonitor();
    ResetZoomDialog();
    ResetZoom();
    ResetTurrets();
    ResetHomeCommands();
    ResetTouchProbe();
    ResetJoystickDialog();
    ResetStatusErrorsSeen();
    ResetRecentLog();
}
