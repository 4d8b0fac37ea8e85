#pragma once
// WM_COMMAND dispatch by table: a dialog lists its controls with a small
// named handler each, instead of one long switch.
#include <windows.h>

#include <span>

using CommandHandler = void (*)(HWND wnd, int id);

// Any notification code: buttons and menu items.
inline constexpr int kAnyNotification = -1;

struct CommandRoute {
    int id;
    CommandHandler handler;
    int notification = kAnyNotification;   // e.g. EN_KILLFOCUS, CBN_SELCHANGE
};

// A handler that needs only the window: WindowHandler<OnExitCommand>.
template <void (*Handler)(HWND)>
void WindowHandler(HWND wnd, int)
{
    Handler(wnd);
}

// Calls the handler of the first route that matches the control id and the
// notification code of wParam; false when none does.
bool RouteCommand(std::span<const CommandRoute> routes, HWND wnd, WPARAM wParam);
