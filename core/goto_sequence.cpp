#include "core/goto_sequence.h"

int32_t g_multiGotoRunning;
int32_t g_multiGotoTarget[kGotoAxisCount];
int32_t g_followErrorRetries;
int32_t g_lagOverLimitCount[kGotoAxisCount];
uint8_t g_backToZeroState;
uint8_t g_waitMoveComplete;
int32_t g_gotoMoveCount;
uint64_t g_lastMoveTick;
uint64_t g_sequenceStartTick;
uint64_t g_watch_time_last;
int32_t g_velSamplePos[kGotoAxisCount];

void ResetGotoSequence()
{
    g_multiGotoRunning = 0;
    g_followErrorRetries = 0;
    for (int a = 0; a < kGotoAxisCount; ++a) {
        g_multiGotoTarget[a] = 0;
        g_lagOverLimitCount[a] = 0;
        g_velSamplePos[a] = 0;
    }
    g_backToZeroState = kBackToZeroOff;
    g_waitMoveComplete = 0;
    g_gotoMoveCount = 0;
    g_lastMoveTick = 0;
    g_sequenceStartTick = 0;
    g_watch_time_last = 0;
}
