#pragma once
// One-dimensional motion with limited velocity and acceleration: the
// trapezoidal (or, for short moves, triangular) profile the board's
// trajectory generator runs, as a few segments of constant acceleration.
#include <array>

struct MotionState {
    double position = 0;
    double velocity = 0;
    double acceleration = 0;
};

class Profile {
public:
    // Standing still at `position`.
    static Profile Rest(double position);
    // From `position` moving at `velocity` to `target` and stop there, never
    // faster than vmax nor accelerating harder than amax. A move that runs the
    // wrong way first brakes and then turns round. With vmax <= 0 the axis
    // brakes to a standstill and the move ends there, short of the target.
    static Profile Move(double position, double velocity, double target, double vmax, double amax);
    // Brake from `velocity` to a standstill.
    static Profile Stop(double position, double velocity, double amax);

    // State t seconds after the start; after the end, at rest on the target.
    MotionState At(double t) const;
    double Duration() const;
    double Target() const { return target_; }
    // First time (seconds) at which the motion reaches `position` heading in
    // `direction` (+1 upwards, -1 downwards); negative when it never does.
    double TimeToCross(double position, int direction) const;

private:
    struct Segment {
        double duration = 0;
        double acceleration = 0;
    };
    void Add(double duration, double acceleration);

    double start_ = 0;
    double startVelocity_ = 0;
    double target_ = 0;
    std::array<Segment, 4> segments_{};
    int count_ = 0;
};
