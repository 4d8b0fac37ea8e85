#include "tests/support/program_harness.h"

#include "app/main_window.h"
#include "app/program_state.h"
#include "infra/program_folder.h"
#include "infra/settings.h"
#include "infra/user_prompts.h"
#include "sim/board/axbsim.h"
#include "tests/support/prompt_guard.h"
#include "tests/support/sim_flash.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

namespace {

std::filesystem::path MakePrivateFolder()
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::wstring name = L"stagetune-" + std::to_wstring(GetCurrentProcessId());
    if (test)
        name += L"-" + Widen(test->name());
    auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    // A commissioned machine has its settings folder: the program writes
    // its settings file there.
    std::filesystem::create_directories(folder / L"settings" / L"TavRosen" / L"Settings");
    return folder;
}

} // namespace

ProgramHarness::ProgramHarness(uint64_t clockStartMs) : folder_(MakePrivateFolder())
{
    SetEnvironmentVariableW(L"KRV_SETTINGS", (folder_ / L"settings").c_str());
    SetEnvironmentVariableW(L"AXBSIM_STATE", (folder_ / L"board.state").c_str());
    // The board's own state file beside the DLL is a person's machine: never
    // touch it from a test.
    AxbSim_SetStateFile((folder_ / L"board.state").c_str());
    SetProgramFolder(folder_.wstring());
    SetUnitTypeFile((folder_ / L"tavrosen.ini").wstring());
    AxbSim_Reset();
    // A commissioned board: its flash holds the program's record. Tests of a
    // new board blank it again before starting the program.
    WriteDefaultRecordToSimFlash();
    ResetAllProgramState();
    clock_ = std::make_unique<VirtualClock>(clockStartMs);
    log_ = std::make_unique<LogCapture>();
    InstallMessageBoxAnswer([this](HWND, std::wstring_view text, std::wstring_view caption, UINT type) {
        prompts_.push_back({std::wstring(text), std::wstring(caption), type});
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected message box: " << Narrow(std::wstring(caption)) << ": "
                          << Narrow(std::wstring(text));
            return IDCANCEL;
        }
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

ProgramHarness::~ProgramHarness()
{
    if (main_ && IsWindow(main_))
        DestroyWindow(main_);
    PumpMessages();
    FailOnUnexpectedPrompts();
    log_.reset();
    clock_.reset();
    SetProgramFolder(L"");
    SetUnitTypeFile(L"");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

HWND ProgramHarness::StartProgram()
{
    main_ = CreateMainWindow(GetModuleHandleW(nullptr));
    PumpMessages();
    return main_;
}

HWND ProgramHarness::RestartProgram(const std::function<void()>& setUp)
{
    if (main_ && IsWindow(main_))
        DestroyWindow(main_);
    PumpMessages();
    ResetAllProgramState();
    AxbSim_PowerCycle();
    log_->Clear();
    if (setUp)
        setUp();
    return StartProgram();
}
