#pragma once
// Where the Scope draws: times to columns and values to rows of a plot
// rectangle, the grid steps, the ranges that "Fit" and the zoom choose, and
// what the cursors read. No window: the drawing code only strokes points.
#include <optional>
#include <span>
#include <vector>

#include "core/scope_capture.h"

struct PlotRect {
    int left = 0, top = 0, width = 1, height = 1;
};
struct PlotRange {
    double low = 0.0, high = 1.0;
    bool operator==(const PlotRange&) const = default;
};
struct PlotPoint {
    int x = 0, y = 0;
    bool operator==(const PlotPoint&) const = default;
};

// Pixel column of a time (ms) and back; low maps to the left edge and high
// to the right edge. Far outside times are held a plot width beyond the edge
// so that a zoomed-in line still leaves the picture the right way.
int TimeToX(double timeMs, const PlotRange& time, const PlotRect& rect);
double XToTime(int x, const PlotRange& time, const PlotRect& rect);
// Pixel row of a value: high at the top edge, low at the bottom.
int ValueToY(double value, const PlotRange& range, const PlotRect& rect);

// The samples' time span; an empty or one-sample list gets one tick.
PlotRange FitTime(std::span<const ScopeSample> samples);
// A channel's values within the time range with a margin of a twentieth on
// each side; a flat line gets a span around its value.
PlotRange FitValues(std::span<const ScopeSample> samples, int channel, const PlotRange& time);
// The range scaled about a point of it (factor < 1 zooms in), never below
// one tick wide.
PlotRange ZoomAbout(const PlotRange& range, double centre, double factor);

// A grid step of 1, 2 or 5 times a power of ten giving at most maxLines lines.
double GridStep(double span, int maxLines);

// The value of a channel at a time: the last sample at or before it; none
// before the first sample or after the last.
std::optional<double> ValueAt(std::span<const ScopeSample> samples, int channel, double timeMs);

// The line of a channel through the time range,
// at most four points per pixel column (where the line enters it, its least
// and greatest value there, where it leaves), so that a long capture costs
// the same to draw as a short one and no peak is lost.
void PlotLine(std::span<const ScopeSample> samples, int channel, const PlotRange& time, const PlotRange& values,
              const PlotRect& rect, std::vector<PlotPoint>& out);
