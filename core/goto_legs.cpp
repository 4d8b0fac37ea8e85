#include "core/goto_legs.h"

#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/status_bits.h"
#include "core/unit_conversion.h"
#include "core/velocity_word.h"

#include <cmath>

LegRandom g_legRandom;

namespace {

constexpr uint32_t kMoveSettling = 0x08;   // ended, the lag still outside the target window
constexpr float kRandomScale = 1.0f / 1073741824.0f;   // 2^-30

uint32_t Magnitude(int32_t value)
{
    return value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
}

} // namespace

LegCounts ChooseFixedLeg(int comparedAxes)
{
    bool unchanged = true;
    for (int a = 0; a < comparedAxes; ++a)
        unchanged = unchanged && g_targetMm[a] == g_lastTargetMm[a];
    LegCounts counts{};
    for (int a = 0; a < kGotoAxisCount; ++a) {
        g_lastTargetMm[a] = unchanged ? 0.0f : g_targetMm[a];
        if (!unchanged)
            counts[a] = TargetMmToCounts(g_targetMm[a], a);
    }
    return counts;
}

uint32_t LegRandom::Draw15()
{
    state_ = state_ * 214013u + 2531011u;
    return (state_ >> 16) & 0x7FFF;
}

uint32_t LegRandom::Draw30()
{
    const uint32_t high = Draw15();
    return high * 32768u + Draw15();
}

int32_t RandomLegCount(uint32_t r30, float targetMm, uint32_t countsPerMm)
{
    return TruncateToInt32(static_cast<float>(r30) * kRandomScale * targetMm * static_cast<float>(countsPerMm));
}

LegCounts DrawRandomLeg()
{
    LegCounts counts{};
    for (int a = 0; a < kGotoAxisCount; ++a) {
        counts[a] = RandomLegCount(g_legRandom.Draw30(), g_targetMm[a], g_param[AxisParam(kParamCountsPerMm, a)]);
        g_multiGotoTarget[a] = counts[a];
    }
    return counts;
}

LegCounts ChooseRandomLeg()
{
    g_followErrorRetries = 0;
    if (g_backToZeroState == kBackToZeroNext) {
        g_backToZeroState = kBackToZeroDone;
        for (int32_t& target : g_multiGotoTarget)
            target = 0;
        return LegCounts{};
    }
    if (g_backToZeroState != kBackToZeroOff)
        g_backToZeroState = kBackToZeroNext;
    return DrawRandomLeg();
}

bool LagOverLimit(uint8_t moveStatus, uint8_t errorByte, int32_t lag, uint32_t limit)
{
    return (moveStatus & kMoveAxisActive) && !(errorByte & kErrorFollowing) && Magnitude(lag) > limit;
}

uint32_t FollowingErrorLimit(int axis) { return g_param[AxisParam(kParamFollowingErrorLimit, axis)]; }

bool LegEnded(const uint8_t (&moveStatus)[kGotoAxisCount], const bool (&over)[kGotoAxisCount], bool waitMoveComplete)
{
    const uint32_t mask = waitMoveComplete ? kMoveComplete | kMoveSettling : kMoveComplete;
    for (int a = 0; a < kGotoAxisCount; ++a) {
        const bool inactive = !(moveStatus[a] & kMoveAxisActive);
        const bool finished = (moveStatus[a] & mask) == kMoveComplete;
        if (!inactive && !finished && !over[a])
            return false;
    }
    return true;
}
