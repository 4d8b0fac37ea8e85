#pragma once
// Reference marks: arming latch 2 of an axis, turning latched counts into
// accepted marks (the same mark seen twice counts once), and the axis zero
// from a single mark or from two marks of a distance-coded scale.
#include <cstdint>

#include "core/axes.h"

enum HomeOffsetKind : int { kHomeSingleMark = 1, kHomeDistanceCoded = 2 };

// Per axis X..Q; reset by each arming.
struct ReferenceMarkDetector {
    int32_t lastLatch;
    int32_t prevLatch;
    int32_t markCount;
    bool latchEnabled;
};
extern ReferenceMarkDetector g_refMarks[kEncoderAxisCount];

// Restarts the detector and arms (mode 7) or disarms latch 2. Only this
// axis's captured flag is cleared: another axis may hold a mark it latched
// a moment ago that its own sweep still has to count.
void updateReferenceMarkTypeAndEnable(int8_t axis, bool enable);

// Takes a newly latched mark, if any, and re-arms the latch. Outputs the
// two newest accepted counts; the result is the number accepted since arming.
int32_t CheckReferenceMark(int axis, int32_t& last, int32_t& previous);

void SetAxisOffset(int axis, int32_t value);

// g_offset from a single mark (or the stop of the "Limit" method) or from
// two distance-coded marks; false, g_offset unchanged, when the
// distance-coded figures of the axis locate nothing.
bool ApplyHomeOffset(int axis, int32_t last, int32_t previous, int kind);

// The Encoder dialog's reference-mark logging: a "Ref Mark," line per axis
// whose mark count changed since it was last logged.
void RefMarkLogPoll();

void ResetReferenceMarks();
