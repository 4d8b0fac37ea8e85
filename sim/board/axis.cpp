#include "axis.h"

#include <algorithm>
#include <cmath>

namespace {

// The servo's path is kept every this many cycles (64 ms), so that a look
// back in time re-runs at most that much of it.
constexpr int64_t kCheckpointCycles = 256;
// A following-error watch looks this many cycles ahead at most (1000 s).
constexpr int64_t kMaxWatchedCycles = 4000000;
// Marks are looked for until this long after the nominal position stops,
// while the motor settles.
constexpr double kSettleSpan = 1.0;                // s
// The home search heads for the lower end of travel at constant speed, so
// it aims far beyond it.
constexpr double kHomeSearchOvershoot = 1e9;
// A position within half a count of a switch is on it.
constexpr double kSwitchZone = 0.5;
// Segment durations add up with rounding errors; a move whose end is due
// within a nanosecond has ended.
constexpr double kTimeTolerance = 1e-9;
// Mark crossings are looked for at this step, taken from the start of the
// motion, so the result does not depend on when the program asks.
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
    RestServo(motion_.target);
    settled_ = true;
    homeFound_ = false;
}

void Axis::RestServo(double position)
{
    motion_.servoStart = {position, 0, 0};
    servo_ = ServoCache{{motion_.servoStart}, 0, motion_.servoStart, 0, motion_.servoStart};
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
        Begin(nowUs, Profile::Rest(s.position), gains_);
        return;
    }
    const Profile braking = Profile::Stop(s.position, s.velocity, amax);
    StartStraight(nowUs, braking, Kind::None, braking.Target(), Drive{0, amax, 0, gains_});
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
    Begin(nowUs, Profile::Move(0, 0, length, drive.vmax, drive.amax), drive.gains);
    motion_.path = std::move(path);
    motion_.component = component;
    motion_.target = motion_.path->Point(length)[component];
    motion_.kind = Kind::Follow;
    motion_.drive = drive;
    if (drive.lagLimit > 0) {
        const double trip = LagTrip(motion_.endTime, drive.lagLimit);
        if (trip >= 0) {
            motion_.haltPosition = ActualAt(trip) + extraLag_;
            motion_.haltAt = motion_.endTime = trip;
            motion_.end = End::FollowingError;
        }
    }
}

// A new motion from where the nominal position is now; the motor carries on
// from where it is, at its speed, with what the loop has integrated.
void Axis::Begin(uint64_t nowUs, const Profile& profile, const ServoGains& gains)
{
    const ServoState motor = ServoAt(Seconds(nowUs));
    homeFound_ = false;
    settled_ = false;
    motion_ = Motion{};
    motion_.startUs = nowUs;
    motion_.profile = profile;
    motion_.target = profile.Target();
    motion_.endTime = profile.Duration();
    motion_.servoStart = motor;
    gains_ = gains;
    servo_ = ServoCache{{motor}, 0, motor, -1, {}};
}

void Axis::StartStraight(uint64_t nowUs, const Profile& profile, Kind kind, double target, const Drive& drive)
{
    Begin(nowUs, profile, drive.gains);
    motion_.kind = kind;
    motion_.commandTarget = target;
    motion_.target = target;
    motion_.drive = drive;
    motion_.endTime = kInfinity; // while the events are worked out

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
        const double trip = LagTrip(best.at, limit);
        if (trip >= 0 && trip < best.at)
            best = {trip, End::FollowingError, ActualAt(trip) + extraLag_};
    }

    motion_.end = best.end;
    motion_.endTime = best.at;
    if (best.end != End::Profile) {
        motion_.haltAt = best.at;
        motion_.haltPosition = best.position;
    }
}

