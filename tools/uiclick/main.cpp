// uiclick <window title> <control id> [text]
// Presses a button, radio or check box of a running window as a click would
// (BM_CLICK), or with a text puts that text into the control (a field), so a
// script can put the program into the state it wants to show. Exits 1 when
// the window or control is not there.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 && argc != 4) {
        std::fputs("usage: uiclick <window title> <control id> [text]\n", stderr);
        return 2;
    }
    HWND window = FindWindowW(nullptr, argv[1]);
    HWND control = window ? GetDlgItem(window, static_cast<int>(wcstol(argv[2], nullptr, 10))) : nullptr;
    if (!control) {
        std::fputs("uiclick: no such window or control\n", stderr);
        return 1;
    }
    // Sent, not posted: the click is handled before the script takes its picture.
    DWORD_PTR result = 0;
    if (argc == 4)
        SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]), SMTO_ABORTIFHUNG, 5000, &result);
    else
        SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
}
