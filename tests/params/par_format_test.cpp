#include "params/par_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <sstream>
#include <string>
#include <vector>

namespace {

ParFileVersions SampleVersions()
{
    ParFileVersions v;
    v.firmware = {2, 5, 1, 3};
    v.hardware = 0x10;
    v.fpga = 0x2A;
    v.serialNumber = 123456;
    v.dll = {1, 0, 12, 255};
    return v;
}

std::vector<std::string> SplitCrLf(const std::string& content)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(content.substr(start, end - start));
    EXPECT_EQ(start, content.size()) << "text after the last line end";
    return lines;
}

ParLineResult Parse(const std::string& text) { return ParseParLine(ParLine{text, false}); }

std::vector<ParLine> ReadLines(const std::string& bytes)
{
    std::istringstream in(bytes);
    ParLineReader reader(in);
    std::vector<ParLine> lines;
    for (ParLine line; reader.Next(line);)
        lines.push_back(line);
    return lines;
}

uint32_t FloatBits(float f) { return std::bit_cast<uint32_t>(f); }

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
        ItemIn(items, 1159).intValue = 2147483647;
    }

    uint32_t params[kParamCount];
    FlashItemValues items;
};

TEST_F(ParFileTest, FileHasHeaderParametersAndItemsWithCrLf)
{
    const std::string content = FormatParFile(SampleVersions(), params, items, 0);
    const std::vector<std::string> lines = SplitCrLf(content);
    ASSERT_EQ(lines.size(), 5u + 512u + 62u);
    EXPECT_EQ(content.find('\n'), content.find("\r\n") + 1);
    EXPECT_EQ(lines[0], "Firmware Version 0x2.5.1.3 (2.5.1.3)");
    EXPECT_EQ(lines[1], "Hardware Version 0x10 (16)");
    EXPECT_EQ(lines[2], "FPGA Version 0x2A (42)");
    EXPECT_EQ(lines[3], "SN 0x1E240 (123456)");
    EXPECT_EQ(lines[4], "DLL Version 0x1.0.C.FF (1.0.12.255)");
    EXPECT_EQ(lines[5], "P000 0");
    EXPECT_EQ(lines[5 + 12], "P012 -5");
    EXPECT_EQ(lines[5 + 1], "P001 -1640531535");
    EXPECT_EQ(lines[516].substr(0, 5), "P511 ");
    EXPECT_EQ(lines[517], "P1000 90");
    EXPECT_EQ(lines[527], "P1010 -25");
    EXPECT_EQ(lines[532], "P1030 0");
    EXPECT_EQ(lines[538], "P1051 -0.125");
    EXPECT_EQ(lines[540], "P1059 1234.57");
    EXPECT_EQ(lines[558], "P1125 5");
    EXPECT_EQ(lines[578], "P1163 0");
    // Any value but 1 keeps the decimal form.
    EXPECT_EQ(FormatParFile(SampleVersions(), params, items, 2), content);
}

TEST_F(ParFileTest, OutputFormatOneWritesHexBytes)
{
    std::string lines;
    AppendParItemLines(lines, items, kParItemsAsBytes);
    const std::vector<std::string> split = SplitCrLf(lines);
    ASSERT_EQ(split.size(), 62u);
    EXPECT_EQ(split[0], "P1000 5A");
    EXPECT_EQ(split[10], "P1010 FF,FF,FF,E7");
    EXPECT_EQ(split[35], "P1101 3B,9A,CA,00");
    EXPECT_EQ(split[38], "P1113 C4,65,36,00");
    EXPECT_EQ(split[56], "P1143 40,CB,33,33");
}

