#include "core/motion_state.h"

float g_targetMm[kAxisCount] = {kDefaultTargetMm, kDefaultTargetMm, kDefaultTargetMm, kDefaultTargetMm,
                                 kDefaultTargetMm};
float g_lastTargetMm[kAxisCount];
int32_t g_offset[kAxisCount];
int32_t g_lastGotoTarget[kAxisCount];
int32_t g_maxFollowing[kAxisCount];
int g_contGotoState;
int g_contHomeState;
bool g_traceOn;
uint64_t g_traceStartTick;
uint32_t g_traceSequence;

void MotionFlagsOff()
{
    g_contGotoState = kContGotoOff;
    g_contHomeState = kContHomeOff;
}

void ResetMotionState()
{
    for (int a = 0; a < kAxisCount; ++a) {
        g_targetMm[a] = kDefaultTargetMm;
        g_lastTargetMm[a] = 0.0f;
        g_offset[a] = 0;
        g_lastGotoTarget[a] = 0;
        g_maxFollowing[a] = 0;
    }
    MotionFlagsOff();
    g_traceOn = false;
    g_traceStartTick = 0;
    g_traceSequence = 0;
}
