#include "core/goto_lines.h"

#include <cstdarg>
#include <cstdio>

void FormatCutLine(char* out, size_t size, const char* format, ...)
{
    if (size == 0)
        return;
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(out, size, format, args);
    va_end(args);
    if (length < 0)
        out[0] = '\0';
    else if (static_cast<size_t>(length) >= size && size >= 2)
        out[size - 2] = '\n';
}

void FormatLegLine(char* out, size_t size, const LegLine& line)
{
    FormatCutLine(out, size, "%d,time,%d,%d,target,%.4f,%.4f,%.4f,status,0x%02X,0x%02X,0x%02X,probe,0x%02X,xpos,%.4f\n",
                  static_cast<int>(line.number), static_cast<int>(line.sinceLastMs),
                  static_cast<int>(line.sinceStartMs), static_cast<double>(line.targetMm[0]),
                  static_cast<double>(line.targetMm[1]), static_cast<double>(line.targetMm[2]),
                  static_cast<unsigned>(line.moveStatus[0]), static_cast<unsigned>(line.moveStatus[1]),
                  static_cast<unsigned>(line.moveStatus[2]), static_cast<unsigned>(line.probe),
                  static_cast<double>(line.xMm));
}

void FormatGotoSample(char* out, size_t size, const GotoSample& sample)
{
    FormatCutLine(out, size, "lag,%d,pos,%d,target,%d,status,%u,error,%u,time,%u\n", static_cast<int>(sample.lag),
                  static_cast<int>(sample.position), static_cast<int>(sample.target),
                  static_cast<unsigned>(sample.moveStatus), static_cast<unsigned>(sample.errorByte),
                  static_cast<unsigned>(static_cast<uint32_t>(sample.tick)));
}
