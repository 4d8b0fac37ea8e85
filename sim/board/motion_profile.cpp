#include "motion_profile.h"

#include <algorithm>
#include <cmath>

namespace {

int Sign(double v) { return (v > 0) - (v < 0); }

MotionState Advance(const MotionState& s, double dt)
{
    return {s.position + s.velocity * dt + 0.5 * s.acceleration * dt * dt, s.velocity + s.acceleration * dt,
            s.acceleration};
}

} // namespace

Profile Profile::Rest(double position)
{
    Profile p;
    p.start_ = p.target_ = position;
    return p;
}

Profile Profile::Stop(double position, double velocity, double amax)
{
    Profile p;
    p.start_ = position;
    p.startVelocity_ = velocity;
    p.target_ = position + Sign(velocity) * velocity * velocity / (2 * amax);
    p.Add(std::fabs(velocity) / amax, -Sign(velocity) * amax);
    return p;
}

Profile Profile::Move(double position, double velocity, double target, double vmax, double amax)
{
    Profile p;
    p.start_ = position;
    p.startVelocity_ = velocity;
    p.target_ = target;

    double distance = target - position;
    const double brakingDistance = velocity * velocity / (2 * amax);
    const bool wrongWay = Sign(velocity) != 0 && Sign(velocity) != Sign(distance);
    if (wrongWay || brakingDistance > std::fabs(distance) || (vmax <= 0 && velocity != 0)) {
        p.Add(std::fabs(velocity) / amax, -Sign(velocity) * amax);
        position += Sign(velocity) * brakingDistance;
        velocity = 0;
        distance = target - position;
    }
    // Without a velocity the axis only brakes; the move ends where it
    // stands, so a caller waiting for the end is not kept waiting for ever.
    if (vmax <= 0) {
        p.target_ = position;
        return p;
    }
    if (distance == 0)
        return p;

    const int dir = Sign(distance);
    double remaining = std::fabs(distance);
    double speed = std::fabs(velocity);
    if (speed > vmax) {
        p.Add((speed - vmax) / amax, -dir * amax);
        remaining -= (speed * speed - vmax * vmax) / (2 * amax);
        speed = vmax;
    } else {
        // Peak speed of the triangle that starts at `speed` and ends at rest.
        const double peak = std::min(vmax, std::sqrt(amax * remaining + speed * speed / 2));
        p.Add((peak - speed) / amax, dir * amax);
        remaining -= (peak * peak - speed * speed) / (2 * amax);
        speed = peak;
    }
    const double cruise = remaining - speed * speed / (2 * amax);
    if (cruise > 0)
        p.Add(cruise / speed, 0);
    p.Add(speed / amax, -dir * amax);
    return p;
}

void Profile::Add(double duration, double acceleration)
{
    if (duration > 0)
        segments_[count_++] = {duration, acceleration};
}

double Profile::Duration() const
{
    double total = 0;
    for (int i = 0; i < count_; ++i)
        total += segments_[i].duration;
    return total;
}

MotionState Profile::At(double t) const
{
    MotionState s{start_, startVelocity_, 0};
    for (int i = 0; i < count_; ++i) {
        s.acceleration = segments_[i].acceleration;
        if (t < segments_[i].duration)
            return Advance(s, std::max(t, 0.0));
        s = Advance(s, segments_[i].duration);
        t -= segments_[i].duration;
    }
    return {target_, 0, 0};
}

double Profile::TimeToCross(double position, int direction) const
{
    // q(t) = direction * (x(t) - position); the first root where q grows.
    MotionState s{start_, startVelocity_, 0};
    double elapsed = 0;
    for (int i = 0; i < count_; ++i) {
        const double a = direction * segments_[i].acceleration;
        const double v = direction * s.velocity;
        const double q = direction * (s.position - position);
        const double d = segments_[i].duration;
        const bool rising = v > 0 || (v == 0 && a > 0);
        if (q >= 0 && rising)
            return elapsed;
        double root = -1;
        if (a == 0) {
            if (v > 0 && q < 0)
                root = -q / v;
        } else {
            const double disc = v * v - 2 * a * q;
            // For either sign of a this is the root where q crosses zero upwards.
            if (disc >= 0)
                root = (-v + std::sqrt(disc)) / a;
        }
        if (root > 0 && root < d)
            return elapsed + root;
        s.acceleration = segments_[i].acceleration;
        s = Advance(s, d);
        elapsed += d;
    }
    return -1;
}
