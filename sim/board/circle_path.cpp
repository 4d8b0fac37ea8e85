#include "circle_path.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kRadPerDeg = std::numbers::pi / 180.0;

Vec3 RotateX(const Vec3& p, double rad)
{
    return {p[0], p[1] * std::cos(rad) - p[2] * std::sin(rad), p[1] * std::sin(rad) + p[2] * std::cos(rad)};
}

Vec3 RotateZ(const Vec3& p, double rad)
{
    return {p[0] * std::cos(rad) - p[1] * std::sin(rad), p[0] * std::sin(rad) + p[1] * std::cos(rad), p[2]};
}

Vec3 Combine(const Vec3& base, double a, const Vec3& u, double b, const Vec3& v, double c, const Vec3& n)
{
    Vec3 r{};
    for (int i = 0; i < 3; ++i)
        r[i] = base[i] + a * u[i] + b * v[i] + c * n[i];
    return r;
}

} // namespace

CirclePath::CirclePath(const Vec3& start, double radius, double startDeg, double sweepDeg, double feed,
                       double pitchDeg, double yawDeg)
    : radius_(radius), startRad_(startDeg * kRadPerDeg), sweepRad_(sweepDeg * kRadPerDeg), feed_(feed)
{
    const double pitch = pitchDeg * kRadPerDeg;
    const double yaw = yawDeg * kRadPerDeg;
    u_ = RotateZ(RotateX({1, 0, 0}, pitch), yaw);
    v_ = RotateZ(RotateX({0, 1, 0}, pitch), yaw);
    normal_ = RotateZ(RotateX({0, 0, 1}, pitch), yaw);
    center_ = Combine(start, -radius_ * std::cos(startRad_), u_, -radius_ * std::sin(startRad_), v_, 0, normal_);
    length_ = std::hypot(radius_ * sweepRad_, feed_);
}

Vec3 CirclePath::Point(double s) const
{
    const double f = Fraction(s);
    const double angle = startRad_ + sweepRad_ * f;
    return Combine(center_, radius_ * std::cos(angle), u_, radius_ * std::sin(angle), v_, feed_ * f, normal_);
}

Vec3 CirclePath::Tangent(double s) const
{
    if (length_ <= 0)
        return {0, 0, 0};
    const double angle = startRad_ + sweepRad_ * Fraction(s);
    const double k = 1 / length_;
    return Combine({0, 0, 0}, -radius_ * sweepRad_ * std::sin(angle) * k, u_, radius_ * sweepRad_ * std::cos(angle) * k,
                   v_, feed_ * k, normal_);
}

Vec3 CirclePath::Curvature(double s) const
{
    if (length_ <= 0)
        return {0, 0, 0};
    const double angle = startRad_ + sweepRad_ * Fraction(s);
    const double k = radius_ * sweepRad_ * sweepRad_ / (length_ * length_);
    return Combine({0, 0, 0}, -k * std::cos(angle), u_, -k * std::sin(angle), v_, 0, normal_);
}
