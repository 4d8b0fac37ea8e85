#pragma once
// Whether the board answers, and what the program learnt about it when it
// last came back: firmware generation, joystick kind, the flash record and
// the whole parameter table.
#include <cstdint>

#include "core/session_state.h"

extern bool g_fiveButtonJoystick;    // read at connection from firmware 0x02050201 on

// True when the board answers. A board that answered is trusted for 5 s
// without asking again; one that did not is asked on every call. The first
// answer after start-up or after the board was lost runs the connection
// work (firmware, joystick kind, flash check, analog reference marks, all
// 512 parameters into g_param). takeLock: take "ZEZ_LOCK" around it; a
// caller that already holds it passes false. When the lock cannot be taken
// the answer is the last known one and the board is not asked; for 5 s then
// a caller that would take the lock gets that answer without waiting again.
bool IsAXBBoardLoaded(bool takeLock);
// The last question the board was asked went unanswered.
bool BoardLost();

// Bit 11 of axis register 2 of X..Q made equal to the axis's "Analog Ref
// Mark Inverted" setting, writing only the registers that differ. The
// caller holds the board lock.
void ConfigureAnalogReferenceMarks();

// The next IsAXBBoardLoaded asks the board again and, when it answers, repeats
// the connection work.
void ForgetBoardLoaded();

void ResetBoardReadyState();
