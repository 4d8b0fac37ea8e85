#pragma once
// A Move Response run's capture (position, following error and move status
// of one axis, in the channels' units) as the counts the move figures work
// on, and the columns of the table of runs, shared by the window's list and
// the exported CSV so that both always say the same.
#include <string>
#include <vector>

#include "core/move_response.h"
#include "core/scope_capture.h"

// The channels a run captures, in this order.
std::vector<ScopeChannel> ResponseChannels(int axis);

// The capture's samples in counts of the axis (mmPerCount: its length of a
// count); a capture without a position or a following error channel of the
// axis gives none.
std::vector<ResponseSample> ResponseSamplesOf(const ScopeCapture& capture, int axis, double mmPerCount);

// Figures of every move of a capture, as a run of them.
RunFigures MeasureCapture(std::span<const ResponseSample> samples, double window);

// What a row of the table holds besides the figures.
struct ResponseRowHead {
    std::string time;        // "hh:mm:ss"
    int axis = 0;
    uint32_t p = 0, d = 0, i = 0;
    std::string savedToFlash;   // "yes", "no"
    std::string lengthUnit;     // "counts", "in" or "mm": the overshoot's
    double overshootMean = 0, overshootWorst = 0;   // in lengthUnit
};

inline constexpr int kResponseColumns = 13;
extern const char* const kResponseColumnNames[kResponseColumns];
// The cells of a row: figures as "mean / worst", a missing one as "-".
std::vector<std::string> ResponseRowCells(const ResponseRowHead& head, const RunFigures& run);
// The header line and a line per row, comma separated; cells quoted.
std::string ResponseRowsCsv(const std::vector<std::vector<std::string>>& rows);
