// Positions, status words, latches and axis registers of the five axes.
#include "board.h"

#include <algorithm>
#include <cmath>

namespace {

// Move-status byte
constexpr uint8_t kMoveEnded = 0x01;
constexpr uint8_t kHomeFound = 0x02;
constexpr uint8_t kAxisActive = 0x04;
constexpr uint8_t kNotInPosition = 0x08; // move ended, lag still outside the target window
constexpr uint8_t kFencePlus = 0x10;
constexpr uint8_t kFenceMinus = 0x20;
constexpr uint8_t kLimitPlus = 0x40;
constexpr uint8_t kLimitMinus = 0x80; // on the zoom its home switch

// Axis status word bits the driver clears.
constexpr uint16_t kSignalError = 0x0008;
constexpr uint16_t kFrequencyError = 0x0010;
constexpr uint16_t kEncoderErrors = kSignalError | kFrequencyError;

constexpr int kLatchCount = 4;

enum RecordField {
    kTarget, kActual, kNominal, kLag, kVSoll, kVIst, kPartV, kPartP, kPartI, kPartD, kBase, kPid, kRCnt, kFlags,
    kStatus, kRecordFields
};

int32_t Saturate(double v)
{
    return static_cast<int32_t>(std::clamp(std::round(v), -2147483648.0, 2147483647.0));
}

bool InMask(uint8_t mask, int axis) { return (mask >> axis & 1) != 0; }

} // namespace

uint8_t Board::MoveStatus(int axis) const
{
    const Axis& a = axes_[axis];
    uint8_t status = 0;
    if (MotorType(axis) == 0) {
        status = kMoveEnded; // a disabled axis never moves
    } else {
        status = kAxisActive;
        if (a.MoveEnded(nowUs_)) {
            status |= kMoveEnded;
            if (std::fabs(Lag(axis)) > Param(AxisParam(60, axis)))
                status |= kNotInPosition;
        }
    }
    if (a.HomeFound())
        status |= kHomeFound;
    const FenceWindow fences = Fences(axis);
    const int32_t count = NominalCount(axis);
    if (fences.Valid() && count >= fences.plus)
        status |= kFencePlus;
    if (fences.Valid() && count <= fences.minus)
        status |= kFenceMinus;
    if (a.OnUpperLimit(nowUs_))
        status |= kLimitPlus;
    if (axis == kZoomAxis ? a.OnHomeSwitch(nowUs_) : a.OnLowerLimit(nowUs_))
        status |= kLimitMinus;
    const ForcedBits& forced = forcedMoveStatus_[axis];
    return static_cast<uint8_t>((status & ~forced.mask) | (forced.bits & forced.mask));
}

int Board::GetAxisPosValue(int board, int axis, int32_t* position)
{
    if (!ValidAxis(board, axis))
        return 0;
    Put(position, ActualCount(axis));
    return 1;
}

// Latches 0, 1 and 3 follow the encoder (an open-loop stepper has none);
// latch 2 holds the last reference mark.
int Board::GetLatchReg(int board, int axis, int latch, int32_t* count)
{
    if (!ValidAxis(board, axis) || latch < 0 || latch >= kLatchCount)
        return 0;
    if (latch == kReferenceLatch)
        Put(count, io_[axis].referenceLatch);
    else
        Put(count, HasEncoder(axis) ? ActualCount(axis) : 0);
    return 1;
}

int Board::GetFollowingError(int board, int axis, int32_t* lag)
{
    if (!ValidAxis(board, axis))
        return 0;
    Put(lag, NominalCount(axis) - ActualCount(axis));
    return 1;
}

int Board::GetMoveStatus(int board, int axis, uint8_t* moveStatus, uint8_t* errorByte)
{
    if (!ValidAxis(board, axis))
        return 0;
    Put(moveStatus, MoveStatus(axis));
    Put(errorByte, io_[axis].ErrorByte());
    return 1;
}

int Board::GetAxisStatus(int board, int axis, uint16_t* status)
{
    if (!ValidAxis(board, axis))
        return 0;
    Put(status, io_[axis].axisStatus);
    return 1;
}

// Bits 8..11 flag the parameter, user, system and IC-MQ areas of the
// flash, bits 12..15 their backup copies: set while the matching flash
// status item reports a fault.
uint32_t Board::SystemStatus() const
{
    constexpr int kFirstAreaItem = 240;
    constexpr int kAreaItems = 8;
    constexpr int kFirstFlashBit = 8;
    uint32_t status = systemStatus_;
    for (int i = 0; i < kAreaItems; ++i)
        if (flashStatus_[kFirstAreaItem + i] != 0)
            status |= 1u << (kFirstFlashBit + i);
    return status;
}

