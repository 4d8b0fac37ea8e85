#include "ui/control_text.h"

#include <cwchar>

namespace {

uint64_t g_controlTextWrites;

constexpr int kCompareCapacity = 256;

} // namespace

bool SetControlTextIfChanged(HWND dialog, int id, const wchar_t* text)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return false;
    wchar_t shown[kCompareCapacity];
    int length = GetWindowTextW(control, shown, kCompareCapacity);
    // A text as long as the buffer may have been cut: compare by writing.
    if (length < kCompareCapacity - 1 && wcscmp(shown, text) == 0)
        return false;
    SetWindowTextW(control, text);
    ++g_controlTextWrites;
    return true;
}

bool SetControlTextIfChanged(HWND dialog, int id, const char* text)
{
    wchar_t wide[kCompareCapacity];
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kCompareCapacity);
    if (n == 0)
        wide[kCompareCapacity - 1] = L'\0';
    return SetControlTextIfChanged(dialog, id, wide);
}

uint64_t ControlTextWrites() { return g_controlTextWrites; }

bool ShownTexts::Set(HWND dialog, int id, const char* text)
{
    auto it = shown_.find(id);
    if (it != shown_.end() && it->second == text)
        return false;
    SetDlgItemTextA(dialog, id, text);
    ++g_controlTextWrites;
    shown_[id] = text;
    return true;
}
