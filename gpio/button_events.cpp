#include "gpio/button_events.h"

#include "board/board_lock.h"
#include "board/board_ready.h"
#include "core/button_events.h"
#include "core/flash_items.h"
#include "core/param_numbers.h"
#include "core/param_table.h"
#include "driver/axb400.h"
#include "infra/log.h"

#include <algorithm>

namespace {

ButtonEventTracker g_buttonEvents;

ButtonSources ReadButtonSources()
{
    ButtonSources s;
    s.gpioFunctions = g_param[kParamGpioFunctions];
    s.joystickWord = g_param[kParamJoystickOptions];
    std::ranges::copy(krv_user_box_data.gpioSoftwareFunction, s.gpioSoftware.begin());
    std::ranges::copy(krv_user_box_data.joystickSecondFunction, s.secondFunction.begin());
    s.fiveButtons = g_fiveButtonJoystick;
    uint8_t levels = 0;
    AXB_GetGpio(0, &levels, &s.gpioStates);
    uint32_t mode = 0;
    uint8_t functions = 0;
    AXB_GetJoyStickMode(0, &mode, &functions, &s.joystickState);
    return s;
}

} // namespace

void ButtonEventPoll(uint16_t& eventMask)
{
    const BoardLockGuard lock;
    if (!lock || !IsAXBBoardLoaded(false))
        return;
    const ButtonPoll poll = g_buttonEvents.Poll(MasksOf(ReadButtonSources()));
    if (poll.eventsChanged)
        LogPrintf(g_log, "button bitmask changed from %04X to %04X\n", poll.previousEvents, poll.events);
    eventMask = poll.result;
}

void ResetButtonEvents() { g_buttonEvents = ButtonEventTracker{}; }
