#include "servo.h"

#include <algorithm>
#include <cmath>

namespace {

// Output units: the P part of a lag of 16 counts at P = 1.
constexpr double kPScale = 1.0 / 16;
constexpr double kDScale = 1.0 / 10000;   // per count/s
constexpr double kIScale = 1.0 / 1024;    // per count second
constexpr double kOutputLimit = 32767;
// What the factory tuning gives each axis: with P = 120 and D = 600 (X and
// Y) a stiffness of 40900 /s², so that they settle in about 8 ms.
constexpr double kTunedDamping = 0.86;
constexpr double kTunedLag = 0.0005;      // s of speed
constexpr ServoMotor kUntunedMotor = {5460, 20.5}; // the X motor, for gains that tune nothing
constexpr double kRestTolerance = 1e-3;   // counts, counts/s

struct Rate {
    double position, velocity, integral;
};

double IPart(const ServoGains& g, double integral)
{
    return std::clamp(g.i * integral * kIScale, -g.iLimit, g.iLimit);
}

Rate Derivative(const ServoGains& g, const ServoMotor& m, const ServoState& s, const NominalPoint& n)
{
    const ServoParts parts = ServoOutput(g, s, n);
    const double u = std::clamp(parts.p + parts.i + parts.d, -kOutputLimit, kOutputLimit);
    return {s.velocity, m.gain * u - m.drag * s.velocity, g.i != 0 ? n.position - s.position : 0.0};
}

ServoState Along(const ServoState& s, const Rate& r, double dt)
{
    return {s.position + dt * r.position, s.velocity + dt * r.velocity, s.integral + dt * r.integral};
}

} // namespace

// With drag = lag Kp and stiffness Kp = gain P / 16, the damping ratio is
// (gain D / 10000 + drag) / (2 sqrt(Kp)); solved for Kp.
ServoMotor MotorTunedFor(double p, double d)
{
    if (!(p > 0) || !(d >= 0))
        return kUntunedMotor;
    const double root = 2 * kTunedDamping / (d * kDScale / (p * kPScale) + kTunedLag);
    const double stiffness = root * root;
    return {stiffness / (p * kPScale), kTunedLag * stiffness};
}

ServoParts ServoOutput(const ServoGains& g, const ServoState& s, const NominalPoint& n)
{
    return {g.p * (n.position - s.position) * kPScale, IPart(g, s.integral),
            g.d * (n.velocity - s.velocity) * kDScale};
}

ServoState ServoStep(const ServoGains& g, const ServoMotor& m, const ServoState& s, const NominalPoint (&n)[3],
                     double dt)
{
    const Rate k1 = Derivative(g, m, s, n[0]);
    const Rate k2 = Derivative(g, m, Along(s, k1, dt / 2), n[1]);
    const Rate k3 = Derivative(g, m, Along(s, k2, dt / 2), n[1]);
    const Rate k4 = Derivative(g, m, Along(s, k3, dt), n[2]);
    ServoState next{s.position + dt / 6 * (k1.position + 2 * k2.position + 2 * k3.position + k4.position),
                    s.velocity + dt / 6 * (k1.velocity + 2 * k2.velocity + 2 * k3.velocity + k4.velocity),
                    s.integral + dt / 6 * (k1.integral + 2 * k2.integral + 2 * k3.integral + k4.integral)};
    // The integral stops growing once the I part is at its limit.
    if (g.i != 0 && g.iLimit >= 0) {
        const double most = g.iLimit / (std::fabs(g.i) * kIScale);
        next.integral = std::clamp(next.integral, -most, most);
    }
    // An unstable loop rings at the output limit; it never runs away.
    if (!std::isfinite(next.position) || !std::isfinite(next.velocity) || !std::isfinite(next.integral))
        return {n[2].position, 0, 0};
    return next;
}

namespace {

// How far the I part holds the motor beyond a standing nominal position.
double Held(const ServoGains& g, double integral) { return g.p > 0 ? IPart(g, integral) / (g.p * kPScale) : 0.0; }

} // namespace

bool ServoQuiet(const ServoGains& g, const ServoState& s, double position)
{
    if (!(g.p > 0))
        return false;
    return std::fabs(s.position - position - Held(g, s.integral)) < kRestTolerance &&
           std::fabs(s.velocity) < kRestTolerance;
}

ServoState ServoBleed(const ServoGains& g, const ServoState& quiet, double position, double dt)
{
    if (quiet.integral == 0)
        return {position, 0, 0};
    const double rate = g.p > 0 ? g.i * kIScale / (g.p * kPScale) : 0.0;
    const double integral = quiet.integral * std::exp(-rate * dt);
    return {position + Held(g, integral), -rate * Held(g, integral), integral};
}
