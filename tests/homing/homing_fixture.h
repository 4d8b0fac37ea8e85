#pragma once
// A program on the simulated board with auto-home set up through the flash
// record, and the progress dialog worked as a technician would: the clock
// runs while it is open, and a test may act at any moment of the run.
#include "board/board_ready.h"
#include "board/fences.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "homing/auto_home.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class HomingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A commissioned machine has its settings folder: "Auto Home" writes
        // "SetupSequencerActive" there so the end stops count as no error.
        std::filesystem::create_directories(h.Folder() / L"settings" / L"TavRosen" / L"Settings");
        main = h.StartProgram();
        // The first readiness check after start-up reads the flash record
        // and the parameters again; the tests set them up after it.
        IsAXBBoardLoaded(true);
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }
    void TearDown() override
    {
        // The run's log tells what went wrong far better than a stage number.
        if (HasFailure())
            for (const std::string& line : h.Log().Lines())
                std::printf("log: %s\n", line.c_str());
    }

    void Home(int axis, uint8_t method, bool negative = false, float velocity = 0.0f)
    {
        krv_user_box_data.autoHomeEnabled[axis] = 1;
        krv_user_box_data.zeroingMethod[axis] = method;
        krv_user_box_data.homingScanDirection[axis] = negative ? 1 : 0;
        krv_user_box_data.autoHomeVelocityPercent[axis] = velocity;
    }

    // Presses "Auto Home", confirms, and lets the run go on for at most
    // maxMs with the progress dialog open; `during` is asked after every
    // 10 ms and may act (true: stop letting time pass and press Cancel).
    void RunAutoHome(uint32_t maxMs = 60000, const std::function<bool(HWND)>& during = {})
    {
        h.AnswerNextMessageBox(IDOK);
        dialogSeen = false;
        OnNextModalDialog([&](HWND dialog) {
            dialogSeen = true;
            progressText = Narrow(ControlText(dialog, IDC_AUTO_HOME_AXES));
            for (uint32_t ms = 0; ms < maxMs && !ModalDialogEnded(dialog); ms += 10) {
                h.Clock().Advance(10);
                if (during && during(dialog))
                    break;
            }
            if (!ModalDialogEnded(dialog))
                PressButton(dialog, IDC_AUTO_HOME_CANCEL);
        });
        PressButton(main, IDC_AUTO_HOME);
    }

    bool Logged(const std::string& line) { return h.Log().HasLine(line); }
    int LineIndex(const std::string& line)
    {
        const std::vector<std::string> lines = h.Log().Lines();
        auto it = std::find(lines.begin(), lines.end(), line);
        return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
    }
    int LastLineIndex(const std::string& line)
    {
        const std::vector<std::string> lines = h.Log().Lines();
        auto it = std::find(lines.rbegin(), lines.rend(), line);
        return it == lines.rend() ? -1 : static_cast<int>(lines.rend() - it) - 1;
    }

    ProgramHarness h;
    HWND main = nullptr;
    bool dialogSeen = false;
    std::string progressText;
};
