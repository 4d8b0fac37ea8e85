// "Save To File" and "Load From File": the file dialogs and the board lock
// around them, the exact file, loading it back onto the board, and files and
// folders that are not as expected.
#include "app/motion_state.h"
#include "homing/board_ready.h"
#include "homing/fences.h"
#include "infra/program_folder.h"
#include "infra/user_prompts.h"
#include "params/flash_store.h"
#include "params/par_file.h"
#include "res/resource.h"
#include "tests/support/sim_flash.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <commdlg.h>

#include <cstdio>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>
#include <thread>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr wchar_t kBoardLockName[] = L"ZEZ_LOCK";
constexpr size_t kHeaderLines = 5;
constexpr size_t kFileLines = kHeaderLines + kParamCount + kFlashItemCount;

// Whether another thread could take the board lock right now.
bool BoardLockIsFree()
{
    bool free = false;
    std::thread([&free] {
        HANDLE lock = CreateMutexW(nullptr, FALSE, kBoardLockName);
        const DWORD result = WaitForSingleObject(lock, 0);
        free = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        if (free)
            ReleaseMutex(lock);
        CloseHandle(lock);
    }).join();
    return free;
}

// Another program of the family inside a locked sequence.
class ForeignBoardLock {
public:
    ForeignBoardLock()
    {
        std::promise<void> held;
        std::future<void> isHeld = held.get_future();
        thread_ = std::thread([held = std::move(held), released = release_.get_future()]() mutable {
            HANDLE lock = CreateMutexW(nullptr, FALSE, kBoardLockName);
            WaitForSingleObject(lock, INFINITE);
            held.set_value();
            released.wait();
            ReleaseMutex(lock);
            CloseHandle(lock);
        });
        isHeld.wait();
    }
    ~ForeignBoardLock()
    {
        release_.set_value();
        thread_.join();
    }

private:
    std::promise<void> release_;
    std::thread thread_;
};

// What the program asked the file dialog for.
struct DialogSeen {
    bool save;
    OPENFILENAMEW ofn;
    std::wstring title, filterName, filterPattern, initialFile, initialDir;
    bool lockFree;
};

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

std::string ParamLine(int n)
{
    char line[32];
    std::snprintf(line, sizeof line, "P%03d %d", n, static_cast<int>(g_param[n]));
    return line;
}

class ParFile : public ::testing::Test {
protected:
    ParFile()
    {
        ResetFlashStore();
        WriteDefaultRecordToSimFlash();
        main = h.StartProgram();
        // The connection work reads the record from flash: done first, so
        // that it does not undo what a test sets up.
        EXPECT_TRUE(IsAXBBoardLoaded(true));
        AnswerFileDialogs(std::nullopt);
    }

    // The file dialogs answer with this path, or are cancelled.
    void AnswerFileDialogs(std::optional<std::filesystem::path> path)
    {
        InstallFileDialogAnswer([this, path](OPENFILENAMEW& ofn, bool save) {
            const std::wstring filter = ofn.lpstrFilter;
            dialogs.push_back({save, ofn, ofn.lpstrTitle, filter, ofn.lpstrFilter + filter.size() + 1, ofn.lpstrFile,
                               ofn.lpstrInitialDir, BoardLockIsFree()});
            const std::wstring answer = path ? path->wstring() : L"";
            if (answer.empty() || answer.size() >= ofn.nMaxFile)
                return false;
            std::copy(answer.c_str(), answer.c_str() + answer.size() + 1, ofn.lpstrFile);
            return true;
        });
    }

    std::vector<std::string> SaveTo(const std::filesystem::path& path)
    {
        AnswerFileDialogs(path);
        OnSaveToFileButton(main);
        return SplitCrLf(ReadBytes(path));
    }

    void LoadFrom(const std::filesystem::path& path)
    {
        AnswerFileDialogs(path);
        OnLoadFromFileButton(main);
    }

    // Every file of the test folder but the board's.
    std::vector<std::wstring> FilesInFolder() const
    {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(h.Folder()))
            if (entry.is_regular_file() && entry.path().filename() != L"board.state")
                names.push_back(entry.path().filename().wstring());
        return names;
    }

    static const std::string& ItemLine(const std::vector<std::string>& lines, int number)
    {
        return lines.at(kHeaderLines + kParamCount + FindFlashItem(number));
    }

    ProgramHarness h;
    HWND main = nullptr;
    std::vector<DialogSeen> dialogs;
};

