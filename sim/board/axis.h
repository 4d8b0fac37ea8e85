#pragma once
// One simulated axis: where its trajectory generator puts it at any moment,
// where its servo loop has the motor follow it (servo.h), the ends of its travel (limit switches or
// hard stops), the home switch, the board's following-error stop and the
// home search. Positions are in counts of the machine frame, which the
// axis's counter equals until the counter is cleared or the home search
// zeroes it. Nothing runs in the background: every question is answered
// from the current time, and every event of a motion (a switch, a stall
// against a hard stop, a following error) is worked out when the motion is
// commanded.
#include "circle_path.h"
#include "motion_profile.h"
#include "servo.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

// What Update found had happened since the last call.
enum class AxisEvent { None, HomeFound, FollowingError };

class Axis {
public:
    // How a command may drive the axis: vmax in counts/s, amax in counts/s²,
    // lagLimit the following-error limit in counts (0: not monitored).
    struct Drive {
        double vmax = 0;
        double amax = 0;
        double lagLimit = 0;
        ServoGains gains; // taken with each command
    };

    // At rest at `position`, counter equal to the machine frame, no flags,
    // limit switches at both ends, no home-switch zone, no faults.
    void PowerOn(double position, double travelMin, double travelMax);
    void SetTravel(double travelMin, double travelMax);
    double TravelMin() const { return travelMin_; }
    double TravelMax() const { return travelMax_; }
    // Limit switches at the ends of travel (true), or hard stops (false):
    // the motor then stalls there while its nominal position runs on.
    void SetLimitSwitches(bool present) { switches_ = present; }
    bool LimitSwitches() const { return switches_; }
    // The home switch is active from the lower end of travel up to `width`
    // counts above it (0: only at the end); the home search ends on it.
    void SetHomeSwitchWidth(double width) { homeSwitchWidth_ = width > 0 ? width : 0; }
    double HomeSwitchWidth() const { return homeSwitchWidth_; }
    // The motor trails by this many counts more than the servo would (a
    // fault: the board's following-error stop does not see it).
    void SetExtraLag(double counts) { extraLag_ = counts; }
    double ExtraLag() const { return extraLag_; }
    // A stuck axis does not move: a command leaves it standing and its move
    // never ends. Freed, it carries on with the move it was given.
    void SetStuck(uint64_t nowUs, bool stuck);
    bool Stuck() const { return stuck_; }

    // Commands.
    void Move(uint64_t nowUs, double target, const Drive& drive);
    void SeekHome(uint64_t nowUs, const Drive& drive);
    void Stop(uint64_t nowUs, double amax);
    void Follow(uint64_t nowUs, std::shared_ptr<const CirclePath> path, int component, const Drive& drive);
    // Standing still at `position` at once (power loss, reset, placing by hand).
    void Place(uint64_t nowUs, double position);

    // Takes note of a motion that ended by now: a home search that reached
    // home zeroes the counter there. Reports each event once.
    AxisEvent Update(uint64_t nowUs);

    MotionState Nominal(uint64_t nowUs) const;
    // Where the motor (and its encoder) is: where the servo loop has brought
    // it, less any extra lag, never beyond the ends of travel.
    double Actual(uint64_t nowUs) const;
    double ActualVelocity(uint64_t nowUs) const;
    // The motor as the servo loop has it (no extra lag, no ends of travel),
    // and the gains it runs with.
    ServoState Motor(uint64_t nowUs) const;
    const ServoGains& Gains() const { return gains_; }
    // The motor and load the axis was built with.
    void SetMotor(const ServoMotor& motor) { motor_ = motor; }
    bool MoveEnded(uint64_t nowUs) const;
    bool HomeFound() const { return homeFound_; }
    // Switches (none with hard stops).
    bool OnUpperLimit(uint64_t nowUs) const;
    bool OnLowerLimit(uint64_t nowUs) const;
    bool OnHomeSwitch(uint64_t nowUs) const;
    double Target() const { return motion_.target; }
    // When the current motion ends (ended); UINT64_MAX when it never does.
    uint64_t EndUs() const;

    // The first of `marks` (machine counts, ascending) that the encoder
    // reaches between the two times, and when: going up the count arrives
    // at the mark when the position passes mark - 0.5, going down mark + 0.5.
    // Standing on a mark is not reaching it.
    struct Crossing {
        int64_t mark;
        uint64_t atUs;
    };
    std::optional<Crossing> FirstCrossing(uint64_t fromUs, uint64_t toUs, const std::vector<int64_t>& marks) const;

    // The counter: machine-frame position seen through the counter origin.
    int32_t Count(double position) const;
    double FromCount(int32_t count) const { return static_cast<double>(count) + static_cast<double>(origin_); }
    void ZeroCount(double position);

private:
    enum class End {
        Profile,        // the profile ran out (or never does)
        LimitSwitch,    // a limit switch stopped the nominal position at once
        HomeSwitch,     // the home search reached the home switch
        HomeAtStop,     // the home search stalled against the lower hard stop
        FollowingError, // the board stopped the axis: the lag passed its limit
        Jammed,         // stuck: never ends
    };
    enum class Kind { None, Move, Home, Follow };
    struct Motion {
        uint64_t startUs = 0;
        Profile profile = Profile::Rest(0);
        std::shared_ptr<const CirclePath> path; // a circular move: profile runs along it
        int component = 0;
        double endTime = 0;                     // seconds after start
        End end = End::Profile;
        double haltAt = std::numeric_limits<double>::infinity(); // the nominal position stops here...
        double haltPosition = 0;                                 // ...at this place
        ServoState servoStart; // the motor when the motion began
        double target = 0;    // as the axis record shows it
        // The command, to resume it when a stuck axis comes free.
        Kind kind = Kind::None;
        double commandTarget = 0;
        Drive drive;
    };

    void Begin(uint64_t nowUs, const Profile& profile, const ServoGains& gains);
    void RestServo(double position); // the motor stands there, the loop empty
    void StartStraight(uint64_t nowUs, const Profile& profile, Kind kind, double target, const Drive& drive);
    void Jam(uint64_t nowUs, Kind kind, double target, const Drive& drive);
    // The first time (seconds) in [0, to) at which |lag| passes `limit`,
    // on the servo cycles and refined by bisection; negative when none.
    double LagTrip(double to, double limit) const;
    MotionState Kinematics(double t) const;
    NominalPoint NominalAt(double t) const;
    // The motor t seconds into the motion; Cycle is the state after whole
    // cycles, which the cache below keeps.
    ServoState ServoAt(double t) const;
    ServoState Cycle(int64_t k) const;
    ServoState Bleed(double t) const; // from the quiet cycle on
    bool Stopped(double t) const; // the board has stopped the motor for good
    double ActualAt(double t) const;
    double Seconds(uint64_t nowUs) const;

    Motion motion_;
    ServoGains gains_;
    ServoMotor motor_ = MotorTunedFor(120, 600);
    // The servo's path through the current motion: a state every
    // kCheckpointCycles cycles, the last cycle asked for, and the cycle from
    // which the motor is quiet (servo.h; worked out as far as asked).
    struct ServoCache {
        std::vector<ServoState> checkpoints;
        int64_t cycle = 0;
        ServoState state;
        int64_t quietFrom = -1;
        ServoState quiet;
    };
    mutable ServoCache servo_;
    bool homeFound_ = false;
    bool settled_ = true;
    bool switches_ = true;
    bool stuck_ = false;
    double homeSwitchWidth_ = 0;
    double extraLag_ = 0;
    double travelMin_ = 0;
    double travelMax_ = 0;
    int64_t origin_ = 0;
};
