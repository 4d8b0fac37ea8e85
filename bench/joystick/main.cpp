// Cost of one 100 ms tick of the Joystick dialog on the simulated board
// while the stick sweeps X, Y and Z from end to end (every readout changes
// on every tick), buttons held, and while a quick calibration tracks the
// sweep as well.
#include "bench/common/bench_program.h"
#include "board/joystick_tracking.h"
#include "joystick/joystick_dialog.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kTicks = 500;
constexpr double kPeriodMs = 100;

void SweepTheStick()
{
    // Twenty thousand end-to-end legs of 130 ms: no two ticks read the same.
    std::vector<uint16_t> sweep;
    for (int leg = 0; leg < 20000; ++leg)
        sweep.push_back(leg % 2 ? 1000 : 30);
    for (int axis = 0; axis < 3; ++axis)
        AxbSim_SetJoystickAdc(axis, sweep.data(), static_cast<int>(sweep.size()), 130 + 10 * axis);
    AxbSim_SetJoystickState(0x05, 0x01);
}

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    HWND dialog = OpenJoystickDialog();
    if (!dialog) {
        std::printf("the Joystick dialog could not be created\n");
        return 1;
    }
    SweepTheStick();
    auto tick = [dialog] { SendMessageW(dialog, WM_TIMER, IDT_TICK, 0); };
    std::printf("Joystick dialog tick (%.0f ms period), stick sweeping, %d ticks per run\n", kPeriodMs, kTicks);
    ReportTicks("joystick tick, stick moving", tick, kTicks, kPeriodMs);
    g_joy_state = kJoyTracking;
    ReportTicks("joystick tick, stick moving, quick calibration tracking", tick, kTicks, kPeriodMs);
    g_joy_state = kJoyIdle;
    StopBenchProgram(main);
    return 0;
}
