// The ".par" parameter file: its text, how each line reads back, and "Save
// To File" and "Load From File" with their dialogs and the board lock.
#include "app/persistence_buttons.h"
#include "board/board_ready.h"
#include "board/fences.h"
#include "core/motion_state.h"
#include "core/par_format.h"
#include "infra/program_folder.h"
#include "infra/user_prompts.h"
#include "params/par_file.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/sim_flash.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <commdlg.h>

#include <algorithm>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>
#include <sstream>
#include <thread>
#include <tuple>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

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

TEST(ParFileText, HeaderParametersAndItemsWithCrLf)
{
    uint32_t params[kParamCount];
    for (int n = 0; n < kParamCount; ++n)
        params[n] = 2654435761u * static_cast<uint32_t>(n);
    params[12] = static_cast<uint32_t>(-5);
    FlashItemValues items;
    for (int i = 0; i < kFlashItemCount; ++i)
        items[i] = kFlashItemTable[i].defaultValue;
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
        {5, "P000 0"}, {6, "P001 -1640531535"}, {17, "P012 -5"}, {516, "P511 -792991665"},
        {517, "P1000 90"}, {527, "P1010 -25"}, {540, "P1059 1234.57"}, {558, "P1125 5"}, {573, "P1143 6.35"},
        {578, "P1163 0"}};
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
        {"P1000 255", kDecimal, 255}, {"P1000 0x5A", kDecimal, 0x5A}, {"P1135 32", kDecimal, 32},
        // A byte of a file written as bytes is hexadecimal.
        {"P1000 5A", kBytes, 0x5A}, {"P1135 32", kBytes, 0x32}, {"P1163 0", kBytes, 0}};
    for (const auto& [line, form, value] : lines) {
        const ParLineResult r = Parse(line, form);
        ASSERT_EQ(r.kind, r.number < 1000 ? ParLineKind::Param : ParLineKind::Item) << line;
        const bool param = r.kind == ParLineKind::Param;
        EXPECT_EQ(param ? r.paramValue : FlashItemBits(kFlashItemTable[r.itemIndex].type, r.itemValue), value) << line;
        EXPECT_TRUE(r.log.empty());
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

// Another program of the family: takes the board lock at once if it can, on
// a thread of its own, and keeps it until destroyed.
class ForeignBoardLock {
public:
    ForeignBoardLock() { holds_ = tried_.get_future().get(); }
    ~ForeignBoardLock()
    {
        finish_.set_value();
        thread_.join();
    }
    bool Holds() const { return holds_; }

private:
    std::promise<bool> tried_;
    std::promise<void> finish_;
    bool holds_ = false;
    std::thread thread_{[this] {
        HANDLE lock = CreateMutexW(nullptr, FALSE, L"ZEZ_LOCK");
        const DWORD result = WaitForSingleObject(lock, 0);
        const bool holds = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        tried_.set_value(holds);
        finish_.get_future().wait();
        if (holds)
            ReleaseMutex(lock);
        CloseHandle(lock);
    }};
};

bool BoardLockIsFree() { return ForeignBoardLock().Holds(); }

// What the program asked a file dialog for: saving, title, filter, file,
// folder, buffer size, flags, and whether the board lock was free meanwhile.
using DialogSeen = std::tuple<bool, std::wstring, std::wstring, std::wstring, std::wstring, DWORD, DWORD, bool>;

class ParFile : public ::testing::Test {
protected:
    ParFile()
    {
        main = h.StartProgram();
        EXPECT_TRUE(IsAXBBoardLoaded(true));   // reads the record: done before a test changes it
        AnswerFileDialogs(std::nullopt);
    }
    ~ParFile() override { EXPECT_TRUE(BoardLockIsFree()) << "the board lock is given back"; }

    // The file dialogs answer with this path, or are cancelled.
    void AnswerFileDialogs(std::optional<std::filesystem::path> path)
    {
        InstallFileDialogAnswer([this, path](OPENFILENAMEW& ofn, bool save) {
            const std::wstring filter = ofn.lpstrFilter;
            dialogs.emplace_back(save, ofn.lpstrTitle, filter + L"|" + (ofn.lpstrFilter + filter.size() + 1),
                                 ofn.lpstrFile, ofn.lpstrInitialDir, ofn.nMaxFile, ofn.Flags,
                                 BoardLockIsFree());
            if (!path || path->wstring().size() >= ofn.nMaxFile)
                return false;
            wcscpy(ofn.lpstrFile, path->c_str());
            return true;
        });
    }

    // Presses the button with its dialog answered; the file as it is then.
    std::string Press(void (*button)(HWND), const std::filesystem::path& path)
    {
        AnswerFileDialogs(path);
        button(main);
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // A saved file leaves no temporary file behind it.
    long EntriesInFolder() const { return std::distance(std::filesystem::directory_iterator(h.Folder()), {}); }

    ProgramHarness h;
    HWND main = nullptr;
    std::vector<DialogSeen> dialogs;
};

TEST_F(ParFile, SavedFileLoadsBackWithoutCommittingTheFlash)
{
    AxbSim_SetFirmwareVersion(0x02050103);
    const uint32_t p100 = g_param[100];
    krv_user_box_data.swFenceEnabled[0] = 1;   // a fence on homed X
    krv_user_box_data.swFencePlus[0] = 5000;
    g_homeRefFound[0] = true;
    EnableSoftwareFences();
    const std::filesystem::path path = h.File(L"machine.par");
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');   // replaced whole
    const long entries = EntriesInFolder();
    const std::string saved = Press(OnSaveToFileButton, path);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 5 + 512 + 62);
    EXPECT_TRUE(saved.starts_with("Firmware Version 0x2.5.1.3 (2.5.1.3)\r\n"));
    EXPECT_NE(saved.find("\nP068 1000000000\r\n"), std::string::npos) << "the fence is stored open";
    EXPECT_EQ(g_param[68], 5000u) << "and set again afterwards";
    EXPECT_TRUE(h.Log().HasLine("File name " + Narrow(path.wstring())));
    EXPECT_EQ(EntriesInFolder(), entries) << "no temporary file left behind";

    AxbSim_PokeParam(100, p100 + 42);
    g_param[100] = p100 + 42;
    WriteItemToSimFlash(1014, FlashItemFromBits(FlashItemType::Int32, 777));   // committed
    machine_zero_offset[1] = 777;
    AxbSim_ClearCallLog();
    h.Log().Clear();
    Press(OnLoadFromFileButton, path);
    // Each dialog opens with the board lock already held.
    const std::wstring title = L"par File to Save", filter = L"Par Files (*.par)|*.par", folder = ProgramFolder();
    EXPECT_THAT(dialogs, ElementsAre(DialogSeen(true, title, filter, L"krv.par", folder, 260, OFN_EXPLORER, false),
                                     DialogSeen(false, title, filter, L"krv.par", folder, 260,
                                                OFN_EXPLORER | OFN_FILEMUSTEXIST, false)));
    EXPECT_EQ(SimCallsStartingWith("AXB_SetParam(").size(), 512u);
    EXPECT_EQ(AxbSim_PeekParam(100), p100);
    EXPECT_EQ(machine_zero_offset[1], 0);
    EXPECT_THAT(SimCallsStartingWith("AXB_CommitFlashWords("), IsEmpty());
    // Header lines are not values; the lines after them load all the same.
    const std::vector<std::string> log = h.Log().Lines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "File name " + Narrow(path.wstring()));
    EXPECT_EQ(log[1], "Not a valid line:Firmware Version 0x2.5.1.3 (2.5.1.3)");
    EXPECT_EQ(log.back(), "krv_user_box_data.counts_per_360_q0");

    // "UserOutputFormat" 1 in the settings file writes the items as bytes.
    const auto settings = h.Folder() / L"settings" / L"TavRosen" / L"Settings";
    std::filesystem::create_directories(settings);
    std::ofstream(settings / L"TavRosen.ini") << "[stagetune]\nUserOutputFormat=1\n";
    EXPECT_NE(Press(OnSaveToFileButton, path).find("\nP1101 3B,9A,CA,00\r\n"), std::string::npos);

    AxbSim_PowerCycle();
    EXPECT_EQ(SimFlashItem(1014).intValue, 777) << "loaded items last only until Save To Flash";
}

