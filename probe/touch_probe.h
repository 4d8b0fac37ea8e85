#pragma once
// The touch probe on the board: its type flags and configuration, and the
// tester's poll that logs every latched hit. The flags and the hit count
// outlive the dialog.
#include <cstdint>

extern int g_tpIsTP200;   // "TP 200"
extern int g_tpPdamp;     // "PDAMP"
extern int g_tpPpoff;     // "PPOFF"
extern int g_tpEnabled;   // the probe was last enabled by loc_enableTouchProbe
extern int g_tpHitCount;  // hits logged by TouchProbePoll

// The byte AXB_SetTouchProbe takes: bit 0 off, bit 1 TP200, bit 2 PDAMP,
// bit 3 PPOFF.
uint8_t TouchProbeFlags(bool enable);

// Latches and probe configured under the board lock; nothing at all when
// the lock cannot be had.
void loc_enableTouchProbe(bool enable);
// One poll: the status line when log is set, and a latched hit logged and
// re-armed. False when the board lock was not obtained.
bool TouchProbePoll(bool log);

void ResetTouchProbe();
