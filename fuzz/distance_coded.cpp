// The distance-coded zero from any two latched counts and any scale
// figures: no undefined behaviour, a refusal reports no zero, and a zero
// that is given fits the marks: one of the two is a fixed mark a whole
// number of increments from it, the one whose code their distance names.
//
// Input: int32 last, previous; uint8 flags (bit 0 Acu-Rite, bit 1 reversed,
// bit 2 figures as the board keeps them); then either double resolution,
// pitch, increment in mm, or uint32 counts per mm, pitch and increment in
// counts (P058, P071, P070 of the axis).
#include "core/distance_coded.h"
#include "fuzz/fuzz_support.h"

namespace {

DistanceCodedInput ReadInput(FuzzInput& data)
{
    DistanceCodedInput in{};
    in.last = data.Take<int32_t>();
    in.previous = data.Take<int32_t>();
    const auto flags = data.Take<uint8_t>();
    in.acu = flags & 1;
    in.reverse = flags & 2;
    if (flags & 4) {
        const double countsPerMm = data.Take<uint32_t>();
        const double pitch = data.Take<uint32_t>();
        const double increment = data.Take<uint32_t>();
        in.res = 1.0 / countsPerMm;
        in.pit = pitch / countsPerMm;
        in.inc = increment / countsPerMm;
    } else {
        in.res = data.Take<double>();
        in.pit = data.Take<double>();
        in.inc = data.Take<double>();
    }
    return in;
}

// Counts as the scale runs, on the board's wrapping 32-bit counter.
uint32_t AlongScale(int32_t count, bool reverse)
{
    return reverse ? 0u - static_cast<uint32_t>(count) : static_cast<uint32_t>(count);
}

void CheckZeroFitsTheMarks(const DistanceCodedInput& in, const DistanceCodedResult& r)
{
    const int64_t lines = r.linesPerIncrement;
    const int64_t half = lines / 2;
    const int64_t s = r.spanLines;
    FUZZ_CHECK(r.countsPerLine > 0 && lines >= 2);
    FUZZ_CHECK(r.countsPerIncrement == lines * r.countsPerLine);
    FUZZ_CHECK(r.span > 0 && s > 0 && s < lines);
    FUZZ_CHECK(in.acu || 2 * s != lines);

    const uint32_t last = AlongScale(in.last, in.reverse);
    const uint32_t previous = AlongScale(in.previous, in.reverse);
    const bool descending = static_cast<int32_t>(last - previous) < 0;
    const uint32_t lower = descending ? last : previous;
    const uint32_t upper = descending ? previous : last;
    FUZZ_CHECK(upper - lower == static_cast<uint32_t>(r.span));
    FUZZ_CHECK(static_cast<double>(static_cast<int64_t>(r.offset)) == r.offset);
    const uint32_t zero = AlongScale(static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(r.offset))),
                                     in.reverse);

    // Standard: fixed mark k, then its coded mark h + 1 + k lines on, then
    // fixed mark k + 1. Acu-Rite: fixed mark k, its coded mark k + 1 lines
    // on, fixed mark k + 1.
    bool lowerIsFixed = false;
    int64_t k = 0;
    if (!in.acu) {
        lowerIsFixed = s > half;
        k = lowerIsFixed ? s - half - 1 : half - s;
    } else {
        lowerIsFixed = s <= half;
        k = lowerIsFixed ? s - 1 : lines - s;
    }
    FUZZ_CHECK(k >= 0 && k <= half);
    const uint32_t fixed = lowerIsFixed ? lower : upper;
    FUZZ_CHECK(fixed - zero == static_cast<uint32_t>(static_cast<uint64_t>(k * r.countsPerIncrement)));
}

void CheckRefusal(const DistanceCodedResult& r)
{
    FUZZ_CHECK(r.offset == 0.0 && r.toZero == 0);
    if (r.step == DistanceCodedStep::RefusedResolution)
        FUZZ_CHECK(r.countsPerLine == 0 && r.linesPerIncrement == 0 && r.countsPerIncrement == 0);
    if (r.step != DistanceCodedStep::RefusedSpan)
        FUZZ_CHECK(r.span == 0 && r.spanLines == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput bytes(data, size);
    const DistanceCodedInput in = ReadInput(bytes);
    const DistanceCodedResult r = CalcDistanceCodedOffset(in);
    if (r.ok())
        CheckZeroFitsTheMarks(in, r);
    else
        CheckRefusal(r);
    return 0;
}
