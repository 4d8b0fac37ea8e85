#pragma once
// The geometry of the board's circular move: an arc (or helix, with a feed
// along the plane's normal) through the X, Y, Z start point, in a plane that
// starts as the X-Y plane, is turned by the pitch about the X axis and then
// by the yaw about the Z axis. Lengths in counts, angles in degrees.
//
// With the unit vectors u = R(yaw, Z) R(pitch, X) (1,0,0), v = ... (0,1,0)
// and n = ... (0,0,1), the point at fraction f (0..1) of the move is
//   centre + r cos(a) u + r sin(a) v + feed f n,  a = start + sweep f,
// and the centre is chosen so that f = 0 is the start point. A negative
// radius puts the centre on the other side; a negative sweep runs clockwise
// (seen from +n).
#include <array>

using Vec3 = std::array<double, 3>;

class CirclePath {
public:
    CirclePath(const Vec3& start, double radius, double startDeg, double sweepDeg, double feed, double pitchDeg,
               double yawDeg);

    // Path length in counts; 0 for a circle of no radius and no feed.
    double Length() const { return length_; }
    // Point and unit-speed tangent at arc length s (0..Length()).
    Vec3 Point(double s) const;
    Vec3 Tangent(double s) const;
    // How the tangent turns: the second derivative of Point by arc length,
    // pointing to the axis of the circle (the feed adds none).
    Vec3 Curvature(double s) const;

private:
    double Fraction(double s) const { return length_ > 0 ? s / length_ : 0; }

    Vec3 center_{};
    Vec3 u_{}, v_{}, normal_{};
    double radius_;
    double startRad_;
    double sweepRad_;
    double feed_;
    double length_;
};
