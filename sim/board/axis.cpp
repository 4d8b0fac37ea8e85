#include "axis.h"

#include <algorithm>
#include <cmath>

namespace {

// The servo trails its nominal position by a velocity and an acceleration
// term while moving and settles exponentially afterwards; at 100 mm/s and
// 500 mm/s² on a 1 µm scale that is about 60 counts. A new command starts
// from the lag the motor has, which fades with the same time constant, so
// the motor never jumps when a command arrives.
constexpr double kLagPerVelocity = 0.0005;         // s
constexpr double kLagPerAcceleration = 0.00002;    // s²
constexpr double kSettleTimeConstant = 0.005;      // s
// After this long a fading lag is below a millionth of a count per count.
constexpr double kFadeSpan = 0.1;                  // s
// The home search heads for the lower end of travel at constant speed, so
// it aims far beyond it.
constexpr double kHomeSearchOvershoot = 1e9;
// A position within half a count of a switch is on it.
constexpr double kSwitchZone = 0.5;
// Segment durations add up with rounding errors; a move whose end is due
// within a nanosecond has ended.
constexpr double kTimeTolerance = 1e-9;
// The encoder is followed at this step when the exact shape of a stretch
// is not known in closed form (mark crossings, the lag along a circle); the
// step is taken from the start of the motion, so the result does not depend
// on when the program asks.
constexpr double kSampleStep = 0.00005;            // s
constexpr double kMaxSamples = 4e6;
constexpr int kBisections = 40;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

void Axis::PowerOn(double position, double travelMin, double travelMax)
{
    SetTravel(travelMin, travelMax);
    switches_ = true;
    stuck_ = false;
    homeSwitchWidth_ = 0;
    extraLag_ = 0;
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
    motion_.target = motion_.profile.Target();
    settled_ = true;
    homeFound_ = false;
}

void Axis::Move(uint64_t nowUs, double target, const Drive& drive)
{
    if (stuck_) {
        Jam(nowUs, Kind::Move, target, drive);
        return;
    }
    const MotionState s = Nominal(nowUs);
    StartStraight(nowUs, Profile::Move(s.position, s.velocity, target, drive.vmax, drive.amax), Kind::Move, target,
                  drive);
}

void Axis::SeekHome(uint64_t nowUs, const Drive& drive)
{
    if (stuck_) {
        Jam(nowUs, Kind::Home, travelMin_, drive);
        return;
    }
    const MotionState s = Nominal(nowUs);
    StartStraight(nowUs,
                  Profile::Move(s.position, s.velocity, travelMin_ - kHomeSearchOvershoot, drive.vmax, drive.amax),
                  Kind::Home, travelMin_, drive);
}

void Axis::Stop(uint64_t nowUs, double amax)
{
    const MotionState s = Nominal(nowUs);
    if (motion_.end == End::Jammed) {
        Begin(nowUs, Profile::Rest(s.position));
        return;
    }
    const Profile braking = Profile::Stop(s.position, s.velocity, amax);
    StartStraight(nowUs, braking, Kind::None, braking.Target(), Drive{0, amax, 0});
}

// A circle is checked against the travel before it starts, so it meets no
// switch or stop; only the following-error limit can end it early.
void Axis::Follow(uint64_t nowUs, std::shared_ptr<const CirclePath> path, int component, const Drive& drive)
{
    if (stuck_) {
        Jam(nowUs, Kind::Follow, path->Point(path->Length())[component], drive);
        return;
    }
    const double length = path->Length();
    Begin(nowUs, Profile::Move(0, 0, length, drive.vmax, drive.amax));
    motion_.path = std::move(path);
    motion_.component = component;
    motion_.target = motion_.path->Point(length)[component];
    motion_.kind = Kind::Follow;
    motion_.drive = drive;
    motion_.lagCarry -= SteadyLag(0);
    motion_.endTime = kInfinity;
    HoldAtStart();
    motion_.endTime = motion_.profile.Duration();
    if (drive.lagLimit > 0) {
        const double trip = SampledLagTrip(0, motion_.endTime, drive.lagLimit);
        if (trip >= 0) {
            motion_.haltPosition = ActualAt(trip) + extraLag_;
            motion_.haltAt = motion_.endTime = trip;
            motion_.end = End::FollowingError;
            return;
        }
    }
    if (motion_.endTime > 0)
        motion_.lagAtEnd = ServoLag(std::nextafter(motion_.endTime, 0.0));
}

// A new motion from where the nominal position is now, keeping the lag the
// motor has (it fades as the new motion goes on).
void Axis::Begin(uint64_t nowUs, const Profile& profile)
{
    const double lagNow = ServoLag(Seconds(nowUs));
    homeFound_ = false;
    settled_ = false;
    motion_ = Motion{};
    motion_.startUs = nowUs;
    motion_.profile = profile;
    motion_.target = profile.Target();
    motion_.endTime = profile.Duration();
    motion_.lagCarry = lagNow;
    if (motion_.endTime <= 0)
        motion_.lagAtEnd = lagNow;
}

void Axis::StartStraight(uint64_t nowUs, const Profile& profile, Kind kind, double target, const Drive& drive)
{
    Begin(nowUs, profile);
    const double lagStart = motion_.lagCarry;
    motion_.lagCarry -= SteadyLag(0);
    motion_.kind = kind;
    motion_.commandTarget = target;
    motion_.target = target;
    motion_.drive = drive;
    motion_.endTime = kInfinity; // while the events are worked out
    HoldAtStart();

    struct Candidate {
        double at;
        End end;
        double position;
    };
    Candidate best{profile.Duration(), End::Profile, profile.Target()};
    const auto consider = [&](double at, End end, double position) {
        if (at >= 0 && at < best.at)
            best = {at, end, position};
    };
    const bool homing = kind == Kind::Home;
    const double limit = drive.lagLimit;
    if (switches_) {
        if (homing) {
            const double edge = travelMin_ + homeSwitchWidth_;
            const double at = profile.TimeToCross(edge, -1);
            consider(at, End::HomeSwitch, at == 0 ? profile.At(0).position : edge);
        }
        consider(profile.TimeToCross(travelMax_, +1), End::LimitSwitch, travelMax_);
        consider(profile.TimeToCross(travelMin_, -1), End::LimitSwitch, travelMin_);
    } else if (limit > 0) {
        // Against a hard stop the motor stands while the nominal position
        // runs on; the lag reaches the limit when the nominal position is
        // that far beyond the stop.
        consider(profile.TimeToCross(travelMax_ + limit, +1), End::FollowingError, travelMax_);
        consider(profile.TimeToCross(travelMin_ - limit, -1), homing ? End::HomeAtStop : End::FollowingError,
                 travelMin_);
    }
    if (limit > 0) {
        // The fading lag is followed closely at first, the model's own lag
        // exactly afterwards.
        double trip = SampledLagTrip(0, std::min(kFadeSpan, best.at), limit);
        if (trip < 0)
            trip = profile.TimeLagExceeds(kLagPerVelocity, kLagPerAcceleration, limit, kFadeSpan);
        if (trip >= 0 && trip < best.at)
            best = {trip, End::FollowingError, ActualAt(trip) + extraLag_};
    }

    motion_.end = best.end;
    motion_.endTime = best.at;
    if (best.end != End::Profile) {
        motion_.haltAt = best.at;
        motion_.haltPosition = best.position;
    }
    if (!std::isfinite(motion_.endTime))
        return;
    if (best.end == End::FollowingError || best.end == End::HomeAtStop) {
        // The board stops the axis where the motor is: no lag remains.
        motion_.lagAtEnd = 0;
    } else {
        // The lag the motor has the moment the nominal position stops.
        motion_.lagAtEnd = motion_.endTime > 0 ? ServoLag(std::nextafter(motion_.endTime, 0.0)) : lagStart;
    }
}

// The motor stays where it is; the command is kept for when it comes free.
void Axis::Jam(uint64_t nowUs, Kind kind, double target, const Drive& drive)
{
    const double here = ActualAt(Seconds(nowUs)) + extraLag_;
    Begin(nowUs, Profile::Rest(here));
    motion_.lagCarry = 0;
    motion_.lagAtEnd = 0;
    motion_.end = End::Jammed;
    motion_.endTime = kInfinity;
    motion_.kind = kind;
    motion_.commandTarget = target;
    motion_.target = target;
    motion_.drive = drive;
}

// The model's lag would have the motor dip back a little when it sets off
// (more on a fine scale); the motor waits for the model instead.
void Axis::HoldAtStart()
{
    const double x0 = ActualAt(0);
    const double n0 = Kinematics(0).position;
    double direction = 0;
    for (double t = kSampleStep; t <= kFadeSpan && direction == 0; t += kSampleStep) {
        const double n = Kinematics(t).position;
        direction = (n > n0) - (n < n0);
    }
    const auto behind = [&](double t) { return direction * (ActualAt(t) - x0) < 0; };
    if (direction == 0 || !behind(kSampleStep / 2))
        return;
    double lo = 0, hi = kSampleStep;
    while (hi < kFadeSpan && behind(hi)) {
        lo = hi;
        hi += kSampleStep;
    }
    for (int i = 0; i < kBisections; ++i) {
        const double mid = (lo + hi) / 2;
        (behind(mid) ? lo : hi) = mid;
    }
    motion_.holdPosition = x0;
    motion_.holdUntil = hi;
}

void Axis::SetStuck(uint64_t nowUs, bool stuck)
{
    if (stuck == stuck_)
        return;
    stuck_ = stuck;
    const Motion m = motion_;
    if (stuck) {
        if (!MoveEnded(nowUs))
            Jam(nowUs, m.kind, m.commandTarget, m.drive);
        return;
    }
    if (m.end != End::Jammed)
        return;
    if (m.kind == Kind::Move)
        Move(nowUs, m.commandTarget, m.drive);
    else if (m.kind == Kind::Home)
        SeekHome(nowUs, m.drive);
    else
        Begin(nowUs, Profile::Rest(m.profile.Target())); // a circle is not resumed: it ends here
}

// A clock set back before the start of the motion (a test switching to
// virtual time) finds it just starting. A time within the tolerance of the
// end is the end itself: an end worked out from a sum of segments can lie a
// rounding error after the moment the move reports it has ended, and a
// command given then must start from where the motion stopped, not from
// just before the stop, still running into the switch.
double Axis::Seconds(uint64_t nowUs) const
{
    const double t = std::max(static_cast<double>(static_cast<int64_t>(nowUs - motion_.startUs)) / 1e6, 0.0);
    return std::fabs(t - motion_.endTime) <= kTimeTolerance ? motion_.endTime : t;
}

MotionState Axis::Kinematics(double t) const
{
    if (t >= motion_.haltAt)
        return {motion_.haltPosition, 0, 0};
    const MotionState s = motion_.profile.At(t);
    if (!motion_.path)
        return s;
    const int c = motion_.component;
    const Vec3 tangent = motion_.path->Tangent(s.position);
    const Vec3 curvature = motion_.path->Curvature(s.position);
    return {motion_.path->Point(s.position)[c], tangent[c] * s.velocity,
            tangent[c] * s.acceleration + curvature[c] * s.velocity * s.velocity};
}

double Axis::SteadyLag(double t) const
{
    const MotionState s = Kinematics(t);
    return kLagPerVelocity * s.velocity + kLagPerAcceleration * s.acceleration;
}

double Axis::SteadyLagRate(double t) const { return kLagPerVelocity * Kinematics(t).acceleration; }

double Axis::ServoLag(double t) const
{
    if (t < motion_.endTime)
        return SteadyLag(t) + motion_.lagCarry * std::exp(-t / kSettleTimeConstant);
    return motion_.lagAtEnd * std::exp(-(t - motion_.endTime) / kSettleTimeConstant);
}

double Axis::ActualAt(double t) const
{
    if (t < motion_.holdUntil && t < motion_.endTime)
        return motion_.holdPosition;
    return std::clamp(Kinematics(t).position - ServoLag(t) - extraLag_, travelMin_, travelMax_);
}

double Axis::SampledLagTrip(double from, double to, double limit) const
{
    if (!(to > from))
        return -1;
    const double step = std::max(kSampleStep, (to - from) / kMaxSamples);
    const auto over = [&](double t) { return std::fabs(Kinematics(t).position - ActualAt(t) - extraLag_) > limit; };
    double before = from;
    if (over(from))
        return from;
    for (double k = std::floor(from / step) + 1;; ++k) {
        const double t = std::min(k * step, to);
        if (t >= to)
            return -1;
        if (over(t)) {
            double lo = before, hi = t;
            for (int i = 0; i < kBisections; ++i) {
                const double mid = (lo + hi) / 2;
                (over(mid) ? hi : lo) = mid;
            }
            return hi;
        }
        before = t;
    }
}

MotionState Axis::Nominal(uint64_t nowUs) const { return Kinematics(Seconds(nowUs)); }

double Axis::Actual(uint64_t nowUs) const { return ActualAt(Seconds(nowUs)); }

double Axis::ActualVelocity(uint64_t nowUs) const
{
    const double t = Seconds(nowUs);
    const MotionState s = Kinematics(t);
    const double free = s.position - ServoLag(t) - extraLag_;
    if (free <= travelMin_ || free >= travelMax_ || (t < motion_.holdUntil && t < motion_.endTime))
        return 0;
    double lagRate;
    if (t < motion_.endTime)
        lagRate = SteadyLagRate(t) - motion_.lagCarry / kSettleTimeConstant * std::exp(-t / kSettleTimeConstant);
    else
        lagRate = -ServoLag(t) / kSettleTimeConstant;
    return s.velocity - lagRate;
}

uint64_t Axis::EndUs() const
{
    if (!std::isfinite(motion_.endTime) || motion_.endTime > 1e12)
        return UINT64_MAX;
    return motion_.startUs + static_cast<uint64_t>(std::llround(motion_.endTime * 1e6));
}

bool Axis::MoveEnded(uint64_t nowUs) const { return Seconds(nowUs) >= motion_.endTime; }

AxisEvent Axis::Update(uint64_t nowUs)
{
    if (settled_ || !MoveEnded(nowUs))
        return AxisEvent::None;
    settled_ = true;
    switch (motion_.end) {
    case End::HomeSwitch:
    case End::HomeAtStop:
        homeFound_ = true;
        ZeroCount(motion_.haltPosition);
        return AxisEvent::HomeFound;
    case End::FollowingError:
        return AxisEvent::FollowingError;
    default:
        return AxisEvent::None;
    }
}

bool Axis::OnUpperLimit(uint64_t nowUs) const
{
    return switches_ && Nominal(nowUs).position >= travelMax_ - kSwitchZone;
}

bool Axis::OnLowerLimit(uint64_t nowUs) const
{
    return switches_ && Nominal(nowUs).position <= travelMin_ + kSwitchZone;
}

bool Axis::OnHomeSwitch(uint64_t nowUs) const
{
    return switches_ && Nominal(nowUs).position <= travelMin_ + homeSwitchWidth_ + kSwitchZone;
}

std::optional<Axis::Crossing> Axis::FirstCrossing(uint64_t fromUs, uint64_t toUs,
                                                  const std::vector<int64_t>& marks) const
{
    if (marks.empty() || toUs <= fromUs)
        return std::nullopt;
    const double ta = Seconds(fromUs);
    double tb = Seconds(toUs);
    // Once the motion has ended and its lag has faded, the motor stands.
    double quiet = std::min(motion_.profile.Duration(), motion_.endTime);
    if (motion_.end == End::Jammed)
        quiet = 0;
    tb = std::min(tb, std::max(quiet + kFadeSpan, ta));

    // The count goes up to a mark when the position passes mark - 0.5, down
    // to it when it passes mark + 0.5.
    const auto reached = [&](double from, double to) -> std::optional<int64_t> {
        if (to > from) {
            const auto it = std::upper_bound(marks.begin(), marks.end(), from + 0.5,
                                             [](double x, int64_t m) { return x < static_cast<double>(m); });
            if (it != marks.end() && static_cast<double>(*it) <= to + 0.5)
                return *it;
        } else if (to < from) {
            auto it = std::lower_bound(marks.begin(), marks.end(), from - 0.5,
                                       [](int64_t m, double x) { return static_cast<double>(m) < x; });
            if (it != marks.begin() && static_cast<double>(*--it) >= to - 0.5)
                return *it;
        }
        return std::nullopt;
    };
    const double step = std::max(kSampleStep, (tb - ta) / kMaxSamples);
    double x = ActualAt(ta);
    for (double k = std::floor(ta / step) + 1;; ++k) {
        const double t = std::min(k * step, tb);
        const double next = ActualAt(t);
        if (const std::optional<int64_t> mark = reached(x, next))
            return Crossing{*mark, motion_.startUs + static_cast<uint64_t>(std::llround(t * 1e6))};
        if (t >= tb)
            return std::nullopt;
        x = next;
    }
}

int32_t Axis::Count(double position) const
{
    const int64_t count = std::llround(position) - origin_;
    return static_cast<int32_t>(static_cast<uint32_t>(count));
}

void Axis::ZeroCount(double position) { origin_ = std::llround(position); }
