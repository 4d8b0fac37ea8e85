#include "ui/command_route.h"

bool RouteCommand(std::span<const CommandRoute> routes, HWND wnd, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    for (const CommandRoute& route : routes) {
        if (route.id != id)
            continue;
        if (route.notification != kAnyNotification && route.notification != notification)
            continue;
        route.handler(wnd, id);
        return true;
    }
    return false;
}
