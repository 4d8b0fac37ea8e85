#include "app/entry.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/single_instance.h"

#include <commctrl.h>

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (g_mainWnd && IsDialogMessageW(g_mainWnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int RunStagetune(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    CreateMainWindow(instance);
    if (AnotherInstanceRunning()) {
        ShowAlreadyRunningMessage();
        return -1;
    }
    return RunMessageLoop();
}
