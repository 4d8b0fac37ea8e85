#pragma once
// The board's parameter numbers the program reads or writes by name. Per-axis
// parameters are given by their X number: the axis a has its twin at
// AxisParam(n, a) = n + 40·a; the second per-axis block (from P260) exists
// for X..Q only.
inline constexpr int kParamCount = 512;
inline constexpr int kAxisParamStride = 40;

constexpr int AxisParam(int xParam, int axis) { return xParam + kAxisParamStride * axis; }

// Board-wide.
inline constexpr int kParamJoystickOptions = 1;     // P001
inline constexpr int kParamTrackballX = 5;          // P005..P007 for X, Y, Z
inline constexpr int kParamGpioFunctions = 9;      // P009, a firmware function nibble per GPIO pin
inline constexpr int kParamEncoderConfigX = 16;     // P016 + axis, X..Q
inline constexpr int kParamCountDirection = 20;     // bit a: axis a counts reversed
inline constexpr int kParamTtlRefConfig = 21;       // bit 4 + a: TTL reference inverted
inline constexpr int kParamOptions = 22;            // zoom count direction, trackball enables
inline constexpr int kParamFirstLamp = 26;          // P026..P033, the board's lamp outputs
inline constexpr int kParamLastLamp = 33;
inline constexpr int kParamHeartbeat = 34;
inline constexpr int kParamStartupDelay = 47;
inline constexpr int kParamCyclesFactor = 49;       // cycle time, shared by every axis
inline constexpr int kParamZoomCountsPerMm = 218;
inline constexpr int kParamZoomHomeType = 233;
inline constexpr int kParamZoomHomePercent = 235;

// First per-axis block, P050..P089 of X.
inline constexpr int kParamFirstAxisBlock = 50;
inline constexpr int kParamServoP = 50;
inline constexpr int kParamServoD = 51;
inline constexpr int kParamServoI = 52;
inline constexpr int kParamServoILimit = 53;
inline constexpr int kParamPwmBase = 54;
inline constexpr int kParamContinuationZone = 55;
inline constexpr int kParamMotorReversed = 56;
inline constexpr int kParamLimitSwitches = 57;
inline constexpr int kParamCountsPerMm = 58;
inline constexpr int kParamCutoffDelay = 59;
inline constexpr int kParamTargetWindow = 60;
inline constexpr int kParamVelocity = 61;
inline constexpr int kParamAcceleration = 62;
inline constexpr int kParamJerk = 63;
inline constexpr int kParamMotorType = 64;           // bits 0..2 the type, bit 3 CNC playback off
inline constexpr int kParamMotionMonitor = 65;
inline constexpr int kParamFollowingErrorLimit = 66;
inline constexpr int kParamCurrentLimit = 67;
inline constexpr int kParamFencePlus = 68;
inline constexpr int kParamFenceMinus = 69;
inline constexpr int kParamMarkIncrement = 70;       // distance-coded marks: the fixed increment
inline constexpr int kParamMarkPitch = 71;           // and the pitch, in counts
inline constexpr int kParamMarkType = 73;
inline constexpr int kParamPvNominal = 74;
inline constexpr int kParamPwmOffset = 76;
inline constexpr int kParamTorque = 77;              // stepper torque, or motor lag
inline constexpr int kParamHoldingTorque = 78;
inline constexpr int kParamJoystickVelocity = 79;
inline constexpr int kParamTrackballVelocity = 80;
inline constexpr int kParamAccelerationDelta = 81;
inline constexpr int kParamDLimit = 82;
inline constexpr int kParamLimitBackoff = 83;

// Second per-axis block, P260..P299 of X.
inline constexpr int kParamSecondAxisBlock = 260;
inline constexpr int kParamRunCurrent = 260;
inline constexpr int kParamSwitchoverFrequency = 261;
inline constexpr int kParamHoldCurrent = 264;
inline constexpr int kParamInitTorque = 266;
inline constexpr int kParamInitTime = 267;
inline constexpr int kParamImpulse = 268;
inline constexpr int kParamTorqueFactor = 269;
