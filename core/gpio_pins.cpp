#include "core/gpio_pins.h"

std::array<uint8_t, kGpioTestValueCount> GpioTestValues()
{
    std::array<uint8_t, kGpioTestValueCount> values{};
    int next = 0;
    for (int pin = 0; pin < kGpioPins; ++pin)
        values[next++] = GpioPinBit(pin);
    for (int pin = 0; pin < kGpioPins; ++pin)
        values[next++] = static_cast<uint8_t>(~GpioPinBit(pin));
    for (int value = 0; value <= 0xFF; ++value)
        values[next++] = static_cast<uint8_t>(value);
    return values;
}
