#include "setup/field_memory.h"

#include <cwchar>

namespace {
std::wstring FieldText(HWND dialog, int id)
{
    wchar_t text[128] = {};
    GetDlgItemTextW(dialog, id, text, static_cast<int>(std::size(text)));
    return text;
}
} // namespace

void FieldMemory::ShowText(HWND dialog, int id, const wchar_t* text)
{
    SetDlgItemTextW(dialog, id, text);
    texts_[id] = FieldText(dialog, id);
}

void FieldMemory::ShowCheck(HWND dialog, int id, bool checked)
{
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
    checks_[id] = checked;
}

void FieldMemory::ShowSelection(HWND dialog, int id, int item)
{
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    if (item < 0 || item >= count)
        item = -1;
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    selections_[id] = item;
}

bool FieldMemory::TextChanged(HWND dialog, int id) const
{
    auto shown = texts_.find(id);
    return shown == texts_.end() || shown->second != FieldText(dialog, id);
}

bool FieldMemory::CheckChanged(HWND dialog, int id) const
{
    auto shown = checks_.find(id);
    const bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    return shown == checks_.end() || shown->second != checked;
}

bool FieldMemory::SelectionChanged(HWND dialog, int id) const
{
    auto shown = selections_.find(id);
    const int selected = static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
    return selected >= 0 && (shown == selections_.end() || shown->second != selected);
}

bool ParseFieldDouble(HWND dialog, int id, double& value)
{
    const std::wstring text = FieldText(dialog, id);
    double parsed = 0.0;
    if (std::swscanf(text.c_str(), L"%lg", &parsed) != 1)
        return false;
    value = parsed;
    return true;
}
