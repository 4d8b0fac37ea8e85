#include "params/par_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitCrLf(const std::string& content)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(content.substr(start, end - start));
    EXPECT_EQ(start, content.size()) << "text after the last line end";
    return lines;
}

std::vector<ParLine> ReadLines(const std::string& bytes)
{
    std::istringstream in(bytes);
    ParLineReader reader(in);
    std::vector<ParLine> lines;
    for (ParLine line; reader.Next(line);)
        lines.push_back(line);
    return lines;
}

ParLineResult Parse(const std::string& text) { return ParseParLine(ParLine{text, false}); }

template <class Values>
auto& ItemIn(Values& values, int number)
{
    return values[FindFlashItem(number)];
}

class ParFileTest : public ::testing::Test {
protected:
    ParFileTest()
    {
        for (int n = 0; n < kParamCount; ++n)
            params[n] = 2654435761u * static_cast<uint32_t>(n);
        params[12] = static_cast<uint32_t>(-5);
        for (int i = 0; i < kFlashItemCount; ++i)
            items[i] = kFlashItemTable[i].defaultValue;
        ItemIn(items, 1010).intValue = -25;
        ItemIn(items, 1131).byteValue = 0x25;
        ItemIn(items, 1051).floatValue = -0.125f;
        ItemIn(items, 1059).floatValue = 1234.5678f;   // more digits than "%g" keeps
        ItemIn(items, 1063).floatValue = std::bit_cast<float>(0x7FC00001u);
        ItemIn(items, 1159).intValue = 2147483647;
    }

    std::string Format(int userOutputFormat) const
    {
        return FormatParFile({{2, 5, 1, 3}, 0x10, 0x2A, 123456, {1, 0, 12, 255}}, params, items, userOutputFormat);
    }

    // Reads a file back as the loader does: header lines are not valid,
    // then each parameter and item once, in file order.
    void ExpectReadBack(const std::string& content, FlashItemValues& loaded) const
    {
        int notValid = 0, param = 0, item = 0;
        for (const ParLine& line : ReadLines(content)) {
            const ParLineResult r = ParseParLine(line);
            if (r.kind == ParLineKind::NotValid) {
                ++notValid;
            } else if (r.kind == ParLineKind::Param) {
                EXPECT_EQ(r.number, param);
                EXPECT_EQ(r.paramValue, params[param++]) << "P" << r.number;
            } else {
                ASSERT_EQ(r.kind, ParLineKind::Item) << line.text;
                EXPECT_EQ(r.itemIndex, item++);
                loaded[r.itemIndex] = r.itemValue;
            }
        }
        EXPECT_EQ(notValid, 5);
        EXPECT_EQ(param, 512);
        EXPECT_EQ(item, 62);
    }

    uint32_t params[kParamCount];
    FlashItemValues items;
};

TEST_F(ParFileTest, FileHasHeaderParametersAndItemsWithCrLf)
{
    const std::string content = Format(0);
    const std::vector<std::string> lines = SplitCrLf(content);
    ASSERT_EQ(lines.size(), 5u + 512u + 62u);
    EXPECT_EQ(content.find('\n'), content.find("\r\n") + 1);
    const std::pair<int, const char*> expected[] = {
        {0, "Firmware Version 0x2.5.1.3 (2.5.1.3)"}, {1, "Hardware Version 0x10 (16)"},
        {2, "FPGA Version 0x2A (42)"}, {3, "SN 0x1E240 (123456)"}, {4, "DLL Version 0x1.0.C.FF (1.0.12.255)"},
        {5, "P000 0"}, {6, "P001 -1640531535"}, {17, "P012 -5"}, {516, "P511 -792991665"},
        {517, "P1000 90"}, {527, "P1010 -25"}, {532, "P1030 0"}, {538, "P1051 -0.125"}, {540, "P1059 1234.57"},
        {558, "P1125 5"}, {573, "P1143 6.35"}, {577, "P1159 2147483647"}, {578, "P1163 0"}};
    for (auto [index, text] : expected)
        EXPECT_EQ(lines[index], text);
    // Any value but 1 keeps the decimal form.
    EXPECT_EQ(Format(2), content);

    const std::vector<std::string> hex = SplitCrLf(Format(kParItemsAsBytes));
    ASSERT_EQ(hex.size(), 579u);
    EXPECT_EQ(hex[516], lines[516]);
    const std::pair<int, const char*> expectedHex[] = {
        {517, "P1000 5A"}, {527, "P1010 FF,FF,FF,E7"}, {552, "P1101 3B,9A,CA,00"},
        {555, "P1113 C4,65,36,00"}, {573, "P1143 40,CB,33,33"}, {578, "P1163 00"}};
    for (auto [index, text] : expectedHex)
        EXPECT_EQ(hex[index], text);
}

TEST_F(ParFileTest, DecimalFileReadsBackWithinFloatPrintPrecision)
{
    ItemIn(items, 1063).floatValue = 0.001f;
    FlashItemValues loaded{};
    ExpectReadBack(Format(0), loaded);
    ItemIn(items, 1059).floatValue = 1234.57f;   // what "%g" kept
    for (int i = 0; i < kFlashItemCount; ++i)
        EXPECT_EQ(FlashItemBits(kFlashItemTable[i].type, loaded[i]), FlashItemBits(kFlashItemTable[i].type, items[i]))
            << "item " << kFlashItemTable[i].number;
}

