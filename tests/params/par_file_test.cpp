// "Save To File" and "Load From File" with their dialogs and the board lock.
#include "app/persistence_buttons.h"
#include "board/fences.h"
#include "core/motion_state.h"
#include "core/par_format.h"
#include "infra/program_folder.h"
#include "infra/user_prompts.h"
#include "tests/support/other_lock.h"
#include "tests/support/program_test.h"
#include "tests/support/sim_flash.h"

#include <commdlg.h>

#include <bit>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <tuple>

using namespace ::testing;

namespace {

// What the program asked a file dialog for: saving, the folder it opens in,
// its flags, and whether the board lock was free meanwhile.
using DialogSeen = std::tuple<bool, std::wstring, DWORD, bool>;

class ParFile : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        AnswerFileDialogs(std::nullopt);
    }
    ~ParFile() override { EXPECT_TRUE(OtherProgramCanTake(L"ZEZ_LOCK")) << "the board lock is given back"; }

    // The file dialogs answer with this path, or are cancelled.
    void AnswerFileDialogs(std::optional<std::filesystem::path> path)
    {
        InstallFileDialogAnswer([this, path](OPENFILENAMEW& ofn, bool save) {
            dialogs.emplace_back(save, ofn.lpstrInitialDir, ofn.Flags, OtherProgramCanTake(L"ZEZ_LOCK"));
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

    std::vector<DialogSeen> dialogs;
};

TEST_F(ParFile, SavedFileLoadsBackWithoutCommittingTheFlash)
{
    AxbSim_SetFirmwareVersion(0x02050103);
    krv_user_box_data.swFenceEnabled[0] = 1;   // a fence on homed X
    krv_user_box_data.swFencePlus[0] = 5000;
    g_homeRefFound[0] = true;
    EnableSoftwareFences();
    const std::filesystem::path path = h.File(L"machine.par");
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');   // replaced whole
    const long entries = EntriesInFolder();
    const std::string saved = Press(OnSaveToFileButton, path);
    EXPECT_TRUE(saved.starts_with("Firmware Version 0x2.5.1.3 (2.5.1.3)\r\n"));
    EXPECT_NE(saved.find("\nP068 1000000000\r\n"), std::string::npos) << "the fence is stored open";
    EXPECT_EQ(g_param[68], 5000u) << "and set again afterwards";
    EXPECT_EQ(EntriesInFolder(), entries) << "no temporary file left behind";
    WriteItemToSimFlash(1014, FlashItemFromBits(FlashItemType::Int32, 777));   // committed
    machine_zero_offset[1] = 777;
    g_contGotoState = kContGotoMoving;
    g_contHomeState = kContHomeHoming;
    Forget();
    Press(OnLoadFromFileButton, path);
    EXPECT_TRUE(g_contGotoState == kContGotoOff && g_contHomeState == kContHomeOff) << "continuous motion stops";
    // Each dialog opens with the board lock already held.
    EXPECT_THAT(dialogs, ElementsAre(DialogSeen(true, ProgramFolder(), OFN_EXPLORER, false),
                                     DialogSeen(false, ProgramFolder(), OFN_EXPLORER | OFN_FILEMUSTEXIST, false)));
    EXPECT_EQ(Calls("AXB_SetParam(").size(), 512u) << "every parameter, whatever the board holds";
    EXPECT_EQ(machine_zero_offset[1], 0) << "the record in memory takes the file's items";
    EXPECT_THAT(Calls("AXB_CommitFlashWords("), IsEmpty());
    // Header lines are not values; the lines after them load all the same.
    const auto log = h.Log().Lines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_THAT(std::vector(log.begin(), log.begin() + 2),
                ElementsAre("File name " + Narrow(path.wstring()), "Not a valid line:Firmware Version 0x2.5.1.3 (2.5.1.3)"));
    EXPECT_EQ(log.back(), "krv_user_box_data.counts_per_360_q0");
    AxbSim_PowerCycle();
    EXPECT_EQ(SimFlashItem(1014).intValue, 777) << "loaded items last only until Save To Flash";
}

// A value for every item that either form writes exactly: bytes above 0x9F
// and digit-only ones, negative integers, floats with few digits.
uint32_t SampleBits(int index, int seed)
{
    switch (kFlashItemTable[index].type) {
    case FlashItemType::Byte: return (37u * index + 11u * seed) & 0xFF;
    case FlashItemType::Int32: return static_cast<uint32_t>(-123456789 + 1000 * index + seed);
    case FlashItemType::Float: break;
    }
    return std::bit_cast<uint32_t>((index - 30) * 0.375f + seed);
}

TEST_F(ParFile, EveryParameterAndItemComesBackFromAFileOfEitherForm)
{
    const std::filesystem::path path = h.File(L"round-trip.par");
    const std::regex fourBytes("\nP1101 [0-9A-F]{2},[0-9A-F]{2},[0-9A-F]{2},[0-9A-F]{2}\r\n");
    for (int userOutputFormat : {0, kParItemsAsBytes}) {
        SCOPED_TRACE(userOutputFormat);
        WriteSetting(L"stagetune", L"UserOutputFormat", std::to_wstring(userOutputFormat).c_str());
        uint32_t params[kParamCount];
        for (int n = 0; n < kParamCount; ++n)
            g_param[n] = params[n] = 2654435761u * static_cast<uint32_t>(n + userOutputFormat);
        for (int a = 0; a < kEncoderAxisCount; ++a) {   // a file keeps its fences open
            g_param[AxisParam(68, a)] = params[AxisParam(68, a)] = 1000000000u;
            g_param[AxisParam(69, a)] = params[AxisParam(69, a)] = static_cast<uint32_t>(-1000000000);
        }
        for (int i = 0; i < kFlashItemCount; ++i)
            g_flashItemValues[i] = FlashItemFromBits(kFlashItemTable[i].type, SampleBits(i, userOutputFormat));
        const std::string saved = Press(OnSaveToFileButton, path);
        EXPECT_EQ(std::regex_search(saved, fourBytes), userOutputFormat == kParItemsAsBytes);
        for (int n = 0; n < kParamCount; ++n)
            AxbSim_PokeParam(n, g_param[n] = 0);
        ResetFlashItems();
        Press(OnLoadFromFileButton, path);
        for (int n = 0; n < kParamCount; ++n) {
            EXPECT_EQ(g_param[n], params[n]) << n;
            EXPECT_EQ(AxbSim_PeekParam(n), params[n]) << n;
        }
        for (int i = 0; i < kFlashItemCount; ++i) {
            const FlashItem& item = kFlashItemTable[i];
            EXPECT_EQ(FlashItemBits(item.type, g_flashItemValues[i]), SampleBits(i, userOutputFormat)) << item.number;
            EXPECT_EQ(SimFlashItemBits(item.number), SampleBits(i, userOutputFormat)) << item.number;
        }
    }
}

// A cancelled dialog or a file that is not there does nothing; a failed save
// keeps the previous file. (The lock held by another program is the board
// tests' business.)
TEST_F(ParFile, FailedSaveKeepsThePreviousFile)
{
    const long entries = EntriesInFolder();
    OnSaveToFileButton(main);
    OnLoadFromFileButton(main);
    Press(OnLoadFromFileButton, h.File(L"missing.par"));
    EXPECT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(EntriesInFolder(), entries);
    EXPECT_THAT(SimCalls(), IsEmpty());
    EXPECT_THAT(h.Log().Lines(), ElementsAre("File name " + Narrow(h.File(L"missing.par").wstring())));
    // A write-protected file is not opened, as a plain open would not be.
    const std::filesystem::path path = h.File(L"protected.par");
    std::ofstream(path, std::ios::binary) << "previous\r\n";
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Press(OnSaveToFileButton, path), "previous\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(Logged("Error fptr is NULL"));
    // A target that cannot be replaced is reported, and nothing left beside it.
    const std::filesystem::path folder = h.File(L"folder.par");
    std::filesystem::create_directories(folder / L"inside");
    Press(OnSaveToFileButton, folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder / L"inside"));
    EXPECT_TRUE(Logged("Error could not write " + Narrow(folder.wstring())));
    EXPECT_EQ(EntriesInFolder(), entries + 2) << "the two files of the test, nothing beside them";
}

} // namespace
