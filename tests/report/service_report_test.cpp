// "Service Report" as a technician presses it, the zip unpacked by Debian's
// unzip.
#include "compare/compare_window.h"
#include "core/capture_csv.h"
#include "infra/replacement_file.h"
#include "infra/settings.h"
#include "infra/user_prompts.h"
#include "scope/response_run.h"
#include "scope/scope_acquisition.h"
#include "sim/board/axbsim.h"
#include "tests/support/host_tool.h"
#include "tests/support/program_test.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <fstream>
#include <regex>
#include <sstream>

using namespace ::testing;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FileLines(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

class ServiceReport : public ProgramTest {
protected:
    ~ServiceReport() override { SetReplacementSpaceForTests(SIZE_MAX); }

    // Presses the button with the dialog answered with path; the message
    // box that follows is answered OK.
    void PressReport(const fs::path& path)
    {
        InstallFileDialogAnswer([this, path](OPENFILENAMEW& ofn, bool) {
            offeredName = ofn.lpstrFile;
            offeredFolder = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : L"";
            wcsncpy(ofn.lpstrFile, path.c_str(), ofn.nMaxFile - 1);
            return true;
        });
        h.AnswerNextMessageBox(IDOK);
        Press(IDC_SERVICE_REPORT);
        InstallFileDialogAnswer({});
    }
    // The zip unpacked into out/ by unzip, which checks every CRC.
    fs::path Unpack()
    {
        PressReport(h.File(L"report.zip"));
        EXPECT_EQ(RunHostScript(h.Folder(), "unzip -o report.zip -d out", 20000), 0)
            << std::ifstream(h.File(L"host-script.out")).rdbuf();
        return h.File(L"out");
    }
    std::string Summary(const fs::path& out)
    {
        std::ostringstream text;
        text << std::ifstream(out / L"summary.txt").rdbuf();
        return text.str();
    }

    std::wstring offeredName, offeredFolder;
};

} // namespace

