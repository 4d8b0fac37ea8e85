#pragma once
// The axis zero from two neighbouring marks of a distance-coded scale: the
// distance between them, in pitch lines, says which fixed increment of the
// scale they belong to. Pure arithmetic; the caller logs the figures.
#include <cstdint>

struct DistanceCodedInput {
    int32_t last;        // latched count of the newer mark
    int32_t previous;    // latched count of the mark before it
    bool acu;            // Acu-Rite coding convention
    double res;          // mm per count
    double pit;          // mm per pitch line
    double inc;          // mm per fixed increment (nominal)
    bool reverse;        // the counts run opposite to the scale
};

// How far the calculation got. A refusal leaves the figures of the later
// steps at zero; the caller logs only what was reached.
enum class DistanceCodedStep {
    RefusedResolution,   // no resolution, or a pitch not above it
    RefusedIncrement,    // fewer than two pitch lines per increment
    RefusedSpan,         // no two neighbouring marks lie that far apart
    Done,
};

struct DistanceCodedResult {
    DistanceCodedStep step = DistanceCodedStep::RefusedResolution;
    int32_t countsPerLine = 0;
    int32_t linesPerIncrement = 0;
    int32_t countsPerIncrement = 0;
    int32_t span = 0;          // counts between the marks, absolute (held at the largest int32)
    int32_t spanLines = 0;     // pitch lines between the marks
    int32_t toZero = 0;        // counts from the increment start to the zero
    double offset = 0.0;       // count of the axis zero
    bool ok() const { return step == DistanceCodedStep::Done; }
};

// Resolution and pitch to the nearest 1e-8 mm and 1e-7 mm, the way the
// scales' data sheets state them. Exposed for the counts-per-line rule.
double RoundedResolution(double res);
double RoundedPitch(double pit);

// Counts per pitch line, rounded to the nearest whole count: a pitch that
// is an exact multiple of the resolution may come out of the division a
// hair below the integer, and truncating it would shift the zero by up to
// half an increment across a long scale. 0 when the figures cannot give a
// line of at least one count.
int32_t CountsPerPitchLine(double res, double pit);

// Only two neighbouring marks locate the zero: marks that lie no line apart
// (one mark latched twice), a whole increment or more apart (a mark missed
// between them) or, in the standard coding, exactly half an increment apart
// are refused (RefusedSpan), as any zero from them would be off by whole
// increments.
DistanceCodedResult CalcDistanceCodedOffset(const DistanceCodedInput& in);
