#pragma once
// The board's external output byte and lamp switch mask travel together in
// every AXB_SetExternIO call; both start at 0.
#include <cstdint>

extern uint8_t g_externalOutput;
extern uint8_t g_lampMask;

void ResetExternalOutputs();
