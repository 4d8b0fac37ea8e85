#pragma once
// The one dialog behaviour of the program. Every dialog procedure, modal or
// modeless, main window included, is a line that forwards to
// HandleDialogMessage with a table of the dialog's named handlers:
//
//     constexpr DialogBehaviour kBehaviour = {
//         .init = OnInit, .routes = kRoutes, .tick = OnTick, .close = OnExit};
//     INT_PTR CALLBACK FooDlgProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
//     {
//         return HandleDialogMessage(kBehaviour, w, m, wp, lp);
//     }
//
// What a table leaves out has its default: the close box and Escape (the
// IDCANCEL command) close the dialog (CloseModeless for a modeless one, the
// modal result 0 otherwise), timer 1 is stopped when the window goes, and a
// modeless dialog's handle variable is cleared then. A route for IDCANCEL
// takes Escape away from the close handler.
#include <windows.h>

#include <span>

#include "res/dialog_ids.h"
#include "ui/command_route.h"

using DialogHandler = void (*)(HWND wnd);

struct DialogBehaviour {
    DialogHandler init = nullptr;                  // WM_INITDIALOG
    std::span<const CommandRoute> routes = {};     // WM_COMMAND by control and notification
    void (*axisRadio)(HWND wnd, int axis) = nullptr;   // a command of an axis radio (ui/axis_radios.h)
    DialogHandler tick = nullptr;                  // timer 1 (IDT_TICK)
    DialogHandler close = nullptr;                 // close box and Escape; default: close the dialog
    DialogHandler destroyed = nullptr;             // WM_DESTROY, before the default clean-up
    void (*resized)(HWND wnd, int width, int height) = nullptr;   // WM_SIZE
    void (*activated)(HWND wnd, bool active) = nullptr;          // WM_ACTIVATE (then the default)
    void (*notified)(HWND wnd, const NMHDR& header) = nullptr;   // WM_NOTIFY of a control
    // WM_CTLCOLORSTATIC: a brush to paint the control with, or 0 for the default.
    HBRUSH (*staticColour)(HWND wnd, HDC dc, HWND control) = nullptr;
    HWND* modeless = nullptr;                      // the handle variable of a modeless dialog
    bool escapeCloses = true;                      // false: Escape does nothing (the main window)
};

INT_PTR HandleDialogMessage(const DialogBehaviour& behaviour, HWND wnd, UINT message, WPARAM wParam,
                            LPARAM lParam);

// While a route's handler runs: the control that sent the command; none for
// a command the program posted to itself.
HWND CommandControl();

// Runs after every command that a dialog's routes handled, once the
// outermost command is done: whatever a technician's command changed
// (parameters on the board, the flash record) is then complete.
void SetAfterCommand(void (*afterCommand)());

// Ends a modal dialog with its result, timer 1 stopped.
void EndModal(HWND wnd, INT_PTR result);
// Ends a dialog the way its kind ends: a modeless one destroyed and its
// handle cleared, a modal one with the result 0 (timer 1 stopped either way).
void CloseDialog(const DialogBehaviour& behaviour, HWND wnd);
