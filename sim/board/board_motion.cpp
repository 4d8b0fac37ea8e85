// The motion commands of the five axes and the limits they run within.
#include "board.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr double kMaxPercent = 100.0;
// P062 = 0 leaves the acceleration unlimited.
constexpr double kUnlimitedAcceleration = 1e12;
constexpr int kLinearAxes = 4; // X, Y, Z, Q take part in a linear move
constexpr int kCircleAxes = 3; // X, Y, Z carry a circular move
constexpr int kCircleTravelChecks = 360;

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

double Board::Speed(int axis, double percent) const { return MaxVelocity(axis) * percent / 100; }

double Board::Acceleration(int axis) const
{
    const double a = static_cast<double>(Param(AxisParam(62, axis))) * Param(AxisParam(58, axis));
    return a > 0 ? a : kUnlimitedAcceleration;
}

// P066 = 0 switches the board's following-error stop off. The servo loop
// runs with the gains the parameters hold when the command comes.
Axis::Drive Board::Drive(int axis, double percent) const
{
    const double limit = HasEncoder(axis) ? static_cast<double>(Param(AxisParam(66, axis))) : 0.0;
    return {Speed(axis, percent), Acceleration(axis), limit,
            {AxisValue(50, axis), AxisValue(51, axis), AxisValue(52, axis), AxisValue(53, axis)}};
}

Board::FenceWindow Board::Fences(int axis) const
{
    return {static_cast<int32_t>(Param(AxisParam(69, axis))), static_cast<int32_t>(Param(AxisParam(68, axis)))};
}

// The software fences keep every target between them.
double Board::FencedTarget(int axis, int32_t target) const
{
    const FenceWindow fences = Fences(axis);
    if (fences.Valid())
        target = std::clamp(target, fences.minus, fences.plus);
    return axes_[axis].FromCount(target);
}

// Motion. A disabled axis (motor type 0) takes commands and stays put.

int Board::SetAxisPosAbs(int board, int axis, int32_t target)
{
    if (!ValidAxis(board, axis))
        return 0;
    Commanded(axis);
    if (MotorType(axis) != 0)
        axes_[axis].Move(nowUs_, FencedTarget(axis, target), Drive(axis, io_[axis].velocityPercent));
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
        speedPerCount = std::min(speedPerCount, Speed(a, Percent(velocity)) / distance[a]);
        accelerationPerCount = std::min(accelerationPerCount, Acceleration(a) / distance[a]);
    }
    for (int a = 0; a < kLinearAxes; ++a) {
        Commanded(a);
        if (MotorType(a) == 0)
            continue;
        // An axis that is already there keeps its own limits for braking.
        Axis::Drive drive = Drive(a, Percent(velocity));
        if (distance[a] > 0 && std::isfinite(speedPerCount)) {
            drive.vmax = speedPerCount * distance[a];
            drive.amax = accelerationPerCount * distance[a];
        }
        axes_[a].Move(nowUs_, goal[a], drive);
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
        speed = std::min(speed, Speed(a, percent));
        acceleration = std::min(acceleration, Acceleration(a));
    }
    for (int a = 0; a < kCircleAxes; ++a) {
        Commanded(a);
        if (path->Length() > 0 && std::isfinite(speed) && MotorType(a) != 0) {
            Axis::Drive drive = Drive(a, percent);
            drive.vmax = speed;
            drive.amax = acceleration;
            axes_[a].Follow(nowUs_, path, a, drive);
        }
    }
    return 1;
}

int Board::SeekHome(int board, int axis)
{
    if (!ValidAxis(board, axis))
        return 0;
    Commanded(axis);
    if (MotorType(axis) != 0)
        axes_[axis].SeekHome(nowUs_, Drive(axis, io_[axis].velocityPercent));
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
