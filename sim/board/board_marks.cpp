// Reference marks on the scales and latch 2, which captures them.
#include "board.h"

#include <cstdio>

namespace {

constexpr int32_t kReferenceMarkMode = 7; // the mode the program arms latch 2 with
constexpr int kMarkConfigRegister = 2;
constexpr uint16_t kAnalogMarkInverted = 0x0800;
constexpr int kEncoderAxes = 4;           // P016..P019 and P021 describe X..Q
constexpr uint32_t kFirstTtlSignal = 6;   // signal types 6..8 are TTL
constexpr uint32_t kLastTtlSignal = 8;

} // namespace

// The board's reference-mark input has to match the scale's polarity:
// register 2 bit 11 for analog encoders, P021 bit (a + 4) for TTL ones.
bool Board::SeesMarks(int axis) const
{
    bool inverted = (io_[axis].registers[kMarkConfigRegister] & kAnalogMarkInverted) != 0;
    if (axis < kEncoderAxes) {
        const uint32_t signal = Param(16 + axis) >> 8 & 0xFF;
        if (signal >= kFirstTtlSignal && signal <= kLastTtlSignal)
            inverted = (Param(21) >> (axis + 4) & 1) != 0;
    }
    return inverted == markInverted_[axis];
}

void Board::ScanReferenceMarks(int axis)
{
    AxisIo& io = io_[axis];
    const uint64_t from = io.scannedUs;
    io.scannedUs = nowUs_;
    if (io.latchMode[kReferenceLatch] != kReferenceMarkMode || (io.axisStatus & kReferenceCaptured) != 0 ||
        marks_[axis].empty() || !HasEncoder(axis) || !SeesMarks(axis))
        return;
    const std::optional<Axis::Crossing> crossing = axes_[axis].FirstCrossing(from, nowUs_, marks_[axis]);
    if (!crossing)
        return;
    io.referenceLatch = axes_[axis].Count(static_cast<double>(crossing->mark));
    io.axisStatus |= kReferenceCaptured;
    char text[96];
    std::snprintf(text, sizeof text, "axis %s: reference mark latched at %d", kAxisNames[axis],
                  static_cast<int>(io.referenceLatch));
    Note(text, crossing->atUs);
}

void Board::RefreshMarks(int axis)
{
    marks_[axis] = scales_[axis].Within(axes_[axis].TravelMin() - 1, axes_[axis].TravelMax() + 1);
}

bool Board::SetMarks(int axis, const std::vector<int32_t>& counts)
{
    if (axis < 0 || axis >= kAxisCount)
        return false;
    std::vector<int64_t> marks;
    for (const int32_t c : counts)
        marks.push_back(static_cast<int64_t>(axes_[axis].FromCount(c)));
    scales_[axis].SetMarks(std::move(marks));
    RefreshMarks(axis);
    return true;
}

bool Board::SetCodedScale(int axis, bool acuRite, int32_t incrementLines, int32_t countsPerLine, int32_t zeroCount,
                          bool reversed)
{
    if (axis < 0 || axis >= kAxisCount)
        return false;
    const CodedLayout layout{acuRite, incrementLines, countsPerLine,
                             static_cast<int64_t>(axes_[axis].FromCount(zeroCount)), reversed};
    if (!scales_[axis].SetCoded(layout))
        return false;
    RefreshMarks(axis);
    return true;
}

std::vector<int32_t> Board::Marks(int axis) const
{
    std::vector<int32_t> counts;
    if (axis < 0 || axis >= kAxisCount)
        return counts;
    for (const int64_t m : marks_[axis])
        counts.push_back(axes_[axis].Count(static_cast<double>(m)));
    return counts;
}

void Board::SetMarkInverted(int axis, bool inverted)
{
    if (axis >= 0 && axis < kAxisCount)
        markInverted_[axis] = inverted;
}
