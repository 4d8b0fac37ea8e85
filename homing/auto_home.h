#pragma once
// Auto-home: every enabled axis of X, Y, Z and Q sweeps towards an end of
// its travel and takes its zero from the stop, a single reference mark or
// two marks of a distance-coded scale, then returns to where it started.
// Z stops at its zero and returns only when X, Y and Q are done, so that it
// never travels back while the others still move. Stepped from the main
// window's 10 ms timer; the fences stay open for the run.
#include <windows.h>

#include <cstdint>

enum ZeroingMethod : uint8_t {
    kZeroNone = 0,
    kZeroSingleMark = 1,
    kZeroDistanceCoded = 2,
    kZeroManual = 3,
    kZeroLimit = 4,
};

// The sweep target of the current stage, per axis X..Q, and where each
// started (the return target).
extern int32_t g_homingTarget[4];
extern int32_t g_homeStartPos[4];

// Enabled axes of X..Q that can home; false without a board.
bool IsAutoHomeEnabled(uint8_t& axisMask);
// Starts a run; true when it started.
bool AutoHome();
// One step of the run; does nothing when no run is active.
void AutoHomeTimer();
void ReturnToHomePos(int axis);
void SetHomingStage(int axis, int stage);
bool AllOtherAxesHomed();

// Some axis of the run still sweeps, waits or returns.
bool IsAutoHomeRunning();
// Some axis of the run ended at both ends without a zero.
bool AutoHomeHasFailedAxis();
// Every axis idle and out of the run, stopped, its velocity back at 100 %.
void CancelAutoHome();
// While a run lasts every other motion command is refused, with a log line
// naming the command: a move started under the sweeps would end as the end
// of travel and give a false zero. True when the command must not go out.
bool RefusedWhileAutoHoming(const char* command);
// Every "Stop" button: a running auto-home is cancelled first (a sweep
// stopped by hand would read as the end of travel), then axes 0..count-1
// stop.
void StopAxesAndAutoHome(int count);

// The main window's "Auto Home" button: confirmation, the run, the progress
// dialog.
void OnAutoHomeButton(HWND wnd);

void ResetAutoHome();
