#pragma once
// One simulated axis: where its trajectory generator puts it at any moment,
// how far the motor lags behind, its limit switches and the home search.
// Positions are in counts of the machine frame, which the axis's counter
// equals until the counter is cleared or the home search zeroes it.
// Nothing runs in the background: every question is answered from the
// current time.
#include "circle_path.h"
#include "motion_profile.h"

#include <cstdint>
#include <limits>
#include <memory>

class Axis {
public:
    // At rest at `position`, counter equal to the machine frame, no flags.
    void PowerOn(double position, double travelMin, double travelMax);
    void SetTravel(double travelMin, double travelMax);
    double TravelMin() const { return travelMin_; }
    double TravelMax() const { return travelMax_; }

    // Commands; vmax in counts/s, amax in counts/s².
    void Move(uint64_t nowUs, double target, double vmax, double amax);
    void SeekHome(uint64_t nowUs, double vmax, double amax);
    void Stop(uint64_t nowUs, double amax);
    void Follow(uint64_t nowUs, std::shared_ptr<const CirclePath> path, int component, double vmax, double amax);
    // Standing still at `position` at once (power loss, reset, placing by hand).
    void Place(uint64_t nowUs, double position);

    // Takes note of a move that ended by now: a home search that reached
    // the home switch zeroes the counter there.
    void Update(uint64_t nowUs);

    MotionState Nominal(uint64_t nowUs) const;
    // How far the motor trails the nominal position, in counts (signed).
    double Lag(uint64_t nowUs) const;
    // Counts per second by which the lag grows.
    double LagRate(uint64_t nowUs) const;
    bool MoveEnded(uint64_t nowUs) const;
    bool HomeFound() const { return homeFound_; }
    bool OnUpperLimit(uint64_t nowUs) const;
    bool OnLowerLimit(uint64_t nowUs) const;
    double Target() const;

    // The counter: machine-frame position seen through the counter origin.
    int32_t Count(double position) const;
    double FromCount(int32_t count) const { return static_cast<double>(count) + static_cast<double>(origin_); }
    void ZeroCount(double position);

private:
    struct Motion {
        uint64_t startUs = 0;
        Profile profile = Profile::Rest(0);
        std::shared_ptr<const CirclePath> path; // a circular move: profile runs along it
        int component = 0;
        double endTime = 0;                     // seconds after start
        double stopAt = std::numeric_limits<double>::infinity(); // a limit switch ends it here
        double stopPosition = 0;
        bool stoppedByLowerLimit = false;
        double lagAtEnd = 0;
        bool seekingHome = false;
    };

    void Begin(uint64_t nowUs, const Profile& profile, bool seekingHome);
    // A straight move also ends on a limit switch and settles from the lag
    // it had at its end.
    void StartStraight(uint64_t nowUs, const Profile& profile, bool seekingHome);
    MotionState Kinematics(double t) const;
    double Seconds(uint64_t nowUs) const;

    Motion motion_;
    bool homeFound_ = false;
    bool settled_ = true;
    double travelMin_ = 0;
    double travelMax_ = 0;
    int64_t origin_ = 0;
};
