#include "homing/reference_marks.h"

#include "board/board_lock.h"
#include "board/board_ready.h"
#include "core/distance_coded.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "driver/axb400.h"
#include "infra/log.h"

ReferenceMarkDetector g_refMarks[kEncoderAxisCount];

namespace {

constexpr int kReferenceLatch = 2;
constexpr int kLatchArmed = 7;
constexpr int32_t kRepeatWindow = 990;
constexpr uint32_t kAcuRiteMarks = 2;

int32_t g_loggedMarkCount[kEncoderAxisCount];

bool IsEncoderAxis(int axis) { return axis >= 0 && axis < kEncoderAxisCount; }

bool IsRepeatOfLastMark(const ReferenceMarkDetector& d, int32_t latch)
{
    return d.markCount >= 1 && static_cast<int64_t>(latch) >= static_cast<int64_t>(d.lastLatch) - kRepeatWindow &&
           static_cast<int64_t>(latch) <= static_cast<int64_t>(d.lastLatch) + kRepeatWindow;
}

// The scale figures of the axis as the calculation takes them. Without the
// board (or on the zoom) they stay zero, which the calculation refuses.
DistanceCodedInput ScaleFigures(int axis, int32_t last, int32_t previous)
{
    DistanceCodedInput in{last, previous, false, 0.0, 0.0, 0.0, false};
    if (!IsEncoderAxis(axis) || !IsAXBBoardLoaded(true))
        return in;
    const double countsPerMm = static_cast<double>(g_param[AxisParam(kParamCountsPerMm, axis)]);
    in.acu = g_param[AxisParam(kParamMarkType, axis)] == kAcuRiteMarks;
    if (countsPerMm != 0.0) {
        in.res = 1.0 / countsPerMm;
        in.pit = static_cast<double>(g_param[AxisParam(kParamMarkPitch, axis)]) / countsPerMm;
        in.inc = static_cast<double>(g_param[AxisParam(kParamMarkIncrement, axis)]) / countsPerMm;
    }
    in.reverse = (g_param[kParamCountDirection] & AxisBit(axis)) != 0;
    return in;
}

void LogCalculation(const DistanceCodedInput& in, const DistanceCodedResult& r)
{
    LogPrintf(g_log, "incoming parameters: last: %d prev: %d acu %d res %.12g pit %.12g inc %.12g\n", in.last,
              in.previous, in.acu ? 1 : 0, in.res, in.pit, in.inc);
    if (r.step == DistanceCodedStep::RefusedResolution)
        return;
    LogPrintf(g_log, "Interpolation:              %d\n", r.countsPerLine / 4);
    LogPrintf(g_log, "counts/pitch line:          %d\n", r.countsPerLine);
    LogPrintf(g_log, "pitchLines per fixIncrement %d\n", r.linesPerIncrement);
    LogPrintf(g_log, "Counts per fixed Increment: %d\n", r.countsPerIncrement);
    if (r.step == DistanceCodedStep::RefusedIncrement) {
        g_log.Write("distance-coded increment has fewer than two pitch lines: no zero\n");
        return;
    }
    if (!in.acu && r.linesPerIncrement % 2 != 0)
        LogPrintf(g_log, "warning: odd increment of %d pitch lines, the zero may be one increment off\n",
                  r.linesPerIncrement);
    LogPrintf(g_log, "span in counts:             %d\n", r.span);
    LogPrintf(g_log, "span in pitch lines (abs):  %d\n", r.spanLines);
    if (r.step == DistanceCodedStep::RefusedSpan) {
        LogPrintf(g_log, "no two neighbouring marks lie %d pitch lines apart (a mark missed or latched twice): no zero\n",
                  r.spanLines);
        return;
    }
    LogPrintf(g_log, "offset from increment start to zero: %d\n", r.toZero);
    LogPrintf(g_log, "calculated dynamic offset: %.12g\n", r.offset);
}

bool ApplyDistanceCodedOffset(int axis, int32_t last, int32_t previous)
{
    LogPrintf(g_log, "c-scale reference mark home on axis: %d last count: %d previous count:No %d\n", axis, last,
              previous);
    const DistanceCodedInput in = ScaleFigures(axis, last, previous);
    const DistanceCodedResult r = CalcDistanceCodedOffset(in);
    LogCalculation(in, r);
    LogPrintf(g_log, "Offset:%.12g\n", r.offset);
    if (!r.ok())
        return false;
    // The offset is a count the board's 32-bit arithmetic produced; only its
    // negation can leave the range, and then it wraps as the counter would.
    SetAxisOffset(axis, static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(r.offset))));
    return true;
}

} // namespace

