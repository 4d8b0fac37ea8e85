// The goto tests' log lines with any values and any buffer: every line fits
// the buffer it is given and ends with its line feed; a random leg with any
// draw, target and scale is a defined count between the user zero and the
// target.
//
// Input: a leg line (int32 number, uint32 times since the last leg and the
// start, float X, Y, Z targets, uint8 X, Y, Z move status and probe, float X
// position), uint8 its buffer size; a history sample (int32 lag, position,
// target, uint8 move status, error byte, uint64 tick), uint8 its buffer
// size; uint32 draw, float target mm, uint32 counts per mm; uint8 a buffer
// size for the rest, a text of its own.
#include "core/goto_legs.h"
#include "core/goto_lines.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <string>

namespace {

constexpr size_t kSampleCapacity = 128;
static_assert(sizeof(LegLine) == 32, "a leg line is read whole, so its fields lie without padding");

// A buffer of at least two characters, so that a line feed fits.
size_t BufferSize(uint8_t byte, size_t capacity) { return 2 + byte % (capacity - 1); }

void CheckLine(std::string_view line) { FUZZ_CHECK(!line.empty() && line.back() == '\n'); }

void CheckLegCount(uint32_t r30, float targetMm, uint32_t countsPerMm)
{
    const int32_t count = RandomLegCount(r30, targetMm, countsPerMm);
    if (r30 >= (uint32_t{1} << 30) || !std::isfinite(targetMm))
        return;
    // Float rounding of the draw may reach the target itself, no further.
    const double reach = std::fabs(static_cast<double>(targetMm) * countsPerMm);
    FUZZ_CHECK(std::fabs(static_cast<double>(count)) <= reach * (1.0 + 1e-6) + 1.0);
    FUZZ_CHECK(count == 0 || (count < 0) == (targetMm < 0.0f));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const auto leg = in.Take<LegLine>();
    const size_t legSize = BufferSize(in.Take<uint8_t>(), kLegLineCapacity);
    GotoSample sample;
    sample.lag = in.Take<int32_t>();
    sample.position = in.Take<int32_t>();
    sample.target = in.Take<int32_t>();
    sample.moveStatus = in.Take<uint8_t>();
    sample.errorByte = in.Take<uint8_t>();
    sample.tick = in.Take<uint64_t>();
    const size_t sampleSize = BufferSize(in.Take<uint8_t>(), kSampleCapacity);
    const auto r30 = in.Take<uint32_t>();
    const auto targetMm = in.Take<float>();
    const auto countsPerMm = in.Take<uint32_t>();
    const size_t textSize = BufferSize(in.Take<uint8_t>(), kSampleCapacity);
    const std::string text(in.Rest());

    GuardedText<kLegLineCapacity> legText;
    FormatLegLine(legText.text, legSize, leg);
    CheckLine(legText.Written(legSize));
    GuardedText<kSampleCapacity> sampleText;
    FormatGotoSample(sampleText.text, sampleSize, sample);
    CheckLine(sampleText.Written(sampleSize));
    GuardedText<kSampleCapacity> cutText;
    FormatCutLine(cutText.text, textSize, "%s\n", text.c_str());
    CheckLine(cutText.Written(textSize));

    CheckLegCount(r30, targetMm, countsPerMm);
    return 0;
}
