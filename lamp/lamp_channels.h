#pragma once
// The lamp channels: the level of each, and where a level goes: to the
// serial lamp box while it is active, otherwise to the board's lamp outputs,
// or, on the Z-track channel, to a position of the Q axis.
#include <cstdint>

#include "core/auto_home_state.h"   // g_ztrack_pos, shared with auto-home

inline constexpr int kLampChannelCount = 10;       // with the serial box
inline constexpr int kZTrackChannelCount = 9;      // board lamps and the Z track
inline constexpr int kBoardLampChannelCount = 8;
inline constexpr int kZTrackChannel = 8;
inline constexpr int kZTrackAxis = kAxisQ;
// Bit 4 of the board's external output byte switches the laser.
inline constexpr uint8_t kLaserBit = 0x10;

extern uint16_t g_lampLevel[kLampChannelCount];   // 0..255 each; kept while the dialog is closed
extern uint8_t g_quadMask;                        // the serial box's four switches
extern int g_lampChannelCount;                    // 10, 9 or 8, chosen when the dialog opens

// Sends the level of one channel where it belongs (see above).
void SetLampValue(int channel, int level);
// The Q position, in counts from the user zero, that a Z-track level asks for.
int32_t ZTrackCounts(int level);

// The laser bit of the external output byte, sent with the lamp mask.
void SetLaser(bool on);
bool IsLaserOn();
// The external output byte with the laser bit as given, the byte itself
// unchanged (the dialog's output test).
uint8_t ExternalOutputWithLaser(bool on);

void ResetLampChannels();
