#pragma once
// What the axis setup dialogs share: their axis radios, captions with
// parameter numbers, and fields that never turn a missing or untouched
// number into a new stored value.
#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>

inline constexpr int kFieldTextCapacity = 128;
using FieldText = wchar_t[kFieldTextCapacity];

// The dialogs' axis radios, X..Zoom.
void CheckSetupAxisRadio(HWND wnd, int axis);
// The axis of a radio id, -1 for any other control.
int SetupAxisOfRadio(int id);
// The axis a dialog starts with: g_radio_last when it is Y, Z, Q or Zoom,
// else X (which then becomes current).
int TakeOpeningAxis();

// "Display Param Number" of the main window.
bool ShowParamNumbers();
// "%s(P%03d)" with the number while "Display Param Number" is on, else "%s".
void SetParamCaption(HWND wnd, int id, const wchar_t* name, int param);

// Whole texts only: digits with optional blanks around them, in range.
bool ParseUnsigned(const wchar_t* text, uint32_t& value);
bool ParseSigned(const wchar_t* text, int32_t& value);
// "%g" as the dialogs read decimal fractions; the whole text must be a number.
bool ParseFloat(const wchar_t* text, float& value);

void SetUnsignedField(HWND wnd, int id, uint32_t value);
// False, and value unchanged, when the field holds no unsigned number.
bool ReadUnsignedField(HWND wnd, int id, uint32_t& value);

// The texts a dialog's fill put into its fields. A field whose text is still
// the one shown has nothing new to store: reading a "%g" text back would
// otherwise move a stored value by merely viewing it.
class FilledTexts {
public:
    void Fill(HWND wnd, int id, const wchar_t* text);
    // The field's text, when the technician changed it since it was filled
    // or last taken; the text then counts as the one the stored value has.
    bool TakeNewText(HWND wnd, int id, FieldText& text);
    void Forget() { texts_.clear(); }

private:
    std::unordered_map<int, std::wstring> texts_;
};
