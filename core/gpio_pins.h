#pragma once
// The board's eight general-purpose pins: the firmware function nibble each
// has in P009, and the values the loop-back self test drives through them.
#include <array>
#include <cstdint>

inline constexpr int kGpioPins = 8;
// A pin whose firmware function is "Disabled (software)" is left to the
// program: only then does its software function make events.
inline constexpr uint32_t kGpioFirmwareSoftware = 0;
inline constexpr uint32_t kGpioFunctionNibble = 0xF;

// Pin 0..7 (the technician's pins 1..8) as a bit of the direction mask, the
// levels and the software-function states.
constexpr uint8_t GpioPinBit(int pin) { return static_cast<uint8_t>(1u << pin); }

constexpr int GpioFunctionShift(int pin) { return 4 * pin; }
constexpr uint32_t GpioFirmwareFunction(uint32_t word, int pin)
{
    return (word >> GpioFunctionShift(pin)) & kGpioFunctionNibble;
}
constexpr uint32_t WithGpioFirmwareFunction(uint32_t word, int pin, uint32_t function)
{
    const uint32_t nibble = kGpioFunctionNibble << GpioFunctionShift(pin);
    return (word & ~nibble) | ((function << GpioFunctionShift(pin)) & nibble);
}

// Walking one, walking zero, then every byte: a stuck pin, two pins shorted
// together and a pin that only fails in some company each show up.
inline constexpr int kGpioTestValueCount = kGpioPins + kGpioPins + 256;
std::array<uint8_t, kGpioTestValueCount> GpioTestValues();
