#include "app/app_state.h"
#include "app/main_window.h"

HWND g_mainWnd;
int g_boardPresent;
int g_unitMode;
int g_radio_last;
int g_zoomType;
int g_testerMode;

void ResetAppState()
{
    g_mainWnd = nullptr;
    g_boardPresent = 0;
    g_unitMode = 0;
    g_radio_last = 0;
    g_zoomType = 0;
    g_testerMode = 0;
}
