#include "ui/dialog.h"

#include "infra/clock.h"
#include "ui/axis_radios.h"
#include "ui/modeless.h"

#include <utility>

namespace {

HWND g_commandControl;
int g_commandDepth;
bool g_commandRouted;
void (*g_afterCommand)();

void Close(const DialogBehaviour& behaviour, HWND wnd)
{
    if (behaviour.close)
        behaviour.close(wnd);
    else
        CloseDialog(behaviour, wnd);
}

bool IsEscape(WPARAM wParam) { return LOWORD(wParam) == IDCANCEL; }

void OnCommand(const DialogBehaviour& behaviour, HWND wnd, WPARAM wParam, LPARAM lParam)
{
    const HWND outer = g_commandControl;
    g_commandControl = reinterpret_cast<HWND>(lParam);
    ++g_commandDepth;
    const int axis = AxisOfRadio(LOWORD(wParam));
    if (behaviour.axisRadio && axis >= 0)
        behaviour.axisRadio(wnd, axis);
    else if (RouteCommand(behaviour.routes, wnd, wParam))
        g_commandRouted = true;
    else if (IsEscape(wParam) && behaviour.escapeCloses)
        Close(behaviour, wnd);
    g_commandControl = outer;
    if (--g_commandDepth == 0 && std::exchange(g_commandRouted, false) && g_afterCommand)
        g_afterCommand();
}

INT_PTR OnStaticColour(const DialogBehaviour& behaviour, HWND wnd, WPARAM wParam, LPARAM lParam)
{
    if (!behaviour.staticColour)
        return FALSE;
    return reinterpret_cast<INT_PTR>(
        behaviour.staticColour(wnd, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
}

void OnDestroy(const DialogBehaviour& behaviour, HWND wnd)
{
    if (behaviour.destroyed)
        behaviour.destroyed(wnd);
    if (behaviour.modeless)
        ModelessDestroyed(*behaviour.modeless, wnd);
    else
        StopTimer(wnd, IDT_TICK);
}

} // namespace

INT_PTR HandleDialogMessage(const DialogBehaviour& behaviour, HWND wnd, UINT message, WPARAM wParam,
                            LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (behaviour.init)
            behaviour.init(wnd);
        return TRUE;
    case WM_COMMAND:
        OnCommand(behaviour, wnd, wParam, lParam);
        return TRUE;
    case WM_NOTIFY:
        if (!behaviour.notified)
            return FALSE;
        behaviour.notified(wnd, *reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnStaticColour(behaviour, wnd, wParam, lParam);
    case WM_TIMER:
        if (wParam == IDT_TICK && behaviour.tick)
            behaviour.tick(wnd);
        return TRUE;
    case WM_CLOSE:
        Close(behaviour, wnd);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(behaviour, wnd);
        return TRUE;
    case WM_SIZE:
        if (!behaviour.resized)
            return FALSE;
        behaviour.resized(wnd, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_ACTIVATE:
        if (behaviour.activated)
            behaviour.activated(wnd, LOWORD(wParam) != WA_INACTIVE);
        return FALSE;
    default:
        return FALSE;
    }
}

HWND CommandControl() { return g_commandControl; }

void SetAfterCommand(void (*afterCommand)()) { g_afterCommand = afterCommand; }

void EndModal(HWND wnd, INT_PTR result)
{
    StopTimer(wnd, IDT_TICK);
    EndDialog(wnd, result);
}

void CloseDialog(const DialogBehaviour& behaviour, HWND wnd)
{
    if (behaviour.modeless)
        CloseModeless(*behaviour.modeless, wnd);
    else
        EndModal(wnd, 0);
}
