#include "core/version_text.h"

#include <cstdio>

// snprintf truncates and terminates: a text that does not fit is cut, never
// written past the buffer.
#define FORMAT_VERSION(out, size, logLine, fmt, ...)                            \
    do {                                                                         \
        if (logLine)                                                             \
            std::snprintf(out, size, fmt "\n", __VA_ARGS__);                     \
        else                                                                     \
            std::snprintf(out, size, fmt, __VA_ARGS__);                          \
    } while (0)

void FormatFirmwareVersion(char* out, size_t size, const VersionBytes& v, bool logLine)
{
    FORMAT_VERSION(out, size, logLine, "Firmware Version 0x%X.%X.%X.%X (%d.%d.%d.%d)",
                   v.b1, v.b2, v.b3, v.b4, v.b1, v.b2, v.b3, v.b4);
}

void FormatHardwareVersion(char* out, size_t size, uint32_t value, bool logLine)
{
    FORMAT_VERSION(out, size, logLine, "Hardware Version 0x%X (%d)", value, static_cast<int>(value));
}

void FormatFpgaVersion(char* out, size_t size, uint32_t value, bool logLine)
{
    FORMAT_VERSION(out, size, logLine, "FPGA Version 0x%X (%d)", value, static_cast<int>(value));
}

void FormatSerialNumber(char* out, size_t size, uint32_t value, bool logLine)
{
    FORMAT_VERSION(out, size, logLine, "SN 0x%X (%d)", value, static_cast<int>(value));
}

void FormatDllVersion(char* out, size_t size, const VersionBytes& v, bool logLine)
{
    FORMAT_VERSION(out, size, logLine, "DLL Version 0x%X.%X.%X.%X (%d.%d.%d.%d)",
                   v.b1, v.b2, v.b3, v.b4, v.b1, v.b2, v.b3, v.b4);
}

void FormatOeVersion(char* out, size_t size, uint8_t value, bool logLine)
{
    FORMAT_VERSION(out, size, logLine, "OE Version 0x%02X (%d)", value, value);
}