// A value for every item that either form writes exactly: bytes above 0x9F
// and digit-only ones, negative integers, floats with few digits.
FlashItemValue SampleItem(int index, int seed)
{
    const FlashItemType type = kFlashItemTable[index].type;
    switch (type) {
    case FlashItemType::Byte: return FlashItemFromBits(type, (37u * index + 11u * seed) & 0xFF);
    case FlashItemType::Int32: return FlashItemFromBits(type, static_cast<uint32_t>(-123456789 + 1000 * index + seed));
    case FlashItemType::Float: break;
    }
    FlashItemValue value;
    value.floatValue = (index - 30) * 0.375f + seed;
    return value;
}

TEST_F(ParFile, EveryParameterAndItemComesBackFromAFileOfEitherForm)
{
    const auto settings = h.Folder() / L"settings" / L"TavRosen" / L"Settings";
    std::filesystem::create_directories(settings);
    const std::filesystem::path path = h.File(L"round-trip.par");
    for (int userOutputFormat : {0, kParItemsAsBytes}) {
        SCOPED_TRACE(userOutputFormat);
        std::ofstream(settings / L"TavRosen.ini") << "[stagetune]\nUserOutputFormat=" << userOutputFormat << "\n";
        uint32_t params[kParamCount];
        for (int n = 0; n < kParamCount; ++n)
            g_param[n] = params[n] = 2654435761u * static_cast<uint32_t>(n + userOutputFormat);
        for (int a = 0; a < kEncoderAxisCount; ++a) {   // a file keeps its fences open
            g_param[AxisParam(68, a)] = params[AxisParam(68, a)] = 1000000000u;
            g_param[AxisParam(69, a)] = params[AxisParam(69, a)] = static_cast<uint32_t>(-1000000000);
        }
        FlashItemValues items;
        for (int i = 0; i < kFlashItemCount; ++i)
            g_flashItemValues[i] = items[i] = SampleItem(i, userOutputFormat);
        Press(OnSaveToFileButton, path);

        for (int n = 0; n < kParamCount; ++n) {
            g_param[n] = 0;
            AxbSim_PokeParam(n, 0);
        }
        ResetFlashItems();
        Press(OnLoadFromFileButton, path);
        for (int n = 0; n < kParamCount; ++n) {
            EXPECT_EQ(g_param[n], params[n]) << n;
            EXPECT_EQ(AxbSim_PeekParam(n), params[n]) << n;
        }
        for (int i = 0; i < kFlashItemCount; ++i) {
            const FlashItem& item = kFlashItemTable[i];
            const uint32_t bits = FlashItemBits(item.type, items[i]);
            EXPECT_EQ(FlashItemBits(item.type, g_flashItemValues[i]), bits) << item.number;
            EXPECT_EQ(SimFlashItemBits(item.number), bits) << item.number;
        }
    }
}

