#include "motion/motion_window.h"

#include "ui/modeless.h"

INT_PTR HandleMotionWindowMessage(const MotionWindow& window, HWND wnd, UINT message, WPARAM wParam,
                                  LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        window.init(wnd);
        return TRUE;
    case WM_SIZE:
        if (!window.resized)
            return FALSE;
        window.resized(wnd, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == kModelessTimerId)
            window.tick(wnd);
        return TRUE;
    case WM_COMMAND:
        RouteCommand(window.routes, wnd, wParam);
        return TRUE;
    case WM_CLOSE:
        window.closeBox(wnd);
        return TRUE;
    case WM_DESTROY:
        window.destroyed(wnd);
        return TRUE;
    default:
        return FALSE;
    }
}
