#include "app/persistence_buttons.h"

#include "app/param_fields.h"
#include "board/flash_store.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "params/par_file.h"

void OnSaveToFlashButton(HWND mainWnd)
{
    CommitParams(mainWnd);
    SaveToFlash();
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
