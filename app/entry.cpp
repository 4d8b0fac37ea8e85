#include "app/entry.h"

#include "app/main_window.h"
#include "app/single_instance.h"
#include "core/session_state.h"
#include "ui/modeless.h"
#include "zoom/zoom_dialog.h"

#include <commctrl.h>

bool HandleDialogNavigation(MSG& msg)
{
    if (ForwardZoomDialogKey(msg))
        return true;
    if (g_mainWnd && IsDialogMessageW(g_mainWnd, &msg))
        return true;
    return OfferToModelessDialogs(msg);
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (HandleDialogNavigation(msg))
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

    // Before the main window: its initialisation opens the driver and writes
    // to the board the running instance is using.
    if (AnotherInstanceRunning()) {
        ShowAlreadyRunningMessage();
        return -1;
    }
    CreateMainWindow(instance);
    return RunMessageLoop();
}
