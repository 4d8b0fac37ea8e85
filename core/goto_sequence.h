#pragma once
// The continuous multi-axis goto run. The Multi Axis Goto window starts and
// stops it; its tick and the Circular goto window's tick both end its legs
// and keep its following-error bookkeeping. X, Y, Z and Q take part, the
// zoom does not.
#include <array>
#include <cstdint>

inline constexpr int kGotoAxisCount = 4;

// Targets of one leg in user counts (relative to the user zero), X..Q.
using LegCounts = std::array<int32_t, kGotoAxisCount>;

extern int32_t g_multiGotoRunning;
// The recorded target of each axis: what a retry sends again.
extern int32_t g_multiGotoTarget[kGotoAxisCount];
// Retries made in the current leg of a Random run.
extern int32_t g_followErrorRetries;
// Ticks with a following error the board did not report, since the last leg ended.
extern int32_t g_lagOverLimitCount[kGotoAxisCount];

// "GotoBackToZero": 0 off; 1 the next Random leg goes to the user zero;
// 2 the last leg went there and the next is random.
enum BackToZeroState : uint8_t { kBackToZeroOff = 0, kBackToZeroNext = 1, kBackToZeroDone = 2 };
extern uint8_t g_backToZeroState;
// "WaitForMoveCompleteBeforeNextGoto"
extern uint8_t g_waitMoveComplete;

// Legs logged since Continuous Goto was pressed.
extern int32_t g_gotoMoveCount;
extern uint64_t g_lastMoveTick;       // ms, when the last leg was commanded
extern uint64_t g_sequenceStartTick;  // ms, when Continuous Goto was pressed

// The previous velocity sample of the goto ticks: its time and the user positions.
extern uint64_t g_watch_time_last;
extern int32_t g_velSamplePos[kGotoAxisCount];

void ResetGotoSequence();
