#include "app/main_timer.h"

#include "app/app_state.h"

void OnMainTimer(HWND)
{
    if (!g_boardPresent)
        return;
}
