#pragma once
// The message handling the three motion-test windows share: initialise,
// timer 1, commands by route, the close box, destruction and (Watch)
// resizing, each to a named handler of the window.
#include <windows.h>

#include <span>

#include "ui/command_route.h"

struct MotionWindow {
    void (*init)(HWND wnd);
    void (*tick)(HWND wnd);
    std::span<const CommandRoute> routes;
    void (*closeBox)(HWND wnd);
    void (*destroyed)(HWND wnd);
    void (*resized)(HWND wnd, int width, int height) = nullptr;
};

INT_PTR HandleMotionWindowMessage(const MotionWindow& window, HWND wnd, UINT message, WPARAM wParam,
                                  LPARAM lParam);
