#pragma once
// The board's position loop on one axis: a PID on the following error
// drives a motor whose drag grows with its speed, on the board's fixed
// servo cycle. Its output, in the units the axis record shows,
//   u = P e / 16 + D de/dt / 10000 + I (integral of e) / 1024,
// with the I part held within the I limit and the sum within ±32767,
// accelerates the motor by gain u - drag v. See README.md.
struct ServoGains {
    double p = 0;
    double d = 0;
    double i = 0;
    double iLimit = 0; // the largest I part, output units
};

// The motor and its load, as the machine was built: so that the gains it
// left the factory with damp the loop well (damping ratio 0.86) and have
// it lag 0.5 ms times the speed.
struct ServoMotor {
    double gain = 0; // counts/s² per output unit
    double drag = 0; // 1/s
};
ServoMotor MotorTunedFor(double p, double d);

// The motor: where it is, how fast it goes, and the loop's integral of the
// following error (counts, counts/s, count seconds).
struct ServoState {
    double position = 0;
    double velocity = 0;
    double integral = 0;
};

// Where the trajectory generator puts the axis at one moment.
struct NominalPoint {
    double position = 0;
    double velocity = 0;
};

// The servo cycle (s): every motion is followed on this grid from its
// start, so the motor's path does not depend on when anyone looks.
constexpr double kServoCycle = 0.00025;

// The motor `dt` seconds on (at most a cycle), from `s` with the nominal at
// the start, the middle and the end of that time (fourth-order Runge-Kutta).
ServoState ServoStep(const ServoGains& gains, const ServoMotor& motor, const ServoState& s,
                     const NominalPoint (&nominal)[3], double dt);

// The P, I and D parts of the loop's output.
struct ServoParts {
    double p, i, d;
};
ServoParts ServoOutput(const ServoGains& gains, const ServoState& s, const NominalPoint& nominal);

// Once the nominal position stands at `position`, the motor comes to rest
// there but for what the integral holds, which bleeds off slowly: the I part
// then balances the P part, so the integral w decays as exp(-I t / (64 P))
// and the motor stands I w / (64 P) beyond the nominal position. Quiet: the
// motor is on that slow path, to within a thousandth of a count.
bool ServoQuiet(const ServoGains& gains, const ServoState& s, double position);
// Where a quiet motor is `dt` seconds later.
ServoState ServoBleed(const ServoGains& gains, const ServoState& quiet, double position, double dt);
