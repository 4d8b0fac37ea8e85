#pragma once
// The GPIO pins' direction mask and output levels as last sent to the board.
// The GPIO dialog and the turret on the GPIO pins both drive the pins; each
// changes its own pins from these values, so neither undoes the other's.
#include <cstdint>

struct GpioOutputs {
    uint8_t direction = 0;   // bit set: the pin is an output
    uint8_t levels = 0;      // bit set: the output is high
    bool operator==(const GpioOutputs&) const = default;
};

// Sends them with AXB_SetGpio and remembers them as the last sent.
void SendGpioOutputs(GpioOutputs outputs);
GpioOutputs LastSentGpioOutputs();

void ResetGpioOutputs();
