#pragma once
// A Move Response run apart from its window: the refusals, the back-and-forth
// moves of one axis from where it stands, each leg followed by its dwell,
// captured by the Scope's acquisition on the main window's tick, and the
// figures of its moves when it ends.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "core/move_response.h"
#include "core/scope_capture.h"

struct ResponseRunSettings {
    int axis = 0;
    double distance = 10.0;   // in the unit mode
    int32_t velocityPercent = 100;
    int32_t dwellMs = 500;
    int32_t repetitions = 2;  // out and back, each
};

// Why a run cannot start now; none when it can.
std::optional<std::wstring> ResponseRunRefusal(const ResponseRunSettings& settings);
// Starts the run (after ResponseRunRefusal said nothing).
void StartResponseRun(const ResponseRunSettings& settings);
// The axis stops at once; what was captured is measured as a finished run.
void StopResponseRun();
bool ResponseRunActive();

// A finished run: its capture, its figures and what the table shows of the
// axis at its start.
struct ResponseRunResult {
    ScopeCapture capture;
    RunFigures figures;
    int axis = 0;
    std::string time;   // "hh:mm:ss"
    uint32_t p = 0, d = 0, i = 0;
    bool savedToFlash = false;
    double overshootMean = 0, overshootWorst = 0;   // in the unit mode
};
// One step on the window's 10 ms tick; the result when the run ended now.
std::optional<ResponseRunResult> ResponseRunTick();

// Every run's capture since the program started, oldest first (the oldest
// go once there are more than kResponseCapturesKept): the service report
// writes them with the Scope's captures.
inline constexpr size_t kResponseCapturesKept = 64;
const std::deque<ScopeCapture>& MoveResponseCapturesSinceStart();
// Every run ever finished, which numbers them in the report.
uint64_t MoveResponseRunsCompleted();

void ResetResponseRun();
