#include "ui/fields.h"

#include "ui/control_text.h"

std::wstring FieldText(HWND dialog, int id)
{
    wchar_t text[kFieldTextCapacity] = {};
    GetDlgItemTextW(dialog, id, text, kFieldTextCapacity);
    return text;
}

void ShownFields::ShowText(HWND dialog, int id, std::wstring_view text, int key)
{
    SetControlTextIfChanged(dialog, id, std::wstring(text).c_str());
    // What the field holds now, as it will be read back.
    texts_[id] = {key, FieldText(dialog, id)};
}

void ShownFields::ShowCheck(HWND dialog, int id, bool checked)
{
    CheckBox(dialog, id, checked);
    checks_[id] = checked;
}

void ShownFields::ShowSelection(HWND dialog, int id, int item)
{
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    if (item < 0 || item >= count)
        item = -1;
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    selections_[id] = item;
}

bool ShownFields::TextChanged(HWND dialog, int id, int key) const
{
    auto shown = texts_.find(id);
    return shown == texts_.end() || shown->second.key != key || shown->second.text != FieldText(dialog, id);
}

std::optional<std::wstring> ShownFields::TakeChangedText(HWND dialog, int id, int key)
{
    if (!TextChanged(dialog, id, key))
        return std::nullopt;
    std::wstring text = FieldText(dialog, id);
    texts_[id] = {key, text};
    return text;
}

bool ShownFields::CheckChanged(HWND dialog, int id) const
{
    auto shown = checks_.find(id);
    return shown == checks_.end() || shown->second != IsBoxChecked(dialog, id);
}

bool ShownFields::SelectionChanged(HWND dialog, int id) const
{
    auto shown = selections_.find(id);
    const int selected = ListSelection(dialog, id);
    return selected >= 0 && (shown == selections_.end() || shown->second != selected);
}

void ShownFields::Forget()
{
    texts_.clear();
    checks_.clear();
    selections_.clear();
}

bool IsBoxChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void CheckBox(HWND dialog, int id, bool checked) { CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED); }

int ListSelection(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

void ShowControl(HWND dialog, int id, bool shown) { ShowWindow(GetDlgItem(dialog, id), shown ? SW_SHOW : SW_HIDE); }

bool IsControlShown(HWND dialog, int id) { return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }
