#pragma once
// Presses of GPIO pins and joystick buttons that carry a software function,
// turned into "Enter", "Done", "Undo" and "Goto Here" events. A 16-bit mask
// per function holds the pins (bits 0..7) and joystick buttons (bits 8..12)
// that show it now; an event is any change of a function's mask, so a press
// and its release are one event each.
#include <array>
#include <cstdint>
#include <string>

#include "core/gpio_pins.h"
#include "core/joystick_word.h"

// Software function codes: 0 none, then Enter, Done, Undo, Goto Here; code c
// is event bit c - 1.
inline constexpr int kSoftwareFunctions = 4;
inline constexpr uint8_t kSoftwareGotoHere = 4;
using SoftwareFunctionMasks = std::array<uint16_t, kSoftwareFunctions>;

// A three-button joystick reports its buttons' software-function states in
// bits 3..5 of its state; a five-button one reports buttons 1..5 in bits 0..4.
inline constexpr int kThreeButtonJoystick = 3;
inline constexpr int kThreeButtonStateShift = 3;
inline constexpr int kJoystickEventShift = 8;

struct ButtonSources {
    uint32_t gpioFunctions = 0;                     // P009
    std::array<uint8_t, kGpioPins> gpioSoftware{};  // software function code per pin
    uint8_t gpioStates = 0;                         // software-function states of the pins
    uint32_t joystickWord = 0;                      // P001
    std::array<uint8_t, kJoystickButtons> secondFunction{};
    uint8_t joystickState = 0;
    bool fiveButtons = false;
};

SoftwareFunctionMasks MasksOf(const ButtonSources& sources);

// What one poll found.
struct ButtonPoll {
    uint16_t events = 0;         // bit c - 1: the mask of function c changed
    bool eventsChanged = false;  // the events differ from the last poll's
    uint16_t previousEvents = 0;
    uint16_t result = 0;         // the events, but none on the very first poll
};

// The state between polls: the last masks and events, and whether a poll
// happened yet. A button held at start-up is not an event.
class ButtonEventTracker {
public:
    ButtonPoll Poll(const SoftwareFunctionMasks& masks);

private:
    SoftwareFunctionMasks previous_{};
    uint16_t previousEvents_ = 0;
    bool polled_ = false;
};

// "Button pressed" with ",(Enter)", ",(Done)", ",(Undo)", ",(Goto Here)" for
// the events' bits 0..3, then "," and the events in decimal, and a line feed.
std::string ButtonPressedLine(uint16_t events);
