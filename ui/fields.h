#pragma once
// The field kit: what each field, box and list of a dialog showed, so that
// storing takes only what the technician changed. Reading a shown value
// back is not harmless: "%g" of 1234567 counts reads back as 1234570, "%f"
// of 1/3000 mm as 3003 counts per mm, a length in inches rounds back to
// other counts, and a list that could not show a stored code would store
// its first item. So a field whose text is still the one shown keeps its
// stored value, and a code with no list entry is kept as stored.
//
// A text can be shown for a key (the parameter behind a field that serves
// every axis in turn): the same text shown for another key counts as typed.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The program's field texts are 128 characters at most (the longest a
// field is read with); a longer text is cut there.
inline constexpr int kFieldTextCapacity = 128;
std::wstring FieldText(HWND dialog, int id);

class ShownFields {
public:
    void ShowText(HWND dialog, int id, std::wstring_view text, int key = 0);
    void ShowCheck(HWND dialog, int id, bool checked);
    // Selects the item, or none when the stored value has no item (-1).
    void ShowSelection(HWND dialog, int id, int item);

    bool TextChanged(HWND dialog, int id, int key = 0) const;
    // The field's text when the technician changed it since it was shown or
    // last taken; it then counts as shown.
    std::optional<std::wstring> TakeChangedText(HWND dialog, int id, int key = 0);
    // The number the technician typed since the field was shown, read by one
    // of core/number_text's readers; none for an untouched field or one that
    // holds no number, so the stored value stays.
    template <class Number>
    std::optional<Number> TakeTypedNumber(HWND dialog, int id, std::optional<Number> (*read)(std::wstring_view),
                                          int key = 0)
    {
        if (const std::optional<std::wstring> text = TakeChangedText(dialog, id, key))
            return read(*text);
        return std::nullopt;
    }
    bool CheckChanged(HWND dialog, int id) const;
    // A selection made by the technician: none selected is no change.
    bool SelectionChanged(HWND dialog, int id) const;

    void Forget();

private:
    struct Shown {
        int key;
        std::wstring text;
    };
    std::map<int, Shown> texts_;
    std::map<int, bool> checks_;
    std::map<int, int> selections_;
};

// Check boxes and radios as booleans.
bool IsBoxChecked(HWND dialog, int id);
void CheckBox(HWND dialog, int id, bool checked);
// The list's selection, -1 for none.
int ListSelection(HWND dialog, int id);
void ShowControl(HWND dialog, int id, bool shown);
// Whether the control is shown in its dialog (whether or not the dialog is).
bool IsControlShown(HWND dialog, int id);
