// The ".par" parameter file's text and how each line of one reads back.
#include "core/par_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<ParLine> ReadLines(const std::string& bytes)
{
    std::istringstream in(bytes);
    ParLineReader reader(in);
    std::vector<ParLine> lines;
    for (ParLine line; reader.Next(line);)
        lines.push_back(line);
    return lines;
}

ParLineResult Parse(const std::string& text, ParItemForm form = ParItemForm::Decimal)
{
    return ParseParLine(ParLine{text, false}, form);
}

FlashItemValues DefaultItems()
{
    FlashItemValues items;
    for (int i = 0; i < kFlashItemCount; ++i)
        items[i] = kFlashItemTable[i].defaultValue;
    return items;
}

TEST(ParFileText, HeaderParametersAndItemsWithCrLf)
{
    uint32_t params[kParamCount];
    for (int n = 0; n < kParamCount; ++n)
        params[n] = 2654435761u * static_cast<uint32_t>(n);
    params[12] = static_cast<uint32_t>(-5);
    FlashItemValues items = DefaultItems();
    items[FindFlashItem(1010)].intValue = -25;
    items[FindFlashItem(1059)].floatValue = 1234.5678f;   // more digits than "%g" keeps
    const auto format = [&](int userOutputFormat) {
        return FormatParFile({{2, 5, 1, 3}, 0x10, 0x2A, 123456, {1, 0, 12, 255}}, params, items, userOutputFormat);
    };

    const std::string content = format(0);
    const std::vector<ParLine> lines = ReadLines(content);
    ASSERT_EQ(lines.size(), 5u + 512u + 62u);
    EXPECT_EQ(std::count(content.begin(), content.end(), '\r'), 579) << "every line ends with CR LF";
    const std::pair<int, const char*> expected[] = {
        {0, "Firmware Version 0x2.5.1.3 (2.5.1.3)"}, {1, "Hardware Version 0x10 (16)"},
        {2, "FPGA Version 0x2A (42)"}, {3, "SN 0x1E240 (123456)"}, {4, "DLL Version 0x1.0.C.FF (1.0.12.255)"},
        {5, "P000 0"}, {17, "P012 -5"}, {516, "P511 -792991665"}, {517, "P1000 90"}, {527, "P1010 -25"},
        {540, "P1059 1234.57"}, {573, "P1143 6.35"}, {578, "P1163 0"}};
    for (auto [index, text] : expected)
        EXPECT_EQ(lines[index].text, text);
    EXPECT_EQ(format(2), content) << "any value but 1 keeps the decimal form";

    const std::string bytes = format(kParItemsAsBytes);
    const std::vector<ParLine> hex = ReadLines(bytes);
    ASSERT_EQ(hex.size(), 579u);
    EXPECT_EQ(bytes.substr(0, bytes.find("P1000")), content.substr(0, content.find("P1000")));
    const std::pair<int, const char*> expectedHex[] = {
        {517, "P1000 5A"}, {527, "P1010 FF,FF,FF,E7"}, {552, "P1101 3B,9A,CA,00"},
        {555, "P1113 C4,65,36,00"}, {573, "P1143 40,CB,33,33"}, {578, "P1163 00"}};
    for (auto [index, text] : expectedHex)
        EXPECT_EQ(hex[index].text, text);
}

TEST(ParFileText, NonFiniteFloatsKeepTheirFourBytesInADecimalFileAndLoadBack)
{
    // An erased flash word reads as NaN; "%g" would write "nan" or "inf".
    const std::pair<uint32_t, const char*> cases[] = {
        {0xFFFFFFFFu, "P1030 FF,FF,FF,FF"}, {0x7FC00001u, "P1030 7F,C0,00,01"},
        {0x7F800000u, "P1030 7F,80,00,00"}, {0xFF800000u, "P1030 FF,80,00,00"}};
    const uint32_t params[kParamCount] = {};
    const int index = FindFlashItem(1030);
    for (const auto& [bits, text] : cases) {
        FlashItemValues items = DefaultItems();
        items[index].floatValue = std::bit_cast<float>(bits);
        const std::string content = FormatParFile({}, params, items, 0);
        const ParLine line = ReadLines(content).at(5 + kParamCount + index);
        EXPECT_EQ(line.text, text);
        std::istringstream in(content);
        EXPECT_EQ(DetectParItemForm(in), ParItemForm::Decimal) << "the other items stay decimal";
        const ParLineResult r = ParseParLine(line, ParItemForm::Decimal);
        ASSERT_EQ(r.kind, ParLineKind::Item) << text;
        EXPECT_EQ(std::bit_cast<uint32_t>(r.itemValue.floatValue), bits) << text;
    }
}

