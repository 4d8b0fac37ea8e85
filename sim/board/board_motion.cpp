// Positions, status words and the motion commands of the five axes.
#include "board.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// Move-status byte
constexpr uint8_t kMoveEnded = 0x01;
constexpr uint8_t kHomeFound = 0x02;
constexpr uint8_t kAxisActive = 0x04;
constexpr uint8_t kNotInPosition = 0x08; // move ended, lag still outside the target window
constexpr uint8_t kFencePlus = 0x10;
constexpr uint8_t kFenceMinus = 0x20;
constexpr uint8_t kLimitPlus = 0x40;
constexpr uint8_t kLimitMinus = 0x80; // on the zoom also its home switch

// Axis status word bits the driver clears.
constexpr uint16_t kEncoderErrors = 0x0018; // signal error, frequency error
constexpr uint16_t kReferenceCaptured = 0x0020;

constexpr double kMaxPercent = 100.0;
// P062 = 0 leaves the acceleration unlimited.
constexpr double kUnlimitedAcceleration = 1e12;
constexpr int kLatchCount = 4;
constexpr int kReferenceLatch = 2;
constexpr int kLinearAxes = 4; // X, Y, Z, Q take part in a linear move
constexpr int kCircleAxes = 3; // X, Y, Z carry a circular move
constexpr int kCircleTravelChecks = 360;

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

// Motion limits

double Board::Percent(uint16_t velocity) const
{
    const double percent = UsesCentiPercent(versions_.firmware) ? velocity / 100.0 : velocity;
    return std::min(percent, kMaxPercent);
}

double Board::MaxVelocity(int axis) const
{
    double mmPerSecond = Param(AxisParam(61, axis));
    if (UsesCentiPercent(versions_.firmware))
        mmPerSecond /= 10;
    return mmPerSecond * Param(AxisParam(58, axis));
}

double Board::Acceleration(int axis) const
{
    const double a = static_cast<double>(Param(AxisParam(62, axis))) * Param(AxisParam(58, axis));
    return a > 0 ? a : kUnlimitedAcceleration;
}

// The software fences P068/P069 keep every target between them.
double Board::FencedTarget(int axis, int32_t target) const
{
    const auto plus = static_cast<int32_t>(Param(AxisParam(68, axis)));
    const auto minus = static_cast<int32_t>(Param(AxisParam(69, axis)));
    if (minus <= plus)
        target = std::clamp(target, minus, plus);
    return axes_[axis].FromCount(target);
}

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
    const auto plus = static_cast<int32_t>(Param(AxisParam(68, axis)));
    const auto minus = static_cast<int32_t>(Param(AxisParam(69, axis)));
    const int32_t count = NominalCount(axis);
    if (minus <= plus && count >= plus)
        status |= kFencePlus;
    if (minus <= plus && count <= minus)
        status |= kFenceMinus;
    if (a.OnUpperLimit(nowUs_))
        status |= kLimitPlus;
    if (a.OnLowerLimit(nowUs_))
        status |= kLimitMinus;
    return status;
}

// Position and status

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
    Put(errorByte, io_[axis].errorByte);
    return 1;
}

int Board::GetAxisStatus(int board, int axis, uint16_t* status)
{
    if (!ValidAxis(board, axis))
        return 0;
    Put(status, io_[axis].axisStatus);
    return 1;
}

int Board::GetSystemStatus(int board, uint32_t* status)
{
    if (!Ready(board))
        return 0;
    Put(status, systemStatus_);
    return 1;
}

int Board::ReadStatusWord(int board, uint32_t* word)
{
    if (!Ready(board))
        return 0;
    Put(word, systemStatus_);
    return 1;
}

// The servo loop's view of the axis: the PID parts follow the lag the way a
// tuned loop would, scaled by the axis's gain parameters.
int Board::GetAxisRecord(int board, int axis, int32_t* record)
{
    if (!ValidAxis(board, axis))
        return 0;
    if (!record)
        return 1;
    const MotionState nominal = axes_[axis].Nominal(nowUs_);
    const double lag = NominalCount(axis) - ActualCount(axis);
    const auto gain = [&](int xParam) { return static_cast<double>(static_cast<int32_t>(Param(AxisParam(xParam, axis)))); };
    std::array<int32_t, kRecordFields> r{};
    r[kTarget] = axes_[axis].Count(axes_[axis].Target());
    r[kActual] = ActualCount(axis);
    r[kNominal] = NominalCount(axis);
    r[kLag] = Saturate(lag);
    r[kVSoll] = Saturate(nominal.velocity);
    r[kVIst] = Saturate(nominal.velocity - (HasEncoder(axis) ? axes_[axis].LagRate(nowUs_) : 0.0));
    r[kPartV] = Saturate(gain(74) * nominal.velocity / 1000);
    r[kPartP] = Saturate(gain(50) * lag / 16);
    r[kPartI] = Saturate(gain(52) * lag / 4);
    r[kPartD] = Saturate(gain(51) * nominal.acceleration / 1e6);
    r[kBase] = Saturate(gain(54));
    r[kPid] = std::clamp(r[kPartV] + r[kPartP] + r[kPartI] + r[kPartD] + r[kBase], -32767, 32767);
    r[kRCnt] = io_[axis].referenceLatch;
    r[kFlags] = MoveStatus(axis) | io_[axis].errorByte << 8 | MotorType(axis) << 16;
    r[kStatus] = io_[axis].axisStatus;
    std::copy(r.begin(), r.end(), record);
    return 1;
}