void updateReferenceMarkTypeAndEnable(int8_t axis, bool enable)
{
    if (!IsEncoderAxis(axis))
        return;
    g_refMarks[axis] = {0, 0, 0, enable};
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("updateReferenceMarkTypeAndEnableb failed to get ZEZ_LOCK\n");
        return;
    }
    AXB_SetLatchMode(0, axis, kReferenceLatch, enable ? kLatchArmed : 0);
    AXB_ClearLatchStatus(0, static_cast<uint8_t>(AxisBit(axis)));
    AXB_GetLatchReg(0, axis, kReferenceLatch, &g_refMarks[axis].lastLatch);
}

int32_t CheckReferenceMark(int axis, int32_t& last, int32_t& previous)
{
    if (!IsEncoderAxis(axis)) {
        last = previous = 0;
        return 0;
    }
    ReferenceMarkDetector& d = g_refMarks[axis];
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("Failed to get ZEZ Lock\n");
    } else {
        uint16_t status = 0;
        AXB_GetAxisStatus(0, axis, &status);
        if (status & kAxisStatusLatch2) {
            int32_t latch = 0;
            AXB_GetLatchReg(0, axis, kReferenceLatch, &latch);
            if (IsRepeatOfLastMark(d, latch)) {
                LogPrintf(g_log, "Removed AXIS %d reference mark due to rules\n", axis);
            } else {
                d.prevLatch = d.lastLatch;
                ++d.markCount;
                d.lastLatch = latch;
            }
            AXB_ClearLatchStatus(0, static_cast<uint8_t>(AxisBit(axis)));
        }
    }
    last = d.lastLatch;
    previous = d.prevLatch;
    return d.markCount;
}

void SetAxisOffset(int axis, int32_t value)
{
    g_offset[axis] = value;
    LogPrintf(g_log, "g_offset[%d]=%d\n", axis, value);
}

bool ApplyHomeOffset(int axis, int32_t last, int32_t previous, int kind)
{
    if (kind == kHomeSingleMark) {
        if (!IsEncoderAxis(axis))
            return false;
        SetAxisOffset(axis, last);
        LogPrintf(g_log, "single reference mark home on axis: %d count: %d\n", axis, last);
        return true;
    }
    if (kind == kHomeDistanceCoded)
        return ApplyDistanceCodedOffset(axis, last, previous);
    return false;
}

void RefMarkLogPoll()
{
    for (int axis = 0; axis < kEncoderAxisCount; ++axis) {
        if (!g_refMarkLogging[axis])
            continue;
        int32_t latest = 0, previous = 0;
        const int32_t count = CheckReferenceMark(axis, latest, previous);
        if (count == g_loggedMarkCount[axis])
            continue;
        LogPrintf(g_log, "Ref Mark,%d,%d,%d,%d\n", count, latest, previous,
                  static_cast<int32_t>(static_cast<uint32_t>(latest) - static_cast<uint32_t>(previous)));
        g_loggedMarkCount[axis] = count;
    }
}

void ResetReferenceMarks()
{
    for (ReferenceMarkDetector& d : g_refMarks)
        d = {};
    for (int32_t& count : g_loggedMarkCount)
        count = 0;
}