TEST_F(ParFileTest, HexByteFileReadsBackWordItemsExactly)
{
    FlashItemValues loaded{};
    ExpectReadBack(Format(kParItemsAsBytes), loaded);
    for (int i = 0; i < kFlashItemCount; ++i) {
        const FlashItem& item = kFlashItemTable[i];
        if (item.type != FlashItemType::Byte) {
            EXPECT_EQ(FlashItemBits(item.type, loaded[i]), FlashItemBits(item.type, items[i])) << "item " << item.number;
        }
    }
    // Byte items come back as the decimal reading of their hex digits.
    EXPECT_EQ(ItemIn(loaded, 1000).byteValue, 5);    // "5A"
    EXPECT_EQ(ItemIn(loaded, 1131).byteValue, 25);   // "25"
    EXPECT_EQ(ItemIn(loaded, 1135).byteValue, 32);   // "32" from 50
}

TEST(ParLineParser, ParameterAndItemAssignments)
{
    const std::pair<std::string, uint32_t> params[] = {
        {"P012 0x1F", 31}, {"p012 20", 20}, {"P012 -5", static_cast<uint32_t>(-5)},
        {"P511 0XfFfFfFfF", 0xFFFFFFFFu}, {"P000 -2147483648", 0x80000000u}, {"P000 2147483647", 0x7FFFFFFFu},
        {std::string("P012 5\0" "99", 9), 5}};
    for (const auto& [line, value] : params) {
        const ParLineResult r = Parse(line);
        EXPECT_EQ(r.kind, ParLineKind::Param) << line;
        EXPECT_EQ(r.paramValue, value) << line;
        EXPECT_TRUE(r.log.empty());
    }
    EXPECT_EQ(Parse("P012 0x1F").number, 12);

    const std::pair<const char*, uint32_t> items[] = {
        {"P1010 -25", static_cast<uint32_t>(-25)}, {"P1101 3B,9A,CA,00", 1000000000u},
        {"P1101  3B,9A,CA,00 \t", 1000000000u}, {"P1010 ff,ff,ff,e7", static_cast<uint32_t>(-25)},
        {"P1143 40,CB,33,33", 0x40CB3333u}, {"P1030 7F,C0,00,01", 0x7FC00001u}, {"P1125 2.5e1", 0x41C80000u},
        {"P1000 300", 300 & 0xFF},
        // Byte items are read as decimal whatever the writer used.
        {"P1000 5A", 5}, {"P1135 12,34,56,78", 12}};
    for (auto [line, bits] : items) {
        const ParLineResult r = Parse(line);
        ASSERT_EQ(r.kind, ParLineKind::Item) << line;
        const FlashItem& item = kFlashItemTable[r.itemIndex];
        EXPECT_EQ(item.number, r.number);
        EXPECT_EQ(FlashItemBits(item.type, r.itemValue), bits) << line;
    }
    EXPECT_NE(Parse("P1101 3B,9A,CA,001").itemValue.intValue, 1000000000);
}

TEST(ParLineParser, RejectedLinesAndTheirLogTexts)
{
    const std::pair<std::string, const char*> cases[] = {
        {"P512 7", "Error param is 512\n"},
        {"P999 5", "Error param is 999\n"},
        {"PXYZ 5", "Error param is -1\n"},
        {"P99999999999 5", "Error param is -1\n"},
        {"P\xFF\xFE", "Error param is -1\n"},
        {"P1234 5", "Error could not find param 1234 in the parameter list\nError param is 1234\n"},
        {"P1011 5", "Error could not find param 1011 in the parameter list\nError param is 1011\n"},
        {"Firmware Version 0x2.5.1.3 (2.5.1.3)", "Not a valid line:Firmware Version 0x2.5.1.3 (2.5.1.3)\n\n"},
        {"", "Not a valid line:\n\n"},
        {"\xFF\x80\x01", "Not a valid line:\xFF\x80\x01\n\n"},
        {std::string("\0P012 5", 7), "Not a valid line:\n"}};
    for (const auto& [line, log] : cases)
        EXPECT_EQ(Parse(line).log, log);

    // Values that do not parse or do not fit 32 bits.
    for (const char* line : {"P5 10", "P012", "P012 ", "P012 abc", "P012 -", "P012 2147483648",
                             "P012 -2147483649", "P012 99999999999999999999", "P012 0x", "P012 0xG1",
                             "P012 0x100000000", "P1010 x", "P1125 abc", "P1125 1e39", "P1125 +-1",
                             "P1101 99999999999"}) {
        const ParLineResult r = Parse(line);
        EXPECT_EQ(r.kind, ParLineKind::NotValid) << line;
        EXPECT_EQ(r.log, std::string("Not a valid line:") + line + "\n\n");
    }
}

TEST(ParLineReader, OnlyTerminatedLinesAreReadAndCrLfIsOneLineEnd)
{
    const std::vector<ParLine> lines = ReadLines("P001 1\r\n\nP002 2\nx\ry\r\nP003 3");
    std::vector<std::string> texts;
    for (const ParLine& line : lines)
        texts.push_back(line.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"P001 1", "", "P002 2", "x\ry"}));
    EXPECT_TRUE(ReadLines("").empty());
}

TEST(ParLineReader, OverLongLineIsOneInvalidLine)
{
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
    EXPECT_EQ(ParseParLine(lines[0]).log, "Not a valid line:" + head + "\n");
    EXPECT_EQ(ParseParLine(lines[1]).number, 14);
}

} // namespace
