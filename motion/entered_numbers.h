#pragma once
// The number fields of the goto windows. A field the program filled keeps
// the value behind it until the technician changes its text: reading back a
// rounded display ("%.4f", inches) must not move a target by a fraction of a
// count, nor turn a target that did not change into one that did.
#include <windows.h>

#include <cstddef>
#include <string>
#include <unordered_map>

class EnteredNumbers {
public:
    void Show(HWND dialog, int id, const wchar_t* text);
    // True when the field's text differs from what was shown or last read
    // and holds a number, which is then in value; otherwise value is kept.
    bool ReadChanged(HWND dialog, int id, float& value);
    void Forget() { shown_.clear(); }

private:
    std::unordered_map<int, std::wstring> shown_;
};

// The wide scanner with "%g"; false for a text that holds no number.
bool ParseEnteredNumber(const wchar_t* text, float& value);

// The field's text, cut to the windows' 128-character buffers.
std::wstring FieldText(HWND dialog, int id);

// A length in millimetres as the goto windows show it: "%.4f" mm, or in
// inch mode the millimetres ÷ 25.4 in double with "%.5f".
void FormatDisplayMm(char* out, size_t size, float mm);
