#pragma once
// The message handling every axis setup dialog shares: opening, its
// buttons by table, its axis radios, the close box and Escape, the window
// going, timer 1; and running one modally under the main window.
#include <windows.h>

#include <span>

#include "ui/command_route.h"

struct SetupDialogBehaviour {
    void (*onInit)(HWND wnd);
    std::span<const CommandRoute> routes;
    void (*onClose)(HWND wnd);                    // close box and Escape
    CommandHandler onAxisRadio = nullptr;         // the radios of setup_axis_ids.h
    void (*onDestroy)(HWND wnd) = nullptr;
    void (*onTimer)(HWND wnd) = nullptr;          // timer 1
};

INT_PTR HandleSetupDialogMessage(const SetupDialogBehaviour& behaviour, HWND wnd, UINT message, WPARAM wParam);

void RunSetupDialog(HWND owner, int templateId, DLGPROC proc);
