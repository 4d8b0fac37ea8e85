#pragma once
// The periodic step of the goto tests, run by the Multi Axis Goto window
// every second and by the Circular goto window every 10 ms: readouts, the
// sample history, following errors reported by the board (stop, or one
// retry at full speed in a Random run) and those it does not report
// (counted, logged, dumped), and the next leg of a continuous run once
// every active axis has finished the last.
#include <windows.h>

#include <cstdint>

#include "core/goto_sequence.h"

enum class GotoWindowKind {
    kMultiAxis,   // readouts, Fixed or Random legs
    kCircular,    // no readouts, Fixed legs, the sampling interval logged
};

void GotoMonitorTick(HWND wnd, GotoWindowKind kind);

// The newest sample of the axis, stamped with the current tick.
void PushGotoSample(int axis, int32_t lag, int32_t position, int32_t target, uint8_t moveStatus, uint8_t errorByte);
// The axis's 20 samples, oldest first, after a heading line.
void DumpGotoHistory(int axis);

// Whether every target of X..Q fits its counter; each that does not is
// refused with its log line, and no leg may go out.
bool LegTargetsFit();
// A coordinated move of X..Q to targets given relative to the user zero.
void SendLeg(const LegCounts& counts, uint16_t velocity);

// After the Multi Axis Goto window was opened again: every readout is
// written at the next tick.
void ForgetGotoReadouts();

// The run, its bookkeeping and the history as at start-up.
void ResetGotoMonitor();