TEST_F(ParFile, WithTheLockHeldElsewhereOrTheDialogCancelledNothingIsDone)
{
    g_contGotoState = kContGotoMoving;
    g_contHomeState = kContHomeHoming;
    AxbSim_ClearCallLog();
    h.Log().Clear();
    const long entries = EntriesInFolder();
    {
        ForeignBoardLock other;
        ASSERT_TRUE(other.Holds());
        OnSaveToFileButton(main);
        OnLoadFromFileButton(main);
    }
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Failed to get ZEZ_LOCK KRV_AXBSaveParamToFilebd",
                                             "Failed to get ZEZ_LOCK KRV_AXBLoadParamFromFilebd"));
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(g_contGotoState, kContGotoOff) << "continuous motion stops even so";
    EXPECT_EQ(g_contHomeState, kContHomeOff);

    h.Log().Clear();
    OnSaveToFileButton(main);   // cancelled
    OnLoadFromFileButton(main);
    Press(OnLoadFromFileButton, h.File(L"missing.par"));
    EXPECT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(EntriesInFolder(), entries);
    EXPECT_THAT(SimCalls(), IsEmpty());
    EXPECT_THAT(h.Log().Lines(), ElementsAre("File name " + Narrow(h.File(L"missing.par").wstring())));
}

TEST_F(ParFile, FailedSaveKeepsThePreviousFile)
{
    // A write-protected file is not opened, as a plain open would not be.
    const std::filesystem::path path = h.File(L"protected.par");
    std::ofstream(path, std::ios::binary) << "previous\r\n";
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const long entries = EntriesInFolder();
    EXPECT_EQ(Press(OnSaveToFileButton, path), "previous\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(h.Log().HasLine("Error fptr is NULL"));

    // A target that cannot be replaced is reported, and nothing left beside it.
    const std::filesystem::path folder = h.File(L"folder.par");
    std::filesystem::create_directories(folder / L"inside");
    Press(OnSaveToFileButton, folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder / L"inside"));
    EXPECT_TRUE(h.Log().HasLine("Error could not write " + Narrow(folder.wstring())));
    EXPECT_EQ(EntriesInFolder(), entries + 1);
}

} // namespace
