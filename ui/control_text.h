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

// A moving readout is repainted at most this often: 25 times a second is
// faster than anyone reads digits, and the 10 ms ticks then pay for a
// quarter of the repaints.
inline constexpr uint64_t kReadoutPeriodMs = 40;

// For controls that only the program writes (read-only readouts, button
// captions) and that are polled every few milliseconds: the last text written
// is remembered, so an unchanged text costs no call into the control at all.
// A readout is written at most every kReadoutPeriodMs, always with the latest
// text; a text that arrives within the period waits for its end, so a readout
// that stops changing shows its final value at the latest one period later.
class ShownTexts {
public:
    // True when the control's text was written.
    bool Set(HWND dialog, int id, const char* text);
    // Writes the texts that waited and whose period has ended: the owner's
    // tick calls it last, for readouts it sets only when they change.
    void WriteDue(HWND dialog);
    // After the window was initialised again: the next Set writes.
    void Forget() { readouts_.clear(); }

private:
    struct Readout {
        HWND dialog = nullptr;
        HWND control = nullptr;
        std::string shown;
        std::string latest;
        uint64_t writtenMs = 0;
        bool written = false;
    };
    static void Write(HWND dialog, int id, Readout& readout, uint64_t now);
    std::unordered_map<int, Readout> readouts_;
};
