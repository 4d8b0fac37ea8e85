#pragma once
// Where the legs of the multi-axis goto run go, and when a leg has ended.
#include <cstdint>

#include "core/goto_sequence.h"

// The Fixed rule, on g_targetMm and g_lastTargetMm of X..Q: when the first
// `comparedAxes` targets all equal the previous ones, a leg to the user zero
// (the previous targets become 0); otherwise the targets are remembered and
// converted with the goto conversion of every other goto.
LegCounts ChooseFixedLeg(int comparedAxes);

// The C runtime's generator of the family (15 bits a draw), so that one seed
// gives the same legs on every build.
class LegRandom {
public:
    void Seed(uint32_t seed) { state_ = seed; }
    uint32_t Draw15();
    // Two draws, the first the high part: 0 <= r < 2^30.
    uint32_t Draw30();

private:
    uint32_t state_ = 1;
};
extern LegRandom g_legRandom;

// r × 2^-30 of the target, in counts; float arithmetic as the bench has
// always drawn it, so the point lies between the user zero and the target.
int32_t RandomLegCount(uint32_t r30, float targetMm, uint32_t countsPerMm);

// A random point within the targets of X..Q, recorded in g_multiGotoTarget
// (a retry sends it again).
LegCounts DrawRandomLeg();

// The Random rule of a leg that follows another: the retry count starts
// again; with "GotoBackToZero" the legs alternate with the user zero.
LegCounts ChooseRandomLeg();

// The axis is active, the board reports no following error, and the lag is
// beyond the axis's own limit.
bool LagOverLimit(uint8_t moveStatus, uint8_t errorByte, int32_t lag, uint32_t limit);

// P066 + 40·a: the axis's following-error limit in counts.
uint32_t FollowingErrorLimit(int axis);

// Every axis is inactive, finished (and settled, when waiting for move
// complete) or over its lag limit.
bool LegEnded(const uint8_t (&moveStatus)[kGotoAxisCount], const bool (&over)[kGotoAxisCount],
              bool waitMoveComplete);
