#include "gpio/gpio_test.h"

#include "board/gpio_outputs.h"
#include "core/gpio_pins.h"
#include "driver/axb400.h"
#include "infra/log.h"

namespace {
constexpr uint8_t kAllOutputs = 0xFF;
} // namespace

// The test's own values are not the pins' settings: they are not
// remembered, so the restore below puts back what the technician set.
void RunGpioTest()
{
    g_log.Write("Entering GPIO_TEST\n");
    int errors = 0;
    for (const uint8_t value : GpioTestValues()) {
        AXB_SetGpio(0, kAllOutputs, value);
        uint8_t levels = 0;
        uint8_t states = 0;
        AXB_GetGpio(0, &levels, &states);
        if (levels != value) {
            ++errors;
            LogPrintf(g_log, "Error output %02X read %02X\n", value, levels);
        }
    }
    if (errors == 0)
        g_log.Write("passed GPIO test\n");
    SendGpioOutputs(LastSentGpioOutputs());
}
