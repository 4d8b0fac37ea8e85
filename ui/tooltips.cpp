#include "ui/tooltips.h"

#include "infra/log.h"

#include <commctrl.h>

HWND AddToolTip(int controlId, HWND wnd, const wchar_t* text)
{
    if (!wnd) {
        g_log.Write("TT Fail 1b\n");
        if (text)
            return nullptr;
    }
    if (!text) {
        g_log.Write("TT Fail 1c\n");
        return nullptr;
    }
    HWND control = GetDlgItem(wnd, controlId);
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_BALLOON, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    if (!control || !tip) {
        g_log.Write("TT Fail 2\n");
        if (tip)
            DestroyWindow(tip);
        return nullptr;
    }
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = wnd;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return tip;
}
