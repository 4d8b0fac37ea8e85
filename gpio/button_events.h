#pragma once
// The button event poll: pins and joystick buttons that carry a software
// function, read under the board lock, become "Enter", "Done", "Undo" and
// "Goto Here" events (bits 0..3). Its state is program-wide, so the first
// poll after start-up reports nothing even with a button held.
#include <cstdint>

// The events since the last poll into eventMask (0 on the very first poll);
// eventMask is left as it is while the board is not loaded or the lock is
// not obtained. A change of the events is logged.
void ButtonEventPoll(uint16_t& eventMask);

void ResetButtonEvents();
