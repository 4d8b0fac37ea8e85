#pragma once
// Texts of the version captions and log lines. Each value appears twice,
// hexadecimal first, then decimal.
#include <cstddef>
#include <cstdint>

inline constexpr char kProgramVersion[] = "4.0.0";

struct VersionBytes {
    uint8_t b1, b2, b3, b4;   // in the order the driver returns them
};

// What the board says of itself; the version lines of a .par file are
// the first five.
struct BoardVersions {
    VersionBytes firmware{};
    uint32_t hardware = 0;
    uint32_t fpga = 0;
    uint32_t serialNumber = 0;
    VersionBytes dll{};
};

// Formats into a fixed buffer, truncating what does not fit. The caption
// form has no line end; the log form ends with "\n".
void FormatFirmwareVersion(char* out, size_t size, const VersionBytes& v, bool logLine);
void FormatHardwareVersion(char* out, size_t size, uint32_t value, bool logLine);
void FormatFpgaVersion(char* out, size_t size, uint32_t value, bool logLine);
void FormatSerialNumber(char* out, size_t size, uint32_t value, bool logLine);
void FormatDllVersion(char* out, size_t size, const VersionBytes& v, bool logLine);
void FormatOeVersion(char* out, size_t size, uint8_t value, bool logLine);

// g_firmwareVersion: the four bytes as one number, first byte highest.
constexpr uint32_t FirmwareNumber(const VersionBytes& v)
{
    return (uint32_t(v.b1) << 24) + (uint32_t(v.b2) << 16) + (uint32_t(v.b3) << 8) + v.b4;
}