TEST_F(ServiceReport, HoldsTheBoardTheLogAndWhatWentWrong)
{
    WriteSetting(L"stagetune", L"ZoomType", L"2");
    Start([] { AxbSim_SetSerialNumber(4242); });
    const fs::path history = fs::path(ResolveSettingsPath(L"Settings\\TavRosen.ini")).parent_path() / L"Boards\\4242";
    fs::create_directories(history);
    std::ofstream(history / L"2026-12-07 101010.par", std::ios::binary) << "P000 0\n";
    StartScopeAcquisition({{kAxisX, ScopeQuantity::kPosition, "mm"}}, {.lengthS = 1});
    RunUntil([] { return false; }, 100);   // armed before the move
    TypeText(main, IDC_TARGET, L"10");
    Press(IDC_GOTO);
    EXPECT_TRUE(RunUntil([] { return AxbSim_PeekPosition(0) == 10000 && ScopeCapturesCompleted() == 1; }));
    StartResponseRun({.axis = kAxisX, .distance = 1000, .dwellMs = 50, .repetitions = 1});
    EXPECT_TRUE(RunUntil([] { return ResponseRunTick(), MoveResponseCapturesSinceStart().size() == 1; }));
    TypeText(main, IDC_PARAM_TARGET_WINDOW, L"0.5");
    Press(IDC_APPLY);
    AxbSim_ForceMoveStatus(0, 0x40, 0x40);   // X on its hardware limit +
    RunUntil([] { return false; }, 1000);
    AxbSim_ForceMoveStatus(0, 0, 0);
    const fs::path out = Unpack();
    const std::vector<std::string> viewed = h.Log().Lines();

    PWSTR documents = nullptr;
    SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents);
    EXPECT_EQ(offeredFolder, documents);
    CoTaskMemFree(documents);
    EXPECT_TRUE(std::regex_match(Narrow(offeredName), std::regex(R"(stagetune-4242-\d{8}-\d{6}\.zip)")));

    int params = 0;
    for (const std::string& line : FileLines(out / L"board.par")) {
        int number = -1;
        long long value = 0;
        if (std::sscanf(line.c_str(), "P%d %lld", &number, &value) == 2 && number < 512) {
            EXPECT_EQ(static_cast<int32_t>(AxbSim_PeekParam(number)), value) << line;
            ++params;
        }
    }
    EXPECT_EQ(params, 512);
    const std::vector<std::string> log = FileLines(out / L"log.txt");
    ASSERT_GE(log.size(), viewed.size());
    EXPECT_THAT(std::vector<std::string>(log.end() - viewed.size(), log.end()), ElementsAreArray(viewed));
    EXPECT_THAT(log, Contains(StartsWith("Setting param")));
    const std::string summary = Summary(out);
    EXPECT_THAT(summary, HasSubstr("Board: present"));
    EXPECT_THAT(summary, HasSubstr("errors seen since start: 1\n"));
    EXPECT_THAT(summary,
                ContainsRegex("\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d \\(clock \\d+ ms\\)  Status  axis X  hardware limit \\+\n"));
    EXPECT_THAT(summary, HasSubstr("Zoom: ZoomType 2, Olympus turret box"));
    EXPECT_TRUE(fs::exists(out / L"settings" / L"TavRosen.ini"));
    EXPECT_THAT(FileLines(out / L"settings" / L"history.txt"), ElementsAre("2026-12-07 101010.par\t7"));
    EXPECT_FALSE(fs::is_empty(out / L"windows"));
    EXPECT_THAT(summary, HasSubstr("Flash: Not saved to flash: 1 parameter\n"));
    const auto Content = [](const fs::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    };
    EXPECT_EQ(Content(out / L"captures" / L"scope-001.csv"), WriteCaptureCsv(ScopeCapturesSinceStart().front()));
    EXPECT_EQ(Content(out / L"captures" / L"response-001.csv"),
              WriteCaptureCsv(MoveResponseCapturesSinceStart().front()));

    // changes.csv is what Compare's Export writes of the board against the flash.
    Press(IDC_FLASH_STATE);
    const fs::path exported = h.File(L"compare.csv");
    InstallFileDialogAnswer([&](OPENFILENAMEW& ofn, bool) { return wcscpy(ofn.lpstrFile, exported.c_str()), true; });
    PressButton(g_compareDlg, IDC_CMP_EXPORT);
    EXPECT_THAT(FileLines(out / L"changes.csv"), ElementsAre(StartsWith("Number,"), StartsWith("P060,")));
    EXPECT_EQ(Content(out / L"changes.csv"), Content(exported));
}

// Whatever stops the write, the folder is as it was and the technician
// reads why.
TEST_F(ServiceReport, FailedWriteLeavesNoFileAndSaysWhy)
{
    Start();
    const struct {
        fs::path path;
        size_t space;
        DWORD error;
    } cases[] = {
        {h.File(L"report.zip"), 1000, ERROR_DISK_FULL},
        {h.File(L"missing\\report.zip"), SIZE_MAX, ERROR_DIRECTORY},
    };
    std::ofstream(h.File(L"report.zip"), std::ios::binary) << "an earlier report";
    const auto entries = std::distance(fs::directory_iterator(h.Folder()), {});
    for (const auto& c : cases) {
        SetReplacementSpaceForTests(c.space);
        PressReport(c.path);
        SetReplacementSpaceForTests(SIZE_MAX);
        EXPECT_EQ(std::distance(fs::directory_iterator(h.Folder()), {}), entries) << "no temporary file is left";
        EXPECT_EQ(FileLines(h.File(L"report.zip")), std::vector<std::string>{"an earlier report"});
        ASSERT_FALSE(h.MessageBoxesSeen().empty());
        EXPECT_THAT(h.MessageBoxesSeen().back().text, HasSubstr(SystemErrorText(c.error))) << c.error;
    }
}

// Without a board the report still comes, with what the program knows.
TEST_F(ServiceReport, WithoutABoardSaysSo)
{
    Start([] { AxbSim_SetOpenFailures(-1); });
    const fs::path out = Unpack();
    EXPECT_THAT(Summary(out), HasSubstr("Board: absent"));
    EXPECT_FALSE(fs::exists(out / L"board.par"));
    EXPECT_THAT(FileLines(out / L"log.txt"), Contains("No AXB hardware attached"));
    EXPECT_TRUE(std::regex_match(Narrow(offeredName), std::regex(R"(stagetune-unknown-\d+-\d+\.zip)")));
}
