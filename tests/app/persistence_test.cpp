// What the technician keeps across a restart of the program: the goto
// settings on Exit, not on the close box. The flash record and parameter
// files have suites of their own (tests/board, tests/params).
#include "core/motion_state.h"
#include "res/resource.h"
#include "tests/support/program_harness.h"
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
    ProgramHarness h;
};

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

} // namespace
