#pragma once
// What the axis setup dialogs share: their axis radio buttons, the main
// window's "Display Param Number" option, and UTF-8 captions (µ, °).
#include <windows.h>

#include <string>

// The axis (0..4) whose radio button has this id in the row; -1 when none.
template <size_t N>
int AxisOfRadio(const int (&radios)[N], int id)
{
    for (size_t axis = 0; axis < N; ++axis)
        if (radios[axis] == id)
            return static_cast<int>(axis);
    return -1;
}

// Captions carry "(P%03d)" or "(P%d)" when the main window says so.
bool DisplayParamNumber();

std::wstring WideFromUtf8(const char* text);
