#include "setup/setup_fields.h"

#include "core/axes.h"
#include "core/number_text.h"
#include "core/session_state.h"
#include "ui/fields.h"

#include <cwchar>

int TakeOpeningAxis()
{
    if (g_radio_last < 1 || g_radio_last >= kAxisCount)
        g_radio_last = 0;
    return g_radio_last;
}

void SetParamCaption(HWND wnd, int id, const wchar_t* name, int number, const wchar_t* numberFormat)
{
    wchar_t suffix[32] = L"";
    if (g_displayParamNumber)
        std::swprintf(suffix, std::size(suffix), numberFormat, number);
    wchar_t text[kFieldTextCapacity];
    std::swprintf(text, kFieldTextCapacity, L"%ls%ls", name, suffix);
    SetDlgItemTextW(wnd, id, text);
}

void SetUnsignedField(HWND wnd, int id, uint32_t value)
{
    wchar_t text[kFieldTextCapacity];
    std::swprintf(text, kFieldTextCapacity, L"%u", value);
    SetDlgItemTextW(wnd, id, text);
}

bool ReadUnsignedField(HWND wnd, int id, uint32_t& value)
{
    const std::optional<uint32_t> number = WholeUnsigned(FieldText(wnd, id));
    if (number)
        value = *number;
    return number.has_value();
}

std::wstring WideFromUtf8(const char* text)
{
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, static_cast<int>(std::size(wide)) - 1);
    return wide;
}
