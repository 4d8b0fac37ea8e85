#pragma once
// What the program knows about the board's firmware generation.
#include <cstdint>

extern uint32_t g_firmwareVersion;   // four version bytes, first byte highest
extern uint16_t g_velScale;          // multiplies every velocity percent sent to the board

// Firmware after 0x0002000A takes velocity percentages in hundredths.
inline constexpr uint32_t kLastWholePercentFirmware = 0x0002000A;

void SetFirmwareVersion(uint32_t version);
void ResetBoardReadyState();
