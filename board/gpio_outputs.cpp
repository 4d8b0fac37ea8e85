#include "board/gpio_outputs.h"

#include "driver/axb400.h"

namespace {
GpioOutputs g_lastSent;
} // namespace

void SendGpioOutputs(GpioOutputs outputs)
{
    g_lastSent = outputs;
    AXB_SetGpio(0, outputs.direction, outputs.levels);
}

GpioOutputs LastSentGpioOutputs() { return g_lastSent; }

void ResetGpioOutputs() { g_lastSent = GpioOutputs{}; }
