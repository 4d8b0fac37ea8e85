#pragma once
// A Scope capture as a CSV file: a header (program version, board serial
// number, firmware, date, the board tick of time 0, one line per channel
// with its axis, quantity and unit, the column names), then one row per
// sample: the time in ms and each channel's value. What the writer writes
// the reader reads back to the same capture, so save, load, save gives the
// same bytes.
#include <string>
#include <string_view>
#include <variant>

#include "core/scope_capture.h"

// More rows than any capture of the longest length has, so a file that is no
// capture is refused before it fills the memory.
inline constexpr int kCaptureCsvMaxRows = 100000;
// A magnitude beyond any position, lag or velocity of the machine.
inline constexpr double kCaptureCsvMaxValue = 1e12;

std::string WriteCaptureCsv(const ScopeCapture& capture);

struct CaptureCsvError {
    int line = 0;   // 1-based
    std::string reason;
};

std::variant<ScopeCapture, CaptureCsvError> ReadCaptureCsv(std::string_view text);
