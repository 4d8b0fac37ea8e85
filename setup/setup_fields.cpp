#include "setup/setup_fields.h"

#include "core/axes.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "ui/main_window_handle.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <limits>

namespace {

constexpr int kAxisRadios[kAxisCount] = {IDC_SETUP_AXIS_X, IDC_SETUP_AXIS_Y, IDC_SETUP_AXIS_Z, IDC_SETUP_AXIS_Q,
                                         IDC_SETUP_AXIS_ZOOM};

bool OnlyBlanksFrom(const wchar_t* rest)
{
    while (std::iswspace(*rest))
        ++rest;
    return *rest == L'\0';
}

void ReadField(HWND wnd, int id, FieldText& text)
{
    text[0] = L'\0';
    GetDlgItemTextW(wnd, id, text, kFieldTextCapacity);
}

} // namespace

void CheckSetupAxisRadio(HWND wnd, int axis)
{
    for (int a = 0; a < kAxisCount; ++a)
        CheckDlgButton(wnd, kAxisRadios[a], a == axis ? BST_CHECKED : BST_UNCHECKED);
}

int SetupAxisOfRadio(int id)
{
    for (int a = 0; a < kAxisCount; ++a)
        if (kAxisRadios[a] == id)
            return a;
    return -1;
}

int TakeOpeningAxis()
{
    if (g_radio_last < 1 || g_radio_last >= kAxisCount)
        g_radio_last = 0;
    return g_radio_last;
}

bool ShowParamNumbers()
{
    return g_mainWnd && IsDlgButtonChecked(g_mainWnd, IDC_DISPLAY_PARAM_NUMBER) == BST_CHECKED;
}

void SetParamCaption(HWND wnd, int id, const wchar_t* name, int param)
{
    FieldText text;
    if (ShowParamNumbers())
        swprintf(text, kFieldTextCapacity, L"%ls(P%03d)", name, param);
    else
        swprintf(text, kFieldTextCapacity, L"%ls", name);
    SetDlgItemTextW(wnd, id, text);
}

bool ParseUnsigned(const wchar_t* text, uint32_t& value)
{
    while (std::iswspace(*text))
        ++text;
    if (!std::iswdigit(*text))
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::wcstoull(text, &end, 10);
    if (errno != 0 || parsed > std::numeric_limits<uint32_t>::max() || !OnlyBlanksFrom(end))
        return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

bool ParseSigned(const wchar_t* text, int32_t& value)
{
    while (std::iswspace(*text))
        ++text;
    const bool negative = *text == L'-';
    if (negative || *text == L'+')
        ++text;
    uint32_t magnitude = 0;
    if (!ParseUnsigned(text, magnitude) || std::iswspace(*text))
        return false;
    const int64_t signedValue = negative ? -static_cast<int64_t>(magnitude) : magnitude;
    if (signedValue < std::numeric_limits<int32_t>::min() || signedValue > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

bool ParseFloat(const wchar_t* text, float& value)
{
    float parsed = 0.0f;
    int consumed = 0;
    if (swscanf(text, L"%g%n", &parsed, &consumed) != 1 || !OnlyBlanksFrom(text + consumed) || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

void SetUnsignedField(HWND wnd, int id, uint32_t value)
{
    FieldText text;
    swprintf(text, kFieldTextCapacity, L"%u", value);
    SetDlgItemTextW(wnd, id, text);
}

bool ReadUnsignedField(HWND wnd, int id, uint32_t& value)
{
    FieldText text;
    ReadField(wnd, id, text);
    return ParseUnsigned(text, value);
}

void FilledTexts::Fill(HWND wnd, int id, const wchar_t* text)
{
    SetDlgItemTextW(wnd, id, text);
    texts_[id] = text;
}

bool FilledTexts::TakeNewText(HWND wnd, int id, FieldText& text)
{
    ReadField(wnd, id, text);
    std::wstring& shown = texts_[id];
    if (shown == text)
        return false;
    shown = text;
    return true;
}
