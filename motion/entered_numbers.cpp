#include "motion/entered_numbers.h"

#include "core/session_state.h"
#include "core/unit_conversion.h"

#include <cstdio>
#include <cwchar>

namespace {
constexpr int kTextCapacity = 128;
}

void EnteredNumbers::Show(HWND dialog, int id, const wchar_t* text)
{
    SetDlgItemTextW(dialog, id, text);
    shown_[id] = text;
}

bool EnteredNumbers::ReadChanged(HWND dialog, int id, float& value)
{
    const std::wstring text = FieldText(dialog, id);
    auto shown = shown_.find(id);
    if (shown != shown_.end() && shown->second == text)
        return false;
    float entered = 0.0f;
    if (!ParseEnteredNumber(text.c_str(), entered))
        return false;
    shown_[id] = text;
    value = entered;
    return true;
}

bool ParseEnteredNumber(const wchar_t* text, float& value) { return std::swscanf(text, L"%g", &value) == 1; }

std::wstring FieldText(HWND dialog, int id)
{
    wchar_t text[kTextCapacity] = {};
    GetDlgItemTextW(dialog, id, text, kTextCapacity);
    return text;
}

void FormatDisplayMm(char* out, size_t size, float mm)
{
    if (g_unitMode == kUnitInch)
        std::snprintf(out, size, "%.5f", static_cast<double>(mm) / kMmPerInch);
    else
        std::snprintf(out, size, "%.4f", static_cast<double>(mm));
}