TEST_F(ParFile, SaveWritesVersionsOpenFencesParametersAndItemsWhileHoldingTheLock)
{
    AxbSim_SetFirmwareVersion(0x02050103);
    AxbSim_SetSerialNumber(123456);
    g_param[100] = static_cast<uint32_t>(-5);
    g_flashItemValues[FindFlashItem(1010)].intValue = -25;
    krv_user_box_data.swFenceEnabled[0] = 1;
    krv_user_box_data.swFencePlus[0] = 5000;
    g_homeRefFound[0] = true;
    EnableSoftwareFences();
    const std::filesystem::path path = h.File(L"machine.par");
    const std::vector<std::string> lines = SaveTo(path);

    ASSERT_EQ(lines.size(), kFileLines);
    EXPECT_EQ(lines[0], "Firmware Version 0x2.5.1.3 (2.5.1.3)");
    EXPECT_EQ(lines[3], "SN 0x1E240 (123456)");
    EXPECT_EQ(lines[4].rfind("DLL Version 0x", 0), 0u);
    // The fence is stored open, the rest as the program holds it.
    for (int n = 0; n < kParamCount; ++n)
        EXPECT_EQ(lines[kHeaderLines + n], n == 68 ? "P068 1000000000" : ParamLine(n));
    EXPECT_EQ(lines[kHeaderLines + 100], "P100 -5");
    EXPECT_EQ(g_param[68], 5000u) << "and set again afterwards";
    EXPECT_EQ(ItemLine(lines, 1000), "P1000 90");
    EXPECT_EQ(ItemLine(lines, 1010), "P1010 -25");
    EXPECT_EQ(ItemLine(lines, 1151), "P1151 2.54");
    EXPECT_EQ(lines.back(), "P1163 0");

    ASSERT_EQ(dialogs.size(), 1u);
    const DialogSeen& d = dialogs[0];
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.ofn.hwndOwner, nullptr);
    EXPECT_EQ(d.title, L"par File to Save");
    EXPECT_EQ(d.filterName, L"Par Files (*.par)");
    EXPECT_EQ(d.filterPattern, L"*.par");
    EXPECT_EQ(d.initialFile, L"krv.par");
    EXPECT_EQ(d.ofn.nMaxFile, 260u);
    EXPECT_EQ(d.initialDir, ProgramFolder());
    EXPECT_EQ(d.ofn.Flags, static_cast<DWORD>(OFN_EXPLORER));
    EXPECT_EQ(d.ofn.lpstrDefExt, nullptr);
    EXPECT_FALSE(d.lockFree) << "the lock is taken before the dialog opens";
    EXPECT_TRUE(BoardLockIsFree());
    EXPECT_TRUE(h.Log().HasLine("File name " + Narrow(path.wstring())));
    EXPECT_THAT(FilesInFolder(), ElementsAre(L"machine.par")) << "no temporary file left behind";
}

TEST_F(ParFile, UserOutputFormat1WritesItemsAsBytes)
{
    const auto settings = h.Folder() / L"settings" / L"TavRosen" / L"Settings";
    std::filesystem::create_directories(settings);
    std::ofstream(settings / L"TavRosen.ini") << "[stagetune]\nUserOutputFormat=1\n";
    const std::vector<std::string> lines = SaveTo(h.File(L"bytes.par"));
    ASSERT_EQ(lines.size(), kFileLines);
    EXPECT_EQ(ItemLine(lines, 1000), "P1000 5A");
    EXPECT_EQ(ItemLine(lines, 1101), "P1101 3B,9A,CA,00");
    EXPECT_EQ(ItemLine(lines, 1125), "P1125 40,A0,00,00");
}

TEST_F(ParFile, LoadPutsASavedBoardBackWithoutCommittingTheFlash)
{
    const std::filesystem::path path = h.File(L"copy.par");
    const std::vector<std::string> saved = SaveTo(path);
    const uint32_t p050 = g_param[50];
    const uint32_t p100 = g_param[100];
    AxbSim_PokeParam(50, p050 + 17);
    AxbSim_PokeParam(100, 42);
    g_param[100] = 42;
    WriteItemToSimFlash(1014, FlashItemFromBits(FlashItemType::Int32, 777));   // committed
    machine_zero_offset[1] = 777;
    AxbSim_ClearCallLog();
    h.Log().Clear();
    LoadFrom(path);

    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_FALSE(dialogs[1].save);
    EXPECT_EQ(dialogs[1].title, L"par File to Save");
    EXPECT_EQ(dialogs[1].ofn.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_FILEMUSTEXIST));
    EXPECT_FALSE(dialogs[1].lockFree);
    EXPECT_TRUE(BoardLockIsFree());

    EXPECT_EQ(SimCallsStartingWith("AXB_SetParam(").size(), static_cast<size_t>(kParamCount));
    EXPECT_EQ(AxbSim_PeekParam(50), p050);
    EXPECT_EQ(AxbSim_PeekParam(100), p100);
    EXPECT_EQ(g_param[100], p100);
    EXPECT_EQ(ControlText(main, IDC_PARAM_P), std::to_wstring(static_cast<int32_t>(p050))) << "fields show the file";
    EXPECT_EQ(SimFlashItem(1014).intValue, 0);
    EXPECT_EQ(machine_zero_offset[1], 0);
    EXPECT_THAT(SimCallsStartingWith("AXB_CommitFlashWords("), IsEmpty());
    const std::vector<std::string> log = h.Log().Lines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "File name " + Narrow(path.wstring()));
    EXPECT_EQ(log[1], "Not a valid line:" + saved[0]) << "header lines are not values";
    EXPECT_EQ(log.back(), "krv_user_box_data.counts_per_360_q0");

    AxbSim_PowerCycle();
    EXPECT_EQ(SimFlashItem(1014).intValue, 777) << "loaded items last only until Save To Flash";
}

