#pragma once
// Per-axis state of the main window's motion commands (index 0..4 for X, Y,
// Z, Q, Zoom; counts are signed 32-bit).
#include <cstdint>

#include "core/param_table.h"

// Until zoom.ini is read, and while its value is not a number, the target
// is the file's default.
inline constexpr float kDefaultTargetMm = 5.0f;
extern float g_targetMm[kAxisCount];       // goto target in mm
extern float g_lastTargetMm[kAxisCount];   // the targets of the previous goto
extern int32_t g_offset[kAxisCount];       // software zero set by the zero buttons
extern int32_t g_lastGotoTarget[kAxisCount];
extern int32_t g_maxFollowing[kAxisCount];

enum ContGotoState : int { kContGotoOff = 0, kContGotoMoving = 1, kContGotoDwelling = 2 };
enum ContHomeState : int { kContHomeOff = 0, kContHomeHoming = 1, kContHomeGoing = 2 };
extern int g_contGotoState;
extern int g_contHomeState;

// The per-tick axis trace (XGACV), shared with the goto windows and the zoom.
extern bool g_traceOn;
extern uint64_t g_traceStartTick;   // trace times are now minus its low 32 bits
extern uint32_t g_traceSequence;

// Continuous goto and continuous home off.
void MotionFlagsOff();

void ResetMotionState();
