// Version texts: hexadecimal then decimal, bytes in the driver's order, and
// never past the end of the buffer.
#include "app/version_text.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(VersionText, FormatsCaptionsAndLogLines)
{
    char text[128];
    FormatFirmwareVersion(text, sizeof text, {2, 5, 1, 3}, false);
    EXPECT_STREQ(text, "Firmware Version 0x2.5.1.3 (2.5.1.3)");
    FormatFirmwareVersion(text, sizeof text, {0xFF, 0x10, 0, 0xAB}, true);
    EXPECT_STREQ(text, "Firmware Version 0xFF.10.0.AB (255.16.0.171)\n");
    FormatOeVersion(text, sizeof text, 10, false);
    EXPECT_STREQ(text, "OE Version 0x0A (10)");
    FormatOeVersion(text, sizeof text, 200, true);
    EXPECT_STREQ(text, "OE Version 0xC8 (200)\n");
    FormatSerialNumber(text, sizeof text, 0x80000000u, false);
    EXPECT_STREQ(text, "SN 0x80000000 (-2147483648)");
    FormatDllVersion(text, sizeof text, {4, 2, 0, 17}, true);
    EXPECT_STREQ(text, "DLL Version 0x4.2.0.11 (4.2.0.17)\n");
}

TEST(VersionText, TruncatesToTheBuffer)
{
    char text[16];
    std::memset(text, 'x', sizeof text);
    FormatHardwareVersion(text, 12, 0x402, true);
    EXPECT_STREQ(text, "Hardware Ve");
    EXPECT_EQ(text[12], 'x');
}

TEST(VersionText, FirmwareNumberPutsTheFirstByteHighest)
{
    EXPECT_EQ(FirmwareNumber({2, 5, 2, 1}), 0x02050201u);
    EXPECT_EQ(FirmwareNumber({0, 2, 0, 0x0B}), 0x0002000Bu);
}
