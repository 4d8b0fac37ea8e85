#pragma once
// The per-tick axis trace line ("XGACV", "YGACV", "ZGACV"): the fifteen
// fields of the board's axis record after the trace time, then the trace
// sequence number.
#include <cstddef>
#include <cstdint>

inline constexpr int kAxisRecordFields = 15;

// "<prefix>,%d x14,0x%06X,0x%04X,%d\n": the time since the trace started,
// record fields 0..12 in decimal, the flags with six and the status with
// four hexadecimal digits; cut to fit, keeping the line feed.
void FormatAxisTraceLine(char* out, size_t size, const char* prefix, uint32_t elapsedMs,
                         const int32_t (&record)[kAxisRecordFields], uint32_t sequence);
