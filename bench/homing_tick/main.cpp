// Cost of one tick of the main window's 10 ms timer while X, Y and Z home,
// and of the auto-home step alone (status poll under the board lock, each
// axis's move status and reference-mark latch).
#include "app/main_timer.h"
#include "bench/common/bench_program.h"
#include "board/board_ready.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "homing/auto_home.h"

#include <cstdio>

namespace {

void SetUpHoming()
{
    const uint8_t methods[3] = {kZeroDistanceCoded, kZeroLimit, kZeroSingleMark};
    for (int axis = 0; axis < 3; ++axis) {
        krv_user_box_data.autoHomeEnabled[axis] = 1;
        krv_user_box_data.zeroingMethod[axis] = methods[axis];
        // Slow sweeps, so that every axis is still searching when the runs end.
        krv_user_box_data.autoHomeVelocityPercent[axis] = 1.0f;
    }
}

} // namespace

int main()
{
    constexpr int kTicks = 1000;
    HWND main = StartBenchProgram();
    // The first readiness check reads the flash record; the set-up follows it.
    IsAXBBoardLoaded(true);
    SetUpHoming();
    if (!AutoHome()) {
        std::printf("auto-home did not start\n");
        return 1;
    }
    std::printf("X (distance-coded), Y (limit), Z (single mark) homing, %d calls per run\n", kTicks);
    ReportTicks("main timer tick while X, Y and Z home", [main] { OnMainTimer(main); }, kTicks);
    ReportTicks("auto-home step alone", [] { AutoHomeTimer(); }, kTicks);
    std::printf("  stages at the end {%d,%d,%d}\n", g_homingStage[0], g_homingStage[1], g_homingStage[2]);
    CancelAutoHome();
    StopBenchProgram(main);
    return 0;
}
