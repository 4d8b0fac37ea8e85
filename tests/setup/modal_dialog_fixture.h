#pragma once
// A modal setup dialog opened from its main-window button on a started
// program, worked by the test while it is open, then closed by its own
// button as the technician would.
#include "board/board_ready.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

template <int OpenButton, int CloseButton, uint32_t SettleMs>
class ModalDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = h.StartProgram();
        // The first readiness check after start-up reads the flash record
        // again; the tests set it up after that.
        IsAXBBoardLoaded(true);
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }

    // Opens the dialog, lets `work` act in it, then presses the closing
    // button (unless the work ended the dialog itself).
    void WithDialog(const std::function<void(HWND)>& work)
    {
        OnNextModalDialog([&](HWND dialog) {
            h.Clock().Advance(SettleMs);
            work(dialog);
            if (!ModalDialogEnded(dialog))
                PressButton(dialog, CloseButton);
        });
        PressButton(main, OpenButton);
    }

    ProgramHarness h;
    HWND main = nullptr;
};