TEST(ParLineParser, ParameterAndItemAssignments)
{
    // Parameters with the value sent, items with their flash bits.
    constexpr auto kDecimal = ParItemForm::Decimal, kBytes = ParItemForm::FourBytes;
    const std::tuple<std::string, ParItemForm, uint32_t> lines[] = {
        {"P012 0x1F", kDecimal, 31}, {"p012 20", kDecimal, 20}, {"P012 -5", kDecimal, static_cast<uint32_t>(-5)},
        {"P511 0XfFfFfFfF", kDecimal, 0xFFFFFFFFu}, {"P000 -2147483648", kDecimal, 0x80000000u},
        {"P000 2147483647", kDecimal, 0x7FFFFFFFu}, {std::string("P012 5\0" "99", 9), kDecimal, 5},
        {"P012 7 \t", kBytes, 7}, {"P1010 -25", kDecimal, static_cast<uint32_t>(-25)},
        {"P1101 0x3B9ACA00", kDecimal, 1000000000u}, {"P1101 3B,9A,CA,00", kDecimal, 1000000000u},
        {"P1101 3B,9A,CA,00 \t", kBytes, 1000000000u}, {"P1010 ff,ff,ff,e7", kBytes, static_cast<uint32_t>(-25)},
        {"P1030 7F,C0,00,01", kBytes, 0x7FC00001u}, {"P1125 2.5e1", kDecimal, 0x41C80000u},
        {"P1000 255", kDecimal, 255}, {"P1000 0x5A", kDecimal, 0x5A},
        {"P1135 32", kBytes, 0x32}};   // a byte of a file written as bytes is hexadecimal
    for (const auto& [line, form, value] : lines) {
        const ParLineResult r = Parse(line, form);
        ASSERT_EQ(r.kind, r.number < 1000 ? ParLineKind::Param : ParLineKind::Item) << line;
        const bool param = r.kind == ParLineKind::Param;
        EXPECT_EQ(param ? r.paramValue : FlashItemBits(kFlashItemTable[r.itemIndex].type, r.itemValue), value) << line;
    }
}

TEST(ParLineParser, RejectedLinesAndTheirLogTexts)
{
    const std::pair<std::string, const char*> cases[] = {
        {"P512 7", "Error param is 512\n"}, {"P999 5", "Error param is 999\n"}, {"PXYZ 5", "Error param is -1\n"},
        {"P99999999999 5", "Error param is -1\n"},
        {"P1234 5", "Error could not find param 1234 in the parameter list\nError param is 1234\n"},
        {"P1011 5", "Error could not find param 1011 in the parameter list\nError param is 1011\n"},
        {"", "Not a valid line:\n\n"}, {"\xFF\x80\x01", "Not a valid line:\xFF\x80\x01\n\n"},
        {std::string("\0P012 5", 7), "Not a valid line:\n"}};
    for (const auto& [line, log] : cases)
        EXPECT_EQ(Parse(line).log, log);

    // Values that do not parse, do not fit, are not where the format puts
    // them, or have text after them.
    for (const char* line : {"garbage", "P5 10", "P12 345", "P0012 5", "P012  5", "P012\t5", "P012", "P012 abc",
                             "P012 -", "P012 2147483648", "P012 -2147483649", "P012 99999999999999999999", "P012 0x",
                             "P012 0xG1", "P012 0x100000000", "P012 0x 1F", "P012 5 6", "P012 5x", "P1010 x",
                             "P1125 1e39", "P1125 +-1", "P1125 nan", "P1125 inf", "P1101 99999999999", "P1000 300",
                             "P1000 256", "P1000 -1", "P1000 0x100", "P1000 5A", "P1135 12,34,56,78",
                             "P1101 3B,9A,CA,001", "P1101 3B,9A,CA", "P1125 40,A0,00,0", "P1125 40,A0,00,00,",
                             "P1125 2.5 mm", "P1010 12 34", "P1010  5", "P01010 5"}) {
        const ParLineResult r = Parse(line);
        EXPECT_EQ(r.kind, ParLineKind::NotValid) << line;
        EXPECT_EQ(r.log, std::string("Not a valid line:") + line + "\n\n");
    }
    for (const char* line : {"P1000 100", "P1000 0x5A5", "P1000 -1", "P1000 5A,00,00,00"})
        EXPECT_EQ(Parse(line, ParItemForm::FourBytes).kind, ParLineKind::NotValid) << line;
}

TEST(ParLineParser, ByteItemsAreHexadecimalOnlyInAFileWhoseWideItemsAreAllFourBytes)
{
    const auto formOf = [](const std::string& text) {
        std::istringstream in(text);
        return DetectParItemForm(in);
    };
    const std::pair<const char*, ParItemForm> files[] = {
        {"P1000 5A\nP1010 00,00,00,05\nP1125 40,A0,00,00\n", ParItemForm::FourBytes},
        {"P1000 90\nP1010 00,00,00,05\nP1125 5\n", ParItemForm::Decimal},   // one float in decimal
        {"P1000 32\nP1135 50\n", ParItemForm::Decimal},                        // no wide item to tell
        {"P050 12\nP1010 5\nP1125 40,A0,00,00\n", ParItemForm::Decimal},
        // Lines that are not item lines do not count.
        {"P1010  00,00,00,05\nP050 0x1\nP1234 00,00,00,05\nP1010 11,22,33,44\n", ParItemForm::FourBytes},
        {"", ParItemForm::Decimal}};
    for (const auto& [text, form] : files)
        EXPECT_EQ(formOf(text), form) << text;
}

TEST(ParLineReader, OnlyTerminatedLinesAreReadAndAnOverLongLineIsOneInvalidLine)
{
    std::vector<std::string> texts;
    for (const ParLine& line : ReadLines("P001 1\r\n\nP002 2\nx\ry\r\nP003 3"))
        texts.push_back(line.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"P001 1", "", "P002 2", "x\ry"}));

    const std::string longest(kParLineMaxChars, 'x');
    std::vector<ParLine> lines = ReadLines(longest + "\r\n" + longest + "y\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FALSE(lines[0].overLong);
    EXPECT_EQ(lines[0].text, longest);
    EXPECT_TRUE(lines[1].overLong);

    // Cut at the buffer, the tail would have been a line of its own.
    const std::string head = "P012 1" + std::string(kParLineMaxChars + 1 - 6, ' ');
    lines = ReadLines(head + "P013 99\nP014 4\n" + std::string(100000, 'z'));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(ParseParLine(lines[0], ParItemForm::Decimal).log, "Not a valid line:" + head + "\n");
    EXPECT_EQ(ParseParLine(lines[1], ParItemForm::Decimal).number, 14);
}

} // namespace
