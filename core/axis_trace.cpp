#include "core/axis_trace.h"

#include "core/goto_lines.h"

void FormatAxisTraceLine(char* out, size_t size, const char* prefix, uint32_t elapsedMs,
                         const int32_t (&r)[kAxisRecordFields], uint32_t sequence)
{
    FormatCutLine(out, size, "%s,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,0x%06X,0x%04X,%d\n", prefix,
                  static_cast<int>(elapsedMs), static_cast<int>(r[0]), static_cast<int>(r[1]),
                  static_cast<int>(r[2]), static_cast<int>(r[3]), static_cast<int>(r[4]), static_cast<int>(r[5]),
                  static_cast<int>(r[6]), static_cast<int>(r[7]), static_cast<int>(r[8]), static_cast<int>(r[9]),
                  static_cast<int>(r[10]), static_cast<int>(r[11]), static_cast<int>(r[12]),
                  static_cast<unsigned>(r[13]), static_cast<unsigned>(r[14]), static_cast<int>(sequence));
}