TEST(ParLineParser, ExamplesOfTheFileFormat)
{
    ParLineResult r = Parse("P012 0x1F");
    EXPECT_EQ(r.kind, ParLineKind::Param);
    EXPECT_EQ(r.number, 12);
    EXPECT_EQ(r.paramValue, 31u);
    EXPECT_TRUE(r.log.empty());
    EXPECT_EQ(Parse("p012 20").paramValue, 20u);
    EXPECT_EQ(Parse("P012 -5").paramValue, static_cast<uint32_t>(-5));
    EXPECT_EQ(Parse("P511 0XfFfFfFfF").paramValue, 0xFFFFFFFFu);
    EXPECT_EQ(Parse("P000 -2147483648").paramValue, 0x80000000u);

    r = Parse("P512 7");
    EXPECT_EQ(r.kind, ParLineKind::BadNumber);
    EXPECT_EQ(r.log, "Error param is 512\n");
    r = Parse("P1234 5");
    EXPECT_EQ(r.kind, ParLineKind::ItemNotFound);
    EXPECT_EQ(r.log, "Error could not find param 1234 in the parameter list\nError param is 1234\n");
    EXPECT_EQ(Parse("P1196 5").log, "Error param is 1196\n");
    EXPECT_EQ(Parse("P999 5").log, "Error param is 999\n");
    EXPECT_EQ(Parse("PXYZ 5").log, "Error param is -1\n");
    EXPECT_EQ(Parse("P99999999999 5").log, "Error param is -1\n");

    r = Parse("P1010 -25");
    EXPECT_EQ(r.kind, ParLineKind::Item);
    EXPECT_EQ(kFlashItemTable[r.itemIndex].number, 1010);
    EXPECT_EQ(r.itemValue.intValue, -25);
    EXPECT_EQ(Parse("P1125 2.5e1").itemValue.floatValue, 25.0f);
    EXPECT_EQ(Parse("P1000 300").itemValue.byteValue, 300 & 0xFF);

    r = Parse("Firmware Version 0x2.5.1.3 (2.5.1.3)");
    EXPECT_EQ(r.kind, ParLineKind::NotValid);
    EXPECT_EQ(r.log, "Not a valid line:Firmware Version 0x2.5.1.3 (2.5.1.3)\n\n");
    EXPECT_EQ(Parse("").log, "Not a valid line:\n\n");
}

TEST(ParLineParser, ValuesThatDoNotParseOrFitMakeTheLineInvalid)
{
    for (const char* line : {"P5 10", "P012", "P012 ", "P012 abc", "P012 -", "P012 2147483648",
                             "P012 -2147483649", "P012 99999999999999999999", "P012 0x",
                             "P012 0xG1", "P012 0x100000000", "P1010 x", "P1125 abc", "P1125 1e39",
                             "P1125 +-1", "P1101 99999999999"}) {
        const ParLineResult r = Parse(line);
        EXPECT_EQ(r.kind, ParLineKind::NotValid) << line;
        EXPECT_EQ(r.log, std::string("Not a valid line:") + line + "\n\n");
    }
}

TEST(ParLineParser, FourByteFormReadsBackForWordItemsOnly)
{
    EXPECT_EQ(Parse("P1101 3B,9A,CA,00").itemValue.intValue, 1000000000);
    EXPECT_EQ(Parse("P1010 ff,ff,ff,e7").itemValue.intValue, -25);
    EXPECT_EQ(FloatBits(Parse("P1143 40,CB,33,33").itemValue.floatValue), 0x40CB3333u);
    EXPECT_EQ(FloatBits(Parse("P1030 7F,C0,00,01").itemValue.floatValue), 0x7FC00001u);
    // Byte items are read as decimal whatever the writer used.
    EXPECT_EQ(Parse("P1000 5A").itemValue.byteValue, 5);
}

TEST(ParLineParser, NulAndGarbageBytes)
{
    const ParLineResult leadingNul = Parse(std::string("\0P012 5", 7));
    EXPECT_EQ(leadingNul.kind, ParLineKind::NotValid);
    EXPECT_EQ(leadingNul.log, "Not a valid line:\n");
    EXPECT_EQ(Parse(std::string("P012 5\0" "99", 9)).paramValue, 5u);
    const std::string garbage = "\xFF\x80\x01\x7F";
    EXPECT_EQ(Parse(garbage).log, "Not a valid line:" + garbage + "\n\n");
    EXPECT_EQ(Parse("P\xFF\xFE").kind, ParLineKind::BadNumber);
}

