// What the technician keeps: the flash record of a new board, "Save To
// Flash" across a restart, the goto settings on Exit, and a parameter file
// saved and loaded through the buttons.
#include "board/board_ready.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "infra/user_prompts.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_flash.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Persistence : public ::testing::Test {
protected:
    std::string Text(int id) { return Narrow(ControlText(h.Main(), id)); }
    void AnswerFileDialogWith(const std::filesystem::path& path)
    {
        InstallFileDialogAnswer([path](OPENFILENAMEW& ofn, bool) {
            wcsncpy(ofn.lpstrFile, path.c_str(), ofn.nMaxFile - 1);
            return true;
        });
    }
    ProgramHarness h;
};

TEST_F(Persistence, NewBoardAsksOnceAndKeepsTheDefaults)
{
    FillSimFlash(0xFFFFFFFFu);
    h.AnswerNextMessageBox(IDOK);
    h.StartProgram();
    ASSERT_EQ(h.MessageBoxesSeen().size(), 1u);
    EXPECT_EQ(h.MessageBoxesSeen()[0].text, L"A corrupt value has been detected in flash.  OK to set to defaults");
    EXPECT_EQ(h.MessageBoxesSeen()[0].caption, L"Flash error");
    EXPECT_EQ(h.MessageBoxesSeen()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OKCANCEL));

    h.RestartProgram();
    EXPECT_EQ(h.MessageBoxesSeen().size(), 1u) << "the next start passes the check";
    EXPECT_EQ(krv_user_box_data.memoryInitialized, 90);
}

TEST_F(Persistence, SaveToFlashSurvivesARestart)
{
    HWND main = h.StartProgram();
    // The record as the board holds it is read at the first readiness check;
    // edits are made after it, as the setup dialogs do.
    IsAXBBoardLoaded(true);
    TypeText(main, IDC_PARAM_P, L"4242");
    machine_zero_offset[1] = 1234;
    PressButton(main, IDC_SAVE_FLASH);

    main = h.RestartProgram();
    EXPECT_EQ(g_param[50], 4242u);
    EXPECT_EQ(Text(IDC_PARAM_P), "4242");
    EXPECT_EQ(machine_zero_offset[1], 1234);
}

TEST_F(Persistence, UnsavedChangesAreGoneAfterARestart)
{
    HWND main = h.StartProgram();
    const uint32_t stored = g_param[50];
    TypeText(main, IDC_PARAM_P, std::to_wstring(stored + 1));
    PressButton(main, IDC_APPLY);
    EXPECT_EQ(AxbSim_PeekParam(50), stored + 1);
    h.RestartProgram();
    EXPECT_EQ(g_param[50], stored);
}

TEST_F(Persistence, ExitSavesTheGotoSettingsButTheCloseBoxDoesNot)
{
    HWND main = h.StartProgram();
    EXPECT_EQ(Text(IDC_TARGET), "5.0000") << "no zoom.ini yet: the default target";
    TypeText(main, IDC_TARGET, L"12.5");
    PressButton(main, IDC_APPLY);
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(std::filesystem::exists(h.File(L"zoom.ini")));

    main = h.RestartProgram();
    TypeText(main, IDC_TARGET, L"12.5");
    PressButton(main, IDC_APPLY);
    SetFocus(GetDlgItem(main, IDC_EXIT));
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_EXIT)));
    const std::string ini = ReadFile(h.File(L"zoom.ini"));
    EXPECT_NE(ini.find("[CNC AXIS 0]"), std::string::npos);
    EXPECT_NE(ini.find("Target mm=12.5"), std::string::npos) << ini;

    h.RestartProgram();
    EXPECT_FLOAT_EQ(g_targetMm[0], 12.5f);
}

TEST_F(Persistence, ParameterFileRoundTripThroughTheButtons)
{
    HWND main = h.StartProgram();
    const auto file = h.File(L"machine.par");
    AnswerFileDialogWith(file);
    PressButton(main, IDC_SAVE_FILE);
    const std::string saved = ReadFile(file);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 5 + 512 + 62);

    const uint32_t p50 = g_param[50];
    TypeText(main, IDC_PARAM_P, std::to_wstring(p50 + 7));
    PressButton(main, IDC_APPLY);
    EXPECT_EQ(AxbSim_PeekParam(50), p50 + 7);

    PressButton(main, IDC_LOAD_FILE);
    EXPECT_EQ(AxbSim_PeekParam(50), p50);
    EXPECT_EQ(g_param[50], p50);
    EXPECT_EQ(Text(IDC_PARAM_P), std::to_string(p50));
    EXPECT_TRUE(h.Log().HasLine("File name " + Narrow(file.wstring())));
}

} // namespace
