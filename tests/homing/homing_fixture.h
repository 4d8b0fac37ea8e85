#pragma once
// The program on the simulated board with auto-home set up through the flash
// record, and the progress dialog worked as a technician would: the clock
// runs while it is open, and a test may act at any moment of the run.
#include "board/fences.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/param_table.h"
#include "homing/auto_home.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <functional>
#include <string>

// X's scale as the technician describes it: the fixed increment and the
// pitch in counts, the coding convention and the count direction.
inline void ScaleFiguresX(uint32_t increment, uint32_t pitch, bool acuRite = false, bool reversed = false)
{
    g_param[AxisParam(70, kAxisX)] = increment;
    g_param[AxisParam(71, kAxisX)] = pitch;
    g_param[AxisParam(73, kAxisX)] = acuRite ? 2 : 0;
    g_param[20] = reversed ? 1 : 0;
}

class HomingTest : public ProgramTest {
protected:
    // The first tick's readiness check reads the flash record and the
    // parameters again: the tests set them up after it.
    void SetUp() override { Start(); }

    void Home(int axis, uint8_t method, bool negative = false, float velocity = 0.0f)
    {
        krv_user_box_data.autoHomeEnabled[axis] = 1;
        krv_user_box_data.zeroingMethod[axis] = method;
        krv_user_box_data.homingScanDirection[axis] = negative ? 1 : 0;
        krv_user_box_data.autoHomeVelocityPercent[axis] = velocity;
    }
    void FenceX(int32_t plus)
    {
        krv_user_box_data.swFenceEnabled[kAxisX] = 1;
        krv_user_box_data.swFencePlus[kAxisX] = plus;
    }
    // X's fence stands wide open, as during a run.
    static bool FenceXOpen() { return AxbSim_PeekParam(68) == 1000000000u; }

    // Presses "Auto Home", confirms, and lets the run go on for at most
    // maxMs with the progress dialog open; `during` is asked after every
    // 10 ms and may act (true: stop letting time pass and press Cancel).
    void RunAutoHome(uint32_t maxMs = 60000, const std::function<bool(HWND)>& during = {})
    {
        h.AnswerNextMessageBox(IDOK);
        OpenModal(IDC_AUTO_HOME, [&](HWND dialog) {
            progressText = Text(dialog, IDC_AUTO_HOME_AXES);
            for (uint32_t ms = 0; ms < maxMs && !ModalDialogEnded(dialog); ms += 10) {
                h.Clock().Advance(10);
                if (during && during(dialog))
                    break;
            }
            if (!ModalDialogEnded(dialog))
                PressButton(dialog, IDC_AUTO_HOME_CANCEL);
        });
    }
    // Stopped axes stand still: X has braked and moves no more.
    int32_t WhereXStopped()
    {
        h.Clock().Advance(1000);
        const int32_t stoppedAt = AxbSim_PeekPosition(kAxisX);
        h.Clock().Advance(1000);
        EXPECT_EQ(AxbSim_PeekPosition(kAxisX), stoppedAt);
        return stoppedAt;
    }

    std::string progressText;
};