TEST(ParLineReader, OnlyTerminatedLinesAreReadAndCrLfIsOneLineEnd)
{
    const std::vector<ParLine> lines = ReadLines("P001 1\r\n\nP002 2\nx\ry\r\nP003 3");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, "P001 1");
    EXPECT_EQ(lines[1].text, "");
    EXPECT_EQ(lines[2].text, "P002 2");
    EXPECT_EQ(lines[3].text, "x\ry");
    EXPECT_TRUE(ReadLines("").empty());
    EXPECT_TRUE(ReadLines("P004 4").empty());
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
    EXPECT_TRUE(lines[0].overLong);
    const ParLineResult r = ParseParLine(lines[0]);
    EXPECT_EQ(r.kind, ParLineKind::NotValid);
    EXPECT_EQ(r.log, "Not a valid line:" + head + "\n");
    EXPECT_EQ(ParseParLine(lines[1]).number, 14);
}

struct Loaded {
    int notValid = 0;
    std::vector<ParLineResult> params;
    FlashItemValues items{};
    int itemLines = 0;
};

Loaded Load(const std::string& content)
{
    Loaded loaded;
    for (const ParLine& line : ReadLines(content)) {
        const ParLineResult r = ParseParLine(line);
        if (r.kind == ParLineKind::NotValid)
            ++loaded.notValid;
        else if (r.kind == ParLineKind::Param)
            loaded.params.push_back(r);
        else if (r.kind == ParLineKind::Item) {
            loaded.items[r.itemIndex] = r.itemValue;
            ++loaded.itemLines;
        }
    }
    return loaded;
}

void ExpectParamsBack(const Loaded& loaded, const uint32_t (&params)[kParamCount])
{
    ASSERT_EQ(loaded.params.size(), 512u);
    for (int n = 0; n < kParamCount; ++n) {
        EXPECT_EQ(loaded.params[n].number, n);
        EXPECT_EQ(loaded.params[n].paramValue, params[n]) << "P" << n;
    }
}

TEST_F(ParFileTest, DecimalFileReadsBackWithinFloatPrintPrecision)
{
    const Loaded loaded = Load(FormatParFile(SampleVersions(), params, items, 0));
    EXPECT_EQ(loaded.notValid, 5);
    ExpectParamsBack(loaded, params);
    ASSERT_EQ(loaded.itemLines, 62);
    for (int i = 0; i < kFlashItemCount; ++i) {
        const FlashItem& item = kFlashItemTable[i];
        if (item.number == 1059) {
            EXPECT_EQ(loaded.items[i].floatValue, 1234.57f);
        } else {
            EXPECT_EQ(FlashItemBits(item.type, loaded.items[i]), FlashItemBits(item.type, items[i]))
                << "item " << item.number;
        }
    }
}

TEST_F(ParFileTest, HexByteFileReadsBackWordItemsExactly)
{
    ItemIn(items, 1063).floatValue = std::bit_cast<float>(0x7FC00001u);
    const Loaded loaded = Load(FormatParFile(SampleVersions(), params, items, kParItemsAsBytes));
    EXPECT_EQ(loaded.notValid, 5);
    ExpectParamsBack(loaded, params);
    ASSERT_EQ(loaded.itemLines, 62);
    for (int i = 0; i < kFlashItemCount; ++i) {
        const FlashItem& item = kFlashItemTable[i];
        if (item.type != FlashItemType::Byte) {
            EXPECT_EQ(FlashItemBits(item.type, loaded.items[i]), FlashItemBits(item.type, items[i]))
                << "item " << item.number;
        }
    }
    // Byte items come back as the decimal reading of their hex digits.
    EXPECT_EQ(ItemIn(loaded.items, 1000).byteValue, 5);      // "5A"
    EXPECT_EQ(ItemIn(loaded.items, 1131).byteValue, 25);     // "25"
    EXPECT_EQ(ItemIn(loaded.items, 1135).byteValue, 32);     // "32" from 50
}

} // namespace
