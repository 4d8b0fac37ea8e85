#pragma once
// The lines the goto tests log, formatted into fixed buffers.
#include <cstddef>
#include <cstdint>

#include "core/goto_history.h"

// One line per leg of a continuous run. Lengths are millimetres whatever
// unit the window shows.
struct LegLine {
    int32_t number = 0;          // legs logged before this one
    uint32_t sinceLastMs = 0;
    uint32_t sinceStartMs = 0;
    float targetMm[3] = {};      // X, Y, Z
    uint8_t moveStatus[3] = {};  // X, Y, Z
    uint8_t probe = 0;
    float xMm = 0.0f;            // where X stands
};

inline constexpr size_t kLegLineCapacity = 128;

// "%d,time,%d,%d,target,%.4f,%.4f,%.4f,status,0x%02X,0x%02X,0x%02X,probe,
// 0x%02X,xpos,%.4f\n". Huge targets make the line longer than the buffer:
// it is cut, and still ends with its line feed.
void FormatLegLine(char* out, size_t size, const LegLine& line);

// snprintf into out; when the text does not fit, the last character kept is
// the line feed, so the log's line structure survives.
void FormatCutLine(char* out, size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// One sample of the goto history: "lag,%d,pos,%d,target,%d,status,%u,error,
// %u,time,%u\n", the bytes in decimal and the low 32 bits of the tick.
void FormatGotoSample(char* out, size_t size, const GotoSample& sample);
