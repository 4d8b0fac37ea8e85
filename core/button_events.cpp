#include "core/button_events.h"

#include <cstdio>

namespace {

void Mark(SoftwareFunctionMasks& masks, uint8_t function, int bit)
{
    if (function >= 1 && function <= kSoftwareFunctions)
        masks[function - 1] |= static_cast<uint16_t>(1u << bit);
}

void MarkPins(const ButtonSources& s, SoftwareFunctionMasks& masks)
{
    for (int pin = 0; pin < kGpioPins; ++pin)
        if (GpioFirmwareFunction(s.gpioFunctions, pin) == kGpioFirmwareSoftware && (s.gpioStates & GpioPinBit(pin)))
            Mark(masks, s.gpioSoftware[pin], pin);
}

void MarkJoystickButtons(const ButtonSources& s, SoftwareFunctionMasks& masks)
{
    const int buttons = s.fiveButtons ? kJoystickButtons : kThreeButtonJoystick;
    const int stateShift = s.fiveButtons ? 0 : kThreeButtonStateShift;
    for (int button = 0; button < buttons; ++button)
        if (JoystickButtonFunction(s.joystickWord, button) == 0 && (s.joystickState >> (stateShift + button) & 1))
            Mark(masks, s.secondFunction[button], kJoystickEventShift + button);
}

constexpr const char* kEventNames[kSoftwareFunctions] = {",(Enter)", ",(Done)", ",(Undo)", ",(Goto Here)"};

} // namespace

SoftwareFunctionMasks MasksOf(const ButtonSources& sources)
{
    SoftwareFunctionMasks masks{};
    MarkPins(sources, masks);
    MarkJoystickButtons(sources, masks);
    return masks;
}

ButtonPoll ButtonEventTracker::Poll(const SoftwareFunctionMasks& masks)
{
    ButtonPoll poll;
    for (int f = 0; f < kSoftwareFunctions; ++f)
        if (masks[f] != previous_[f])
            poll.events |= static_cast<uint16_t>(1u << f);
    previous_ = masks;
    poll.previousEvents = previousEvents_;
    poll.eventsChanged = poll.events != previousEvents_;
    previousEvents_ = poll.events;
    poll.result = polled_ ? poll.events : 0;
    polled_ = true;
    return poll;
}

std::string ButtonPressedLine(uint16_t events)
{
    std::string line = "Button pressed";
    for (int f = 0; f < kSoftwareFunctions; ++f)
        if (events & (1u << f))
            line += kEventNames[f];
    char tail[16];
    std::snprintf(tail, sizeof tail, ",%u\n", static_cast<unsigned>(events));
    return line + tail;
}
