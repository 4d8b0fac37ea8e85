#include "core/distance_coded.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr double kResolutionScale = 100000000.0;   // 1e-8 mm
constexpr double kPitchScale = 10000000.0;         // 1e-7 mm

// The figures are taken as the board stores them, in 32 bits; anything that
// does not fit is not a scale this calculation knows.
bool FitsInt32(double x)
{
    return x >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
           x <= static_cast<double>(std::numeric_limits<int32_t>::max());
}

double RoundedTo(double value, double scale)
{
    const double scaled = std::floor(value * scale + 0.5);
    if (!FitsInt32(scaled))
        return 0.0;
    return static_cast<double>(static_cast<int32_t>(scaled)) / scale;
}

// The board's integer arithmetic wraps at 32 bits.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

int32_t Held(int64_t value)
{
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

// The standard coding puts each coded mark more than half an increment past
// its fixed mark, so exactly half names no increment there.
bool NeighbouringMarks(bool acu, int64_t span, int32_t spanLines, int32_t linesPerIncrement)
{
    if (span == 0 || spanLines == 0 || spanLines >= linesPerIncrement)
        return false;
    return acu || 2 * static_cast<int64_t>(spanLines) != linesPerIncrement;
}

} // namespace

double RoundedResolution(double res) { return RoundedTo(res, kResolutionScale); }
double RoundedPitch(double pit) { return RoundedTo(pit, kPitchScale); }

int32_t CountsPerPitchLine(double res, double pit)
{
    const double resR = RoundedResolution(res);
    const double pitR = RoundedPitch(pit);
    if (!(resR > 0.0) || !(pitR > resR))
        return 0;
    const double lines = std::floor(pitR / resR + 0.5);
    return FitsInt32(lines) ? static_cast<int32_t>(lines) : 0;
}

DistanceCodedResult CalcDistanceCodedOffset(const DistanceCodedInput& in)
{
    DistanceCodedResult r;
    r.countsPerLine = CountsPerPitchLine(in.res, in.pit);
    if (r.countsPerLine == 0)
        return r;

    const double pitR = RoundedPitch(in.pit);
    const double lines = std::floor((in.inc + RoundedResolution(in.res)) / pitR);
    r.linesPerIncrement = FitsInt32(lines) ? static_cast<int32_t>(lines) : 0;
    const int64_t countsPerIncrement = static_cast<int64_t>(r.linesPerIncrement) * r.countsPerLine;
    r.step = DistanceCodedStep::RefusedIncrement;
    // Two marks per increment need at least two lines; an increment that
    // does not fit the counter cannot be located either.
    if (r.linesPerIncrement < 2 || !FitsInt32(static_cast<double>(countsPerIncrement)))
        return r;
    r.countsPerIncrement = static_cast<int32_t>(countsPerIncrement);

    const int32_t last = in.reverse ? Wrap(-static_cast<int64_t>(in.last)) : in.last;
    const int32_t previous = in.reverse ? Wrap(-static_cast<int64_t>(in.previous)) : in.previous;
    const int32_t d = Wrap(static_cast<int64_t>(last) - previous);
    const bool descending = d < 0;
    const int64_t span = std::llabs(static_cast<int64_t>(d));
    r.span = Held(span);
    // One count short of a line still counts as the line.
    r.spanLines = Held((span + 1) / r.countsPerLine);
    r.step = DistanceCodedStep::RefusedSpan;
    if (!NeighbouringMarks(in.acu, span, r.spanLines, r.linesPerIncrement))
        return r;

    const int32_t half = r.linesPerIncrement / 2;
    // The lower of the two marks on the scale.
    const int32_t base = descending ? last : previous;
    const int32_t rest = Wrap(static_cast<int64_t>(r.countsPerIncrement) - r.span);
    const int64_t cpi = r.countsPerIncrement;
    int64_t offset = 0;
    if (!in.acu) {
        r.toZero = Wrap((std::llabs(static_cast<int64_t>(r.spanLines) - half) - 1) * cpi);
        offset = r.spanLines > half ? static_cast<int64_t>(base) - r.toZero
                                    : static_cast<int64_t>(base) - r.toZero - rest;
    } else if (r.spanLines > half) {
        r.toZero = Wrap((static_cast<int64_t>(r.linesPerIncrement) - r.spanLines - 1) * cpi);
        offset = static_cast<int64_t>(base) - r.toZero - rest;
    } else {
        r.toZero = Wrap((static_cast<int64_t>(r.spanLines) - 1) * cpi);
        offset = static_cast<int64_t>(base) - r.toZero;
    }
    r.offset = static_cast<double>(Wrap(offset));
    if (in.reverse)
        r.offset = -r.offset;
    r.step = DistanceCodedStep::Done;
    return r;
}