// The motor stays where it is; the command is kept for when it comes free.
void Axis::Jam(uint64_t nowUs, Kind kind, double target, const Drive& drive)
{
    const double here = ActualAt(Seconds(nowUs)) + extraLag_;
    Begin(nowUs, Profile::Rest(here), drive.gains);
    RestServo(here);
    motion_.end = End::Jammed;
    motion_.endTime = kInfinity;
    motion_.kind = kind;
    motion_.commandTarget = target;
    motion_.target = target;
    motion_.drive = drive;
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
        Begin(nowUs, Profile::Rest(m.profile.Target()), gains_); // a circle is not resumed: it ends here
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

NominalPoint Axis::NominalAt(double t) const
{
    const MotionState s = Kinematics(t);
    return {s.position, s.velocity};
}

// A following-error stop or a stall taken as home leaves the motor standing.
bool Axis::Stopped(double t) const
{
    return t >= motion_.haltAt && (motion_.end == End::FollowingError || motion_.end == End::HomeAtStop);
}

ServoState Axis::Cycle(int64_t k) const
{
    ServoCache& c = servo_;
    if (c.quietFrom >= 0 && k >= c.quietFrom)
        return Bleed(static_cast<double>(k) * kServoCycle);
    if (k < c.cycle) {
        const int64_t mark = std::min<int64_t>(k / kCheckpointCycles, static_cast<int64_t>(c.checkpoints.size()) - 1);
        c.cycle = mark * kCheckpointCycles;
        c.state = c.checkpoints[static_cast<size_t>(mark)];
    }
    // Once the nominal position stands still, the motor's way is known.
    const double still = std::min({motion_.endTime, motion_.haltAt, motion_.profile.Duration()});
    while (c.cycle < k) {
        const double t = static_cast<double>(c.cycle) * kServoCycle;
        const NominalPoint nominal[3] = {NominalAt(t), NominalAt(t + kServoCycle / 2), NominalAt(t + kServoCycle)};
        c.state = ServoStep(gains_, motor_, c.state, nominal, kServoCycle);
        ++c.cycle;
        if (c.cycle % kCheckpointCycles == 0 &&
            static_cast<size_t>(c.cycle / kCheckpointCycles) == c.checkpoints.size())
            c.checkpoints.push_back(c.state);
        if (t + kServoCycle >= still && ServoQuiet(gains_, c.state, nominal[2].position)) {
            c.quietFrom = c.cycle;
            c.quiet = c.state;
            return Bleed(static_cast<double>(k) * kServoCycle);
        }
    }
    return c.state;
}

// Between cycles the motor is followed from the last one.
ServoState Axis::ServoAt(double t) const
{
    if (Stopped(t))
        return {motion_.haltPosition, 0, 0};
    const int64_t k = static_cast<int64_t>(std::floor(t / kServoCycle));
    if (servo_.quietFrom >= 0 && k >= servo_.quietFrom)
        return Bleed(t);
    const ServoState s = Cycle(k);
    const double t0 = static_cast<double>(k) * kServoCycle;
    if (servo_.quietFrom >= 0 && k >= servo_.quietFrom)
        return Bleed(t);
    if (!(t > t0))
        return s;
    const NominalPoint nominal[3] = {NominalAt(t0), NominalAt((t0 + t) / 2), NominalAt(t)};
    return ServoStep(gains_, motor_, s, nominal, t - t0);
}

ServoState Axis::Bleed(double t) const
{
    const double from = static_cast<double>(servo_.quietFrom) * kServoCycle;
    return ServoBleed(gains_, servo_.quiet, Kinematics(t).position, t - from);
}

double Axis::ActualAt(double t) const
{
    return std::clamp(ServoAt(t).position - extraLag_, travelMin_, travelMax_);
}

double Axis::LagTrip(double to, double limit) const
{
    const auto over = [&](double t) { return std::fabs(Kinematics(t).position - ActualAt(t) - extraLag_) > limit; };
    if (!(to > 0))
        return -1;
    if (over(0))
        return 0;
    for (int64_t k = 1; k <= kMaxWatchedCycles; ++k) {
        const double t = std::min(static_cast<double>(k) * kServoCycle, to);
        if (t >= to)
            return -1;
        if (over(t)) {
            double lo = static_cast<double>(k - 1) * kServoCycle, hi = t;
            for (int i = 0; i < kBisections; ++i) {
                const double mid = (lo + hi) / 2;
                (over(mid) ? hi : lo) = mid;
            }
            return hi;
        }
    }
    return -1;
}

MotionState Axis::Nominal(uint64_t nowUs) const { return Kinematics(Seconds(nowUs)); }

double Axis::Actual(uint64_t nowUs) const { return ActualAt(Seconds(nowUs)); }

double Axis::ActualVelocity(uint64_t nowUs) const
{
    const ServoState motor = Motor(nowUs);
    const double free = motor.position - extraLag_;
    return free <= travelMin_ || free >= travelMax_ ? 0.0 : motor.velocity;
}

ServoState Axis::Motor(uint64_t nowUs) const { return ServoAt(Seconds(nowUs)); }

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
    // Once the motion has ended and the motor has settled, it stands.
    double quiet = std::min(motion_.profile.Duration(), motion_.endTime);
    if (motion_.end == End::Jammed)
        quiet = 0;
    tb = std::min(tb, std::max(quiet + kSettleSpan, ta));

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
