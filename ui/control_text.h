#pragma once
// Readouts and captions are rewritten only when their text changed: the
// 10 ms polling then costs no repaint and no flicker.
#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>

// True when the control's text was changed.
bool SetControlTextIfChanged(HWND dialog, int id, const wchar_t* text);
bool SetControlTextIfChanged(HWND dialog, int id, const char* text);

// How many control texts were actually written, for tests and benchmarks.
uint64_t ControlTextWrites();

// For controls that only the program writes (read-only readouts, button
// captions) and that are polled every few milliseconds: the last text written
// is remembered, so an unchanged text costs no call into the control at all.
class ShownTexts {
public:
    bool Set(HWND dialog, int id, const char* text);
    // After the window was initialised again: the next Set writes.
    void Forget() { shown_.clear(); }

private:
    std::unordered_map<int, std::string> shown_;
};
