#include "axis.h"

#include <algorithm>
#include <cmath>

namespace {

// The servo trails its nominal position by a velocity and an acceleration
// term while moving and settles exponentially afterwards; at 100 mm/s and
// 500 mm/s² on a 1 µm scale that is about 60 counts.
constexpr double kLagPerVelocity = 0.0005;         // s
constexpr double kLagPerAcceleration = 0.00002;    // s²
constexpr double kSettleTimeConstant = 0.005;      // s
// The home search heads for the home switch at the lower end of travel at
// constant speed, so it aims far beyond it.
constexpr double kHomeSearchOvershoot = 1e9;
// A position within half a count of a limit is on its switch.
constexpr double kSwitchZone = 0.5;
// Segment durations add up with rounding errors; a move whose end is due
// within a nanosecond has ended.
constexpr double kTimeTolerance = 1e-9;

} // namespace

void Axis::PowerOn(double position, double travelMin, double travelMax)
{
    SetTravel(travelMin, travelMax);
    origin_ = 0;
    Place(0, position);
}

void Axis::SetTravel(double travelMin, double travelMax)
{
    travelMin_ = std::min(travelMin, travelMax);
    travelMax_ = std::max(travelMin, travelMax);
}

void Axis::Place(uint64_t nowUs, double position)
{
    motion_ = Motion{};
    motion_.startUs = nowUs;
    motion_.profile = Profile::Rest(std::clamp(position, travelMin_, travelMax_));
    settled_ = true;
    homeFound_ = false;
}

void Axis::Move(uint64_t nowUs, double target, double vmax, double amax)
{
    const MotionState s = Nominal(nowUs);
    StartStraight(nowUs, Profile::Move(s.position, s.velocity, target, vmax, amax), false);
}

void Axis::SeekHome(uint64_t nowUs, double vmax, double amax)
{
    const MotionState s = Nominal(nowUs);
    StartStraight(nowUs, Profile::Move(s.position, s.velocity, travelMin_ - kHomeSearchOvershoot, vmax, amax), true);
}

void Axis::Stop(uint64_t nowUs, double amax)
{
    const MotionState s = Nominal(nowUs);
    StartStraight(nowUs, Profile::Stop(s.position, s.velocity, amax), false);
}

// A circle is checked against the travel before it starts, so only straight
// moves watch the limit switches.
void Axis::Follow(uint64_t nowUs, std::shared_ptr<const CirclePath> path, int component, double vmax, double amax)
{
    const double length = path->Length();
    Begin(nowUs, Profile::Move(0, 0, length, vmax, amax), false);
    motion_.path = std::move(path);
    motion_.component = component;
}

void Axis::Begin(uint64_t nowUs, const Profile& profile, bool seekingHome)
{
    homeFound_ = false;
    settled_ = false;
    motion_ = Motion{};
    motion_.startUs = nowUs;
    motion_.profile = profile;
    motion_.seekingHome = seekingHome;
    motion_.endTime = profile.Duration();
}

void Axis::StartStraight(uint64_t nowUs, const Profile& profile, bool seekingHome)
{
    Begin(nowUs, profile, seekingHome);
    const double up = profile.TimeToCross(travelMax_, +1);
    const double down = profile.TimeToCross(travelMin_, -1);
    if (down >= 0 && (up < 0 || down <= up)) {
        motion_.stopAt = down;
        motion_.stopPosition = travelMin_;
        motion_.stoppedByLowerLimit = true;
    } else if (up >= 0) {
        motion_.stopAt = up;
        motion_.stopPosition = travelMax_;
    }
    motion_.endTime = std::min(motion_.endTime, motion_.stopAt);
    if (std::isfinite(motion_.endTime) && motion_.endTime > 0) {
        // The lag the motor has at the moment the move ends, before braking
        // or the switch stop it.
        const MotionState last = profile.At(std::nextafter(motion_.endTime, 0.0));
        motion_.lagAtEnd = kLagPerVelocity * last.velocity + kLagPerAcceleration * last.acceleration;
    }
}

// A clock set back before the start of the motion (a test switching to
// virtual time) finds it just starting.
double Axis::Seconds(uint64_t nowUs) const
{
    return std::max(static_cast<double>(static_cast<int64_t>(nowUs - motion_.startUs)) / 1e6, 0.0);
}

MotionState Axis::Kinematics(double t) const
{
    if (t >= motion_.stopAt)
        return {motion_.stopPosition, 0, 0};
    const MotionState s = motion_.profile.At(t);
    if (!motion_.path)
        return s;
    const int c = motion_.component;
    const Vec3 tangent = motion_.path->Tangent(s.position);
    return {motion_.path->Point(s.position)[c], tangent[c] * s.velocity, tangent[c] * s.acceleration};
}

MotionState Axis::Nominal(uint64_t nowUs) const { return Kinematics(Seconds(nowUs)); }

double Axis::Lag(uint64_t nowUs) const
{
    const double t = Seconds(nowUs);
    if (t < motion_.endTime) {
        const MotionState s = Kinematics(t);
        return kLagPerVelocity * s.velocity + kLagPerAcceleration * s.acceleration;
    }
    return motion_.lagAtEnd * std::exp(-(t - motion_.endTime) / kSettleTimeConstant);
}

double Axis::LagRate(uint64_t nowUs) const
{
    const double t = Seconds(nowUs);
    if (t < motion_.endTime)
        return kLagPerVelocity * Kinematics(t).acceleration;
    return -Lag(nowUs) / kSettleTimeConstant;
}

bool Axis::MoveEnded(uint64_t nowUs) const { return Seconds(nowUs) + kTimeTolerance >= motion_.endTime; }

void Axis::Update(uint64_t nowUs)
{
    if (settled_ || !MoveEnded(nowUs))
        return;
    settled_ = true;
    if (motion_.seekingHome && motion_.stoppedByLowerLimit) {
        homeFound_ = true;
        ZeroCount(motion_.stopPosition);
    }
}

bool Axis::OnUpperLimit(uint64_t nowUs) const { return Nominal(nowUs).position >= travelMax_ - kSwitchZone; }

bool Axis::OnLowerLimit(uint64_t nowUs) const { return Nominal(nowUs).position <= travelMin_ + kSwitchZone; }

double Axis::Target() const
{
    if (motion_.path)
        return motion_.path->Point(motion_.path->Length())[motion_.component];
    return motion_.seekingHome ? travelMin_ : motion_.profile.Target();
}

int32_t Axis::Count(double position) const
{
    const int64_t count = std::llround(position) - origin_;
    return static_cast<int32_t>(static_cast<uint32_t>(count));
}

void Axis::ZeroCount(double position) { origin_ = std::llround(position); }