// Hundredths of a milliamp: the holding current at rest, more while the
// axis accelerates and runs.
int Board::GetMotorCurrent(int board, int axis, uint32_t* current)
{
    if (!ValidAxis(board, axis))
        return 0;
    double milliamps = 0;
    if (MotorType(axis) != 0) {
        const MotionState s = axes_[axis].Nominal(nowUs_);
        const double limit = Param(AxisParam(67, axis));
        const double holding = limit * std::min<uint32_t>(Param(AxisParam(78, axis)), 100) / 100;
        const double vmax = MaxVelocity(axis);
        milliamps = holding + 0.5 * limit * std::fabs(s.acceleration) / Acceleration(axis) +
                    (vmax > 0 ? 0.1 * limit * std::fabs(s.velocity) / vmax : 0.0);
        milliamps = std::min(milliamps, limit);
    }
    Put(current, std::lround(milliamps * 100));
    return 1;
}

int Board::ResetAxisError(int board, int axis, int)
{
    if (!ValidAxis(board, axis))
        return 0;
    io_[axis].errorByte = 0;
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

// Motion. A disabled axis (motor type 0) takes commands and stays put.

int Board::SetAxisPosAbs(int board, int axis, int32_t target)
{
    if (!ValidAxis(board, axis))
        return 0;
    if (MotorType(axis) != 0)
        axes_[axis].Move(nowUs_, FencedTarget(axis, target), MaxVelocity(axis) * io_[axis].velocityPercent / 100,
                         Acceleration(axis));
    return 1;
}

// The axes run scaled profiles that start and end together, each within its
// own velocity (at the given percentage) and acceleration.
int Board::SetAxisPosLin(int board, int32_t x, int32_t y, int32_t z, int32_t q, uint16_t velocity)
{
    if (!Ready(board))
        return 0;
    const int32_t targets[kLinearAxes] = {x, y, z, q};
    double goal[kLinearAxes];
    double distance[kLinearAxes];
    double speedPerCount = std::numeric_limits<double>::infinity();
    double accelerationPerCount = std::numeric_limits<double>::infinity();
    for (int a = 0; a < kLinearAxes; ++a) {
        goal[a] = FencedTarget(a, targets[a]);
        distance[a] = std::fabs(goal[a] - NominalPosition(a));
        if (MotorType(a) == 0 || distance[a] == 0)
            continue;
        speedPerCount = std::min(speedPerCount, MaxVelocity(a) * Percent(velocity) / 100 / distance[a]);
        accelerationPerCount = std::min(accelerationPerCount, Acceleration(a) / distance[a]);
    }
    for (int a = 0; a < kLinearAxes; ++a) {
        if (MotorType(a) == 0)
            continue;
        // An axis that is already there keeps its own limits for braking.
        const bool travels = distance[a] > 0 && std::isfinite(speedPerCount);
        axes_[a].Move(nowUs_, goal[a], travels ? speedPerCount * distance[a] : MaxVelocity(a) * Percent(velocity) / 100,
                      travels ? accelerationPerCount * distance[a] : Acceleration(a));
    }
    return 1;
}

bool Board::PathWithinTravel(const CirclePath& path) const
{
    for (int i = 0; i <= kCircleTravelChecks; ++i) {
        const Vec3 p = path.Point(path.Length() * i / kCircleTravelChecks);
        for (int a = 0; a < kCircleAxes; ++a)
            if (p[a] < axes_[a].TravelMin() || p[a] > axes_[a].TravelMax())
                return false;
    }
    return true;
}

// The circle starts where X, Y and Z stand; its velocity is always a
// percentage times 100. A circle that would leave the travel is refused.
int Board::SetAxisPosCircle(int board, int32_t radius, double startDeg, double sweepDeg, int32_t feed,
                            uint16_t velocity, double pitchDeg, double yawDeg)
{
    if (!Ready(board) || !std::isfinite(startDeg) || !std::isfinite(sweepDeg) || !std::isfinite(pitchDeg) ||
        !std::isfinite(yawDeg))
        return 0;
    const Vec3 start = {NominalPosition(0), NominalPosition(1), NominalPosition(2)};
    auto path = std::make_shared<const CirclePath>(start, radius, startDeg, sweepDeg, feed, pitchDeg, yawDeg);
    if (!PathWithinTravel(*path))
        return 0;
    const double percent = std::min(velocity / 100.0, kMaxPercent);
    double speed = std::numeric_limits<double>::infinity();
    double acceleration = std::numeric_limits<double>::infinity();
    for (int a = 0; a < kCircleAxes; ++a) {
        if (MotorType(a) == 0)
            continue;
        speed = std::min(speed, MaxVelocity(a) * percent / 100);
        acceleration = std::min(acceleration, Acceleration(a));
    }
    if (path->Length() > 0 && std::isfinite(speed))
        for (int a = 0; a < kCircleAxes; ++a)
            if (MotorType(a) != 0)
                axes_[a].Follow(nowUs_, path, a, speed, acceleration);
    return 1;
}

int Board::SeekHome(int board, int axis)
{
    if (!ValidAxis(board, axis))
        return 0;
    if (MotorType(axis) != 0)
        axes_[axis].SeekHome(nowUs_, MaxVelocity(axis) * io_[axis].velocityPercent / 100, Acceleration(axis));
    return 1;
}

int Board::StopAxis(int board, int axis)
{
    if (!ValidAxis(board, axis))
        return 0;
    axes_[axis].Stop(nowUs_, Acceleration(axis));
    return 1;
}

// Takes effect with the next command to the axis.
int Board::SetVelocityPercent(int board, int axis, uint16_t velocity)
{
    if (!ValidAxis(board, axis))
        return 0;
    io_[axis].velocityPercent = Percent(velocity);
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