int Board::GetSystemStatus(int board, uint32_t* status)
{
    if (!Ready(board))
        return 0;
    Put(status, SystemStatus());
    return 1;
}

int Board::ReadStatusWord(int board, uint32_t* word)
{
    if (!Ready(board))
        return 0;
    Put(word, SystemStatus());
    return 1;
}

// The servo loop's view of the axis: its P, I and D parts as it has them now.
int Board::GetAxisRecord(int board, int axis, int32_t* record)
{
    if (!ValidAxis(board, axis))
        return 0;
    if (!record)
        return 1;
    const MotionState nominal = axes_[axis].Nominal(nowUs_);
    const double lag = NominalCount(axis) - ActualCount(axis);
    std::array<int32_t, kRecordFields> r{};
    r[kTarget] = axes_[axis].Count(axes_[axis].Target());
    r[kActual] = ActualCount(axis);
    r[kNominal] = NominalCount(axis);
    r[kLag] = Saturate(lag);
    r[kVSoll] = Saturate(nominal.velocity);
    r[kVIst] = Saturate(HasEncoder(axis) ? axes_[axis].ActualVelocity(nowUs_) : nominal.velocity);
    r[kPartV] = Saturate(AxisValue(74, axis) * nominal.velocity / 1000);
    const ServoParts parts =
        ServoOutput(axes_[axis].Gains(), axes_[axis].Motor(nowUs_), {nominal.position, nominal.velocity});
    r[kPartP] = Saturate(parts.p);
    r[kPartI] = Saturate(parts.i);
    r[kPartD] = Saturate(parts.d);
    r[kBase] = Saturate(AxisValue(54, axis));
    r[kPid] = std::clamp(r[kPartV] + r[kPartP] + r[kPartI] + r[kPartD] + r[kBase], -32767, 32767);
    r[kRCnt] = io_[axis].referenceLatch;
    r[kFlags] = MoveStatus(axis) | io_[axis].ErrorByte() << 8 | MotorType(axis) << 16;
    r[kStatus] = io_[axis].axisStatus;
    std::copy(r.begin(), r.end(), record);
    return 1;
}

int Board::ResetAxisError(int board, int axis, int)
{
    if (!ValidAxis(board, axis))
        return 0;
    io_[axis].stickyErrors = io_[axis].transientErrors = 0;
    return 1;
}

int Board::ClearEncoderErrors(int board, uint8_t axisMask)
{
    if (!Ready(board))
        return 0;
    for (int a = 0; a < kAxisCount; ++a)
        if (InMask(axisMask, a))
            io_[a].axisStatus &= static_cast<uint16_t>(~kEncoderErrors);
    return 1;
}

// The encoder interface latches a fault until the program clears it.
void Board::InjectEncoderErrors(int axis, bool signal, bool frequency)
{
    if (axis < 0 || axis >= kAxisCount)
        return;
    io_[axis].axisStatus |= (signal ? kSignalError : 0) | (frequency ? kFrequencyError : 0);
}

int Board::ClearCount(int board, uint8_t axisMask)
{
    if (!Ready(board))
        return 0;
    for (int a = 0; a < kAxisCount; ++a)
        if (InMask(axisMask, a))
            axes_[a].ZeroCount(ActualPosition(a));
    return 1;
}

int Board::ClearLatchStatus(int board, uint8_t axisMask)
{
    if (!Ready(board))
        return 0;
    for (int a = 0; a < kAxisCount; ++a)
        if (InMask(axisMask, a))
            io_[a].axisStatus &= static_cast<uint16_t>(~kReferenceCaptured);
    return 1;
}

int Board::SetLatchMode(int board, int axis, int latch, int mode)
{
    if (!ValidAxis(board, axis) || latch < 0 || latch >= kLatchCount)
        return 0;
    io_[axis].latchMode[latch] = mode;
    return 1;
}

int Board::GetLatchMode(int board, int axis, int latch, int32_t* mode)
{
    if (!ValidAxis(board, axis) || latch < 0 || latch >= kLatchCount)
        return 0;
    Put(mode, io_[axis].latchMode[latch]);
    return 1;
}

int Board::SetAxisReg(int board, int axis, int reg, uint16_t value)
{
    if (!ValidAxis(board, axis) || reg < 0 || reg >= static_cast<int>(io_[axis].registers.size()))
        return 0;
    io_[axis].registers[reg] = value;
    return 1;
}

int Board::GetAxisReg(int board, int axis, int reg, uint16_t* value)
{
    if (!ValidAxis(board, axis) || reg < 0 || reg >= static_cast<int>(io_[axis].registers.size()))
        return 0;
    Put(value, io_[axis].registers[reg]);
    return 1;
}
