#pragma once
// State of the auto-home run that other subsystems look at.
#include <cstdint>

#include "core/axes.h"

// Stage number per axis; 0 when idle.
extern int8_t g_homingStage[kEncoderAxisCount];
// "LogAutoHomeStates", read when a run starts: extra step lines in the log.
extern int g_logAutoHomeStates;
// The axis takes part in the current run.
extern bool g_homingActive[kEncoderAxisCount];
// A status poll of the run found an error; the run is frozen until the next.
extern bool g_homingAborted;
// Per axis X..Q: the axis reached the end of its zero search in this run.
extern bool g_homeRefFound[kEncoderAxisCount];
// Q tracking position set by the lamp code; kZTrackUnset when there is none.
inline constexpr int32_t kZTrackUnset = 0x7FFFFFFF;
extern int32_t g_ztrack_pos;

void ResetAutoHomeState();

enum HomingStage : int8_t {
    kStageInactive = 0,
    kStageSeekingLimitIgnore = 1,
    kStageSeekingFoundNone = 2,
    kStageSeekingFoundOne = 3,
    kStageSeekingEndFoundNone = 4,
    kStageSeekingEndFoundOne = 5,
    kStageZWaiting = 6,
    kStageReturning = 7,
    kStageIrrecoverableError = 8,
    kStageCancel = 9,
};

const char* HomingStageName(int stage);

// The sweep speed sent for "Auto Home Velocity %": 0 means full speed; a
// fraction of one percent is one percent, since 0 would leave the axis
// standing with nothing to time out.
int32_t HomingVelocityPercent(float userPercent);
