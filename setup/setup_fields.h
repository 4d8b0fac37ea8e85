#pragma once
// What the axis setup dialogs share beside the dialog and field kits: the
// axis they open on, captions with parameter numbers, unsigned fields and
// UTF-8 captions (µ, °).
#include <windows.h>

#include <cstdint>
#include <string>

// The axis a dialog starts with: g_radio_last when it is Y, Z, Q or Zoom,
// else X (which then becomes current).
int TakeOpeningAxis();

// The name, with the number in numberFormat after it while "Display Param
// Number" is on.
void SetParamCaption(HWND wnd, int id, const wchar_t* name, int number, const wchar_t* numberFormat = L"(P%03d)");

void SetUnsignedField(HWND wnd, int id, uint32_t value);
// The field's whole-text unsigned number; false, and value unchanged, when
// it holds none.
bool ReadUnsignedField(HWND wnd, int id, uint32_t& value);

std::wstring WideFromUtf8(const char* text);