TEST_F(ParFile, MalformedFilesAreReportedLineByLineAndTheGoodLinesStillLoad)
{
    const uint32_t p018 = AxbSim_PeekParam(18);
    const uint32_t p020 = AxbSim_PeekParam(20);
    const std::filesystem::path path = h.File(L"bad.par");
    std::ofstream(path, std::ios::binary) << "garbage\r\n"
                                          << std::string("\x01\xff\xfe\0binary\r\n", 12)
                                          << "P012 0x1F\r\n" << "p014 20\n" << "P016 -5\r\n"
                                          << "P018 99999999999\r\n" << "P512 7\r\n" << "P1234 5\r\n"
                                          << "P" << std::string(600, '1') << "\r\n"
                                          << "P1010 -25\r\n"
                                          << "P020 3";   // no line end: not read
    const std::filesystem::path endless = h.File(L"endless.par");
    std::ofstream(endless, std::ios::binary) << std::string(200000, 'P');
    AxbSim_ClearCallLog();
    LoadFrom(path);
    LoadFrom(endless);
    LoadFrom(h.File(L"missing.par"));

    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,12,31)=1", "AXB_SetParam(0,14,20)=1", "AXB_SetParam(0,16,4294967291)=1"));
    EXPECT_EQ(AxbSim_PeekParam(18), p018);
    EXPECT_EQ(AxbSim_PeekParam(20), p020);
    EXPECT_EQ(SimFlashItem(1010).intValue, -25);
    EXPECT_EQ(machine_zero_offset[0], -25);
    for (const std::string line : {"Not a valid line:garbage", "Not a valid line:P018 99999999999",
                                   "Error param is 512", "Error could not find param 1234 in the parameter list",
                                   "Error param is 1234"})
        EXPECT_TRUE(h.Log().HasLine(line)) << line;
    EXPECT_TRUE(h.Log().HasLine("Not a valid line:P" + std::string(526, '1')));
    EXPECT_TRUE(BoardLockIsFree());
}

TEST_F(ParFile, BoardLockHeldElsewhereStopsBothBeforeTheDialog)
{
    g_contGotoState = kContGotoMoving;
    g_contHomeState = kContHomeHoming;
    AxbSim_ClearCallLog();
    h.Log().Clear();
    {
        ForeignBoardLock other;
        OnSaveToFileButton(main);
        OnLoadFromFileButton(main);
    }
    EXPECT_THAT(h.Log().Lines(), ElementsAre("Failed to get ZEZ_LOCK KRV_AXBSaveParamToFilebd",
                                             "Failed to get ZEZ_LOCK KRV_AXBLoadParamFromFilebd"));
    EXPECT_TRUE(dialogs.empty());
    EXPECT_THAT(SimCalls(), IsEmpty());
    EXPECT_EQ(g_contGotoState, kContGotoOff) << "continuous motion stops even so";
    EXPECT_EQ(g_contHomeState, kContHomeOff);
    EXPECT_TRUE(BoardLockIsFree());
}

TEST_F(ParFile, CancelledDialogsWriteAndLoadNothing)
{
    AxbSim_ClearCallLog();
    h.Log().Clear();
    OnSaveToFileButton(main);
    OnLoadFromFileButton(main);

    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_THAT(FilesInFolder(), IsEmpty());
    EXPECT_THAT(SimCalls(), IsEmpty());
    EXPECT_THAT(h.Log().Lines(), IsEmpty());
    EXPECT_TRUE(BoardLockIsFree());
}

TEST_F(ParFile, FailedSaveKeepsThePreviousFile)
{
    const std::filesystem::path nowhere = h.File(L"missing") / L"machine.par";
    SaveTo(nowhere);
    EXPECT_TRUE(h.Log().HasLine("Error fptr is NULL"));
    EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));

    // A write-protected file is not opened for writing, as a plain open
    // would not be either.
    const std::filesystem::path path = h.File(L"protected.par");
    std::ofstream(path, std::ios::binary) << "previous\r\n";
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    h.Log().Clear();
    AnswerFileDialogs(path);
    OnSaveToFileButton(main);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), "previous\r\n");
    EXPECT_TRUE(h.Log().HasLine("Error fptr is NULL"));

    // A target that cannot be replaced (here a folder of that name) is
    // reported, and no half-written file is left beside it.
    const std::filesystem::path folder = h.File(L"folder.par");
    std::filesystem::create_directories(folder / L"inside");
    AnswerFileDialogs(folder);
    OnSaveToFileButton(main);
    EXPECT_TRUE(std::filesystem::is_directory(folder / L"inside"));
    EXPECT_TRUE(h.Log().HasLine("Error could not write " + Narrow(folder.wstring())));
    EXPECT_THAT(FilesInFolder(), ElementsAre(L"protected.par"));
    EXPECT_TRUE(BoardLockIsFree());

    // A good save over an existing file replaces it whole.
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');
    EXPECT_EQ(SaveTo(path).size(), kFileLines);
}

} // namespace
