#include "app/program_state.h"

#include "app/main_timer.h"
#include "app/motion_commands.h"
#include "app/param_fields.h"
#include "board/board_ready.h"
#include "board/fences.h"
#include "board/flash_store.h"
#include "board/move_status.h"
#include "core/auto_home_state.h"
#include "homing/auto_home.h"
#include "homing/reference_marks.h"
#include "core/external_outputs.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "params/goto_settings.h"
#include "status/power_dialog.h"
#include "status/status_dialog.h"
#include "ui/main_window_handle.h"

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
    ResetFences();
    ResetMoveStatus();
    ResetFlashStore();
    ResetStatusDialog();
    ResetPowerDialog();
}
