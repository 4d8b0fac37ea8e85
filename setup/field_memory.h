#pragma once
// What a setup dialog last showed in each field, list and box, so that
// applying stores only what the technician changed. Re-reading a shown value
// is not harmless: "%f" of 1/3000 reads back as 3003 counts per mm, and a
// length in millimetres rounds back to other counts; a list that could not
// show a stored code would otherwise store its first item.
#include <windows.h>

#include <map>
#include <string>

class FieldMemory {
public:
    void ShowText(HWND dialog, int id, const wchar_t* text);
    void ShowCheck(HWND dialog, int id, bool checked);
    // Selects the item, or none when the stored value has no item.
    void ShowSelection(HWND dialog, int id, int item);

    bool TextChanged(HWND dialog, int id) const;
    bool CheckChanged(HWND dialog, int id) const;
    bool SelectionChanged(HWND dialog, int id) const;

    void Forget() { texts_.clear(), checks_.clear(), selections_.clear(); }

private:
    std::map<int, std::wstring> texts_;
    std::map<int, bool> checks_;
    std::map<int, int> selections_;
};

// A field's text parsed as "%g"; false (value untouched) when it is no number.
bool ParseFieldDouble(HWND dialog, int id, double& value);
