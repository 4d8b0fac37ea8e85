#pragma once
// The zoom on the board's fifth axis: homing against the home switch in a
// five-step sequence (or by the board's home search where there is no
// switch), moves to the ten stored zoom positions with backlash
// compensation, and a timeout on every move. The sequence takes one step
// per tick of ZoomTimer, which the main window's timer and the timers of the
// User Parameters, Zoom and Joystick dialogs call.
#include <cstdint>

enum ZoomState : int32_t {
    kZoomInactive = 0,
    kZoomSeekingHome = 1,        // running onto the home switch
    kZoomComingOffHome = 2,      // leaving the switch
    kZoomGoingToZoomStart = 4,   // moving to the home start distance
    kZoomSeekingHome2 = 5,       // the board's slow home search
    kZoomMoving = 7,             // the move to a zoom position
    kZoomBacklashing = 8,        // the overshoot before approaching it
};

inline constexpr int kZoomPositions = 10;

extern int32_t g_zoomState;
// The zoom position to go to (1..10); 0 or negative means the home position.
extern int8_t g_zoomTargetIndex;
// The zoom found its home since the last turret command.
extern bool g_zoomHomed;
// Set by a timeout: ZoomTimer does nothing until the next ZoomGoto,
// ZoomHomeServo or home start.
extern bool g_zoomTimerHalted;
// > 0: state changes in the log; > 4: a data line per homing tick; >= 5 the
// data header too.
extern int32_t g_zoomLogLevel;
// Tick count at which the current zoom move or home search was commanded.
extern uint32_t g_zoom_start_time;

// Goes to zoom position n (1..10) for every zoom kind. During homing the
// motor zoom only remembers n and goes there when homing ends. False only
// when the board lock could not be taken.
bool ZoomGoto(int8_t n);

// Starts homing the motor zoom against its home switch. False when the board
// is not there.
bool ZoomHomeServo();

// Starts the board's home search for the zoom without a home switch ("ZoomType"
// 5). False when the board is not there.
bool ZoomHomeNoLimit();

// "Home" of the main window: the home search for "ZoomType" 5, else
// ZoomHomeServo. True when homing started.
bool StartZoomHome();

// Continuous goto and continuous home off, and the zoom's sequence idle:
// what the main window's buttons of the setup and test windows do first.
void MotionAndZoomFlagsOff();

// One tick: the step of the sequence under "ZOOM_LOCK", or the timeout; and
// on every tick, for every zoom kind, the joystick quick calibration's
// tracking step.
void ZoomTimer();
// One step of the motor-zoom sequence.
void ZoomTimerFunc();

// Approaches the target from the side the backlash says, overshooting first
// when the move runs in the backlash direction.
void ZoomMoveWithBacklash(int32_t target);

// Commands a zoom move to the counter value and starts its timeout.
void StartZoomMove(int32_t target);

void ResetZoom();
