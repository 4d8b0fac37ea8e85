#pragma once
// The main window's 22 parameter fields: one axis at a time, shown as stored
// or converted to inches or millimetres, with rows hidden that mean nothing
// for the axis's motor type.
#include <windows.h>

#include "core/param_numbers.h"
#include "core/unit_conversion.h"
#include "res/resource.h"

enum MotorClass : int {
    kClassProfile = 1,
    kClassStepper = 2,
    kClassMotorLag = 3,
    kClassServo = 4,
};

struct ParamField {
    int param;              // X axis number; the axis a uses param + 40·a
    int editId;
    int captionId;
    const wchar_t* caption[3];   // As Stored, inches, millimetres
    int kindInch;
    int kindMm;
    int motorClass;
    bool raw;               // always shown and read as a stored integer
};

#define SAME3(text) {text, text, text}
inline constexpr ParamField kParamFieldTable[] = {
    {kParamServoP, IDC_PARAM_P, IDC_CAPTION_P, SAME3(L"P"), 0, 0, kClassServo, true},
    {kParamServoD, IDC_PARAM_D, IDC_CAPTION_D, SAME3(L"D"), 0, 0, kClassServo, true},
    {kParamServoI, IDC_PARAM_I, IDC_CAPTION_I, SAME3(L"I"), 0, 0, kClassServo, true},
    {kParamServoILimit, IDC_PARAM_I_LIMIT, IDC_CAPTION_I_LIMIT, SAME3(L"I Limit"), 0, 0, kClassServo, true},
    {kParamPwmBase, IDC_PARAM_PWM_BASE, IDC_CAPTION_PWM_BASE, SAME3(L"PWM Base"), 0, 0, kClassServo, false},
    {kParamContinuationZone, IDC_PARAM_CONT_ZONE, IDC_CAPTION_CONT_ZONE,
     {L"Continuation Zone (c)", L"Continuation Zone (in)", L"Continuation Zone (mm)"}, 1, 2, kClassServo, false},
    {kParamCutoffDelay, IDC_PARAM_CUTOFF_DELAY, IDC_CAPTION_CUTOFF_DELAY, SAME3(L"Cutoff Delay (ms)"), 0, 0, kClassServo, false},
    {kParamTargetWindow, IDC_PARAM_TARGET_WINDOW, IDC_CAPTION_TARGET_WINDOW,
     {L"Target Window (c)", L"Target Window (in)", L"Target Window (mm)"}, 1, 2, kClassServo, false},
    {kParamVelocity, IDC_PARAM_VEL, IDC_CAPTION_VEL, {L"Vel (mm/s)x10", L"Vel (in/s)", L"Vel (mm/s)"}, 8, 9, kClassProfile, false},
    {kParamAcceleration, IDC_PARAM_ACC, IDC_CAPTION_ACC, {L"Acc (mm/s/s)", L"Acc (in/s/s)", L"Acc (mm/s/s)"}, 3, 0, kClassProfile, false},
    {kParamJerk, IDC_PARAM_JERK, IDC_CAPTION_JERK, {L"Jerk (mm/s/s/s)", L"Jerk (in/s/s/s)", L"Jerk (mm/s/s/s)"}, 3, 0,
     kClassProfile, false},
    {kParamMotionMonitor, IDC_PARAM_MOTION_MONITOR, IDC_CAPTION_MOTION_MONITOR,
     {L"Motion Monitor (c/s)", L"Motion Monitor (in/s)", L"Motion Monitor (mm/s)"}, 1, 2, kClassServo, false},
    {kParamFollowingErrorLimit, IDC_PARAM_FOLLOW_LIMIT, IDC_CAPTION_FOLLOW_LIMIT,
     {L"Following Error Limit(c)", L"Following Error Limit(in)", L"Following Error Limit(mm)"}, 1, 2, kClassServo,
     false},
    {kParamPvNominal, IDC_PARAM_PV_NOMINAL, IDC_CAPTION_PV_NOMINAL, SAME3(L"P V(nominal)"), 0, 0, kClassProfile, true},
    {kParamPwmOffset, IDC_PARAM_PWM_OFFSET, IDC_CAPTION_PWM_OFFSET, SAME3(L"PWM Offset (0-100%)"), 0, 0, kClassServo, true},
    {kParamTorque, IDC_PARAM_TORQUE, IDC_CAPTION_TORQUE, SAME3(L"Torque"), 0, 0, kClassStepper, true},
    {kParamTorque, IDC_PARAM_MOTOR_LAG, IDC_CAPTION_MOTOR_LAG, SAME3(L"Motor Lag"), 0, 0, kClassMotorLag, true},
    {kParamHoldingTorque, IDC_PARAM_HOLD_TORQUE, IDC_CAPTION_HOLD_TORQUE, SAME3(L"Holding Torque (1-20%)"), 0, 0, kClassStepper, true},
    {kParamJoystickVelocity, IDC_PARAM_JOY_VEL, IDC_CAPTION_JOY_VEL,
     {L"Joy Vel (\u00b5steps/s)", L"Joy Vel (in/s)", L"Joy Vel (mm/s)"}, 4, 5, kClassStepper, false},
    {kParamTrackballVelocity, IDC_PARAM_TRACKBALL_VEL, IDC_CAPTION_TRACKBALL_VEL,
     {L"Trackball Vel (\u00b5steps/s)", L"Trackball Vel (in/s)", L"Trackball Vel (mm/s)"}, 4, 5, kClassStepper, false},
    {kParamAccelerationDelta, IDC_PARAM_ACC_DELTA, IDC_CAPTION_ACC_DELTA,
     {L"Acc (usteps/s/Cycle)", L"Acc Delta (in/s/s)", L"Acc Delta (mm/s/s)"}, 6, 7, kClassStepper, false},
    {kParamDLimit, IDC_PARAM_D_LIMIT, IDC_CAPTION_D_LIMIT, SAME3(L"D Limit"), 0, 0, kClassServo, false},
};
#undef SAME3

// fields → g_param, Target → g_targetMm, Vel % → g_velPercent and the board.
void ApplyFieldsToParams(HWND wnd, int axis);
// g_param, g_targetMm, g_velPercent → fields and captions.
void FillParamFields(HWND wnd);
// Checks the radio of g_radio_last; Home and Continuous Home only for the zoom.
void SyncAxisRadios(HWND wnd);
// Fields into g_param, every parameter that differs from the board written
// to it, scales recomputed.
void CommitParams(HWND wnd);

// The fields' captions and conversions for the rows of a parameter diff.
void NameParamFieldsForDiffs();

void ResetParamFields();
