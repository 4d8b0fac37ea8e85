// Cost of one tick of the GPIO dialog's 100 ms timer on the simulated board
// with the loop-back plug: the pins read and shown, the joystick's functions,
// the button event poll under the board lock; at rest, and with a software
// pin pressed or released on every tick (an event and its log lines each).
#include "bench/common/bench_program.h"
#include "core/flash_items.h"
#include "gpio/gpio_dialog.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"

#include <cstdio>

namespace {

constexpr int kTicks = 1000;
constexpr double kPeriodMs = 100.0;

void Tick(HWND dialog) { SendMessageW(dialog, WM_TIMER, IDT_TICK, 0); }

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    AxbSim_SetGpioLoopBack(1);
    HWND dialog = OpenGpioDialog();
    if (!dialog) {
        std::printf("the GPIO dialog could not be created\n");
        return 1;
    }
    CheckDlgButton(dialog, IDC_GPIO_DIRECTION_3, BST_CHECKED);
    CheckDlgButton(dialog, IDC_GPIO_OUTPUT_3, BST_CHECKED);
    krv_user_box_data.gpioSoftwareFunction[0] = 1;   // pin 1: "Enter"
    std::printf("GPIO dialog tick, %d ticks per run\n", kTicks);
    ReportTicks("GPIO tick at rest", [dialog] { Tick(dialog); }, kTicks, kPeriodMs);
    uint8_t pressed = 0;
    ReportTicks("GPIO tick, pin 1 pressed or released each tick",
                [dialog, &pressed] {
                    pressed ^= 1;
                    AxbSim_SetGpioFunctionStates(pressed);
                    Tick(dialog);
                },
                kTicks, kPeriodMs);
    ResetGpioDialog();
    StopBenchProgram(main);
    return 0;
}
