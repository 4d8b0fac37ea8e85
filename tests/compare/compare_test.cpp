// Did I save that, what did I change: the flash line, the question before
// changes are lost, the history of flash saves and the Compare window, as a
// technician uses them on the simulated board.
#include "board/flash_baseline.h"
#include "board/fences.h"
#include "compare/compare_window.h"
#include "core/auto_home_state.h"
#include "core/session_state.h"
#include "infra/user_prompts.h"
#include "sim/board/axbsim.h"
#include "ui/main_window_handle.h"
#include "tests/support/program_test.h"

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Compare : public ProgramTest {
protected:
    void SetUp() override { Start([] { AxbSim_SetSerialNumber(kSerial); }); }
    void AnswerFileDialogs(const fs::path& path)
    {
        InstallFileDialogAnswer([path](OPENFILENAMEW& ofn, bool) {
            wcscpy(ofn.lpstrFile, path.c_str());
            return true;
        });
    }
    void ApplyYGain(const wchar_t* gain)
    {
        ChooseAxis(IDC_AXIS_Y);
        TypeText(main, IDC_PARAM_P, gain);
        Press(IDC_APPLY);
    }
    static constexpr uint32_t kSerial = 4242;
    fs::path HistoryFolder() const
    {
        return h.Folder() / L"settings" / L"TavRosen" / L"Settings" / L"Boards" / std::to_wstring(kSerial);
    }
    std::vector<fs::path> HistoryFiles() const
    {
        std::vector<fs::path> files;
        if (fs::exists(HistoryFolder()))
            for (const auto& entry : fs::directory_iterator(HistoryFolder()))
                if (entry.path().extension() == L".par")
                    files.push_back(entry.path());
        return files;
    }
    // The list's rows as "number|left|right".
    static std::vector<std::string> Rows(HWND dlg)
    {
        HWND list = GetDlgItem(dlg, IDC_CMP_LIST);
        std::vector<std::string> rows;
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            std::string row;
            for (int column : {0, 3, 4}) {
                wchar_t text[128] = {};
                ListView_GetItemText(list, i, column, text, 128);
                row += (column ? "|" : "") + Narrow(text);
            }
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(Compare, AnAppliedGainIsUnsavedUntilSaveToFlashWhichKeepsAHistoryFile)
{
    EXPECT_EQ(Text(main, IDC_FLASH_STATE), "Saved to flash");
    const uint32_t before = g_param[90];
    ApplyYGain(L"77");
    EXPECT_EQ(Text(main, IDC_FLASH_STATE), "Not saved to flash: 1 parameter");
    Press(IDC_FLASH_STATE);
    ASSERT_NE(g_compareDlg, nullptr);
    EXPECT_THAT(Rows(g_compareDlg), ElementsAre("P090|77|" + std::to_string(before)));
    EXPECT_EQ(Text(g_compareDlg, IDC_CMP_SUMMARY), "1 parameter and 0 record items differ");
    Press(IDC_SAVE_FLASH);
    EXPECT_EQ(Text(main, IDC_FLASH_STATE), "Saved to flash");
    EXPECT_THAT(Rows(g_compareDlg), IsEmpty()) << "the open window follows the board";
    const std::vector<fs::path> files = HistoryFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(Narrow(files[0].filename().wstring()), std::regex(R"(\d{4}-\d\d-\d\d \d{6}\.par)")));
    std::ifstream in(files[0], std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(saved.find("\r\nP090 77\r\n"), std::string::npos);
}

// Only the 200 newest saves of a board stay; the fences, which every save
// stores open and the program sets again, are never an unsaved change.
TEST_F(Compare, TheHistoryKeepsTheNewestSavesAndTheFencesAreNoChange)
{
    const fs::path folder = HistoryFolder();
    fs::create_directories(folder);
    for (int i = 0; i < 200; ++i)
        std::ofstream(folder / (L"2000-01-01 " + std::to_wstring(100000 + i) + L".par"));
    krv_user_box_data.swFenceEnabled[0] = 1;
    krv_user_box_data.swFencePlus[0] = 5000;
    g_homeRefFound[0] = true;
    EnableSoftwareFences();
    Press(IDC_SAVE_FLASH);
    EXPECT_EQ(Text(main, IDC_FLASH_STATE), "Saved to flash");
    EXPECT_EQ(HistoryFiles().size(), 200u);
    EXPECT_FALSE(fs::exists(folder / L"2000-01-01 100000.par"));
    EXPECT_TRUE(fs::exists(folder / L"2000-01-01 100001.par"));
}

// A file differing in 12 places loads onto the board: exactly those 12 are
// unsaved, and the two files compare without the board.
TEST_F(Compare, ALoadedFileShowsExactlyItsDifferencesAndTwoFilesCompare)
{
    const fs::path original = h.File(L"original.par"), changed = h.File(L"changed.par");
    AnswerFileDialogs(original);
    Press(IDC_SAVE_FILE);
    std::ifstream in(original, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    auto set = [&text](const std::string& key, const std::string& value) {
        text = std::regex_replace(text, std::regex("\r\n" + key + " [^\r]*\r\n"), "\r\n" + key + " " + value + "\r\n");
    };
    for (const char* key : {"P001", "P002", "P003", "P005", "P100", "P101", "P140", "P200", "P300", "P400"})
        set(key, "4242");
    set("P1050", "3");
    set("P1159", "360000");
    std::ofstream(changed, std::ios::binary) << text;
    AnswerFileDialogs(changed);
    Press(IDC_LOAD_FILE);
    EXPECT_EQ(Text(main, IDC_FLASH_STATE), "Not saved to flash: 10 parameters, 2 record items");
    Press(IDC_COMPARE);
    EXPECT_EQ(Rows(g_compareDlg).size(), 12u);
    AnswerFileDialogs(original);
    ChooseListItem(g_compareDlg, IDC_CMP_LEFT_KIND, 2);
    PressButton(g_compareDlg, IDC_CMP_LEFT_FILE);
    AnswerFileDialogs(changed);
    ChooseListItem(g_compareDlg, IDC_CMP_RIGHT_KIND, 2);
    PressButton(g_compareDlg, IDC_CMP_RIGHT_FILE);
    EXPECT_EQ(Rows(g_compareDlg).size(), 12u);
    EXPECT_FALSE(IsControlEnabled(g_compareDlg, IDC_CMP_WRITE)) << "no board side";
}

// Selected rows take the flash's values back through the one write, and the
// export is the list as CSV.
TEST_F(Compare, WriteSelectedRestoresTheOtherSideAndExportWritesTheRows)
{
    const uint32_t before = g_param[90];
    ApplyYGain(L"77");
    OpenCompareWindow(CompareStart::BoardAgainstFlash);
    const fs::path csv = h.File(L"changes.csv");
    AnswerFileDialogs(csv);
    PressButton(g_compareDlg, IDC_CMP_EXPORT);
    std::ifstream in(csv, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}),
              "Number,Name,Axis,Board,Flash,Difference\r\nP090,P,Y,77," + std::to_string(before) + "," +
                  std::to_string(int(before) - 77) + "\r\n");
    ListView_SetItemState(GetDlgItem(g_compareDlg, IDC_CMP_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    Forget();
    PressButton(g_compareDlg, IDC_CMP_WRITE);
    EXPECT_THAT(LinesStartingWith({"Setting param"}), ElementsAre("Setting param90 to " + std::to_string(before)));
    EXPECT_EQ(AxbSim_PeekParam(90), before);
    EXPECT_EQ(Text(main, IDC_FLASH_STATE), "Saved to flash");
}

TEST_F(Compare, ABoardThatKeepsItsValueIsLoggedAndCountsAsUnsaved)
{
    const uint32_t before = g_param[90];
    AxbSim_SetParamRefused(90, 1);
    ApplyYGain(L"77");
    EXPECT_TRUE(Logged("Board kept P090 at " + std::to_string(before) + ", not 77"));
    EXPECT_EQ(Text(main, IDC_FLASH_STATE), "Not saved to flash: 1 parameter");
    const std::string value = std::to_string(before);
    EXPECT_EQ(FormatDiffCsv(DifferingRows(BoardAgainstFlashRows()), L"Board", L"Flash"),
              "Number,Name,Axis,Board,Flash,Difference\r\nP090,P (the board kept its value),Y," + value + "," + value +
                  ",0\r\n");
}

TEST_F(Compare, AfterCopySettingsTheAxesShowNoRow)
{
    ApplyYGain(L"77");
    g_radio_last = 1;
    OpenModal(IDC_COPY_SETTINGS, [&](HWND dlg) {
        CheckDlgButton(dlg, IDC_COPY_TO_X, BST_CHECKED);
        PressButton(dlg, IDC_COPY_COPY);
        PressButton(dlg, IDC_COPY_EXIT);
    });
    Press(IDC_COMPARE);
    ChooseListItem(g_compareDlg, IDC_CMP_LEFT_KIND, 4);
    ChooseListItem(g_compareDlg, IDC_CMP_RIGHT_KIND, 4);
    ChooseListItem(g_compareDlg, IDC_CMP_RIGHT_DETAIL, 1);
    EXPECT_THAT(Rows(g_compareDlg), IsEmpty());
}

// Exit, the close box and Reset ask only with unsaved changes, and only
// while "WarnUnsavedChanges" is not 0.
TEST_F(Compare, LosingUnsavedChangesAsksFirstUnlessSwitchedOff)
{
    ApplyYGain(L"77");
    h.AnswerNextMessageBox(IDCANCEL);
    SendMessageW(main, WM_CLOSE, 0, 0);
    h.AnswerNextMessageBox(IDCANCEL);
    Press(IDC_RESET);
    ASSERT_EQ(h.MessageBoxesSeen().size(), 2u);
    EXPECT_EQ(h.MessageBoxesSeen()[0].text,
              L"1 changes are not saved to flash and are lost when the board is switched off or reset. Save to flash first?");
    EXPECT_TRUE(g_mainWnd == main && AxbSim_IsDriverOpen());
    WriteSetting(L"stagetune", L"WarnUnsavedChanges", L"0");
    Press(IDC_RESET);
    EXPECT_EQ(h.MessageBoxesSeen().size(), 2u);
    ApplyYGain(L"78");
    WriteSetting(L"stagetune", L"WarnUnsavedChanges", L"1");
    h.AnswerNextMessageBox(IDNO);
    SetFocus(GetDlgItem(main, IDC_EXIT));
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_EXIT)));
    int code = -99;
    EXPECT_TRUE(PumpMessages(&code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(g_mainWnd, nullptr);
}

} // namespace
