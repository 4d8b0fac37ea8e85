#include "app/persistence_buttons.h"

#include "app/param_fields.h"
#include "board/flash_store.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "params/board_history.h"
#include "params/par_file.h"

void OnSaveToFlashButton(HWND mainWnd)
{
    CommitParams(mainWnd);
    if (SaveToFlash())
        WriteBoardHistory();
}

void OnDelNewFlashButton(HWND mainWnd)
{
    ApplyDelNewFlash(g_param);
    OnSaveToFlashButton(mainWnd);
}

void OnSaveToFileButton(HWND) { SaveParFileChosenByUser(); }

void OnLoadFromFileButton(HWND mainWnd)
{
    MotionFlagsOff();
    if (LoadParFileChosenByUser())
        FillParamFields(mainWnd);
}
