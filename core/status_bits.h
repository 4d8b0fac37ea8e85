#pragma once
// The meanings of the board's status words, as the driver reports them.
#include <cstdint>

// Move status byte (AXB_GetMoveStatus)
inline constexpr uint32_t kMoveComplete = 0x01;
inline constexpr uint32_t kMoveAxisActive = 0x04;
inline constexpr uint32_t kMoveSoftLimitPlus = 0x10;
inline constexpr uint32_t kMoveSoftLimitMinus = 0x20;
inline constexpr uint32_t kMoveHardLimitPlus = 0x40;
inline constexpr uint32_t kMoveHardLimitMinus = 0x80;
inline constexpr uint32_t kMoveSoftwareLimits = kMoveSoftLimitPlus | kMoveSoftLimitMinus;
inline constexpr uint32_t kMoveHardwareLimits = kMoveHardLimitPlus | kMoveHardLimitMinus;

// Error byte
inline constexpr uint32_t kErrorMotionMonitor = 0x01;
inline constexpr uint32_t kErrorFollowing = 0x02;
inline constexpr uint32_t kErrorOverCurrent = 0x04;
inline constexpr uint32_t kErrorProbeRetract = 0x08;
inline constexpr uint32_t kErrorEmergencyStop = 0x80;

// Axis status word of X..Q
inline constexpr uint16_t kAxisStatusSignalError = 1u << 3;
inline constexpr uint16_t kAxisStatusFrequencyError = 1u << 4;
inline constexpr uint16_t kAxisStatusEncoderErrors = kAxisStatusSignalError | kAxisStatusFrequencyError;
inline constexpr uint16_t kAxisStatusLatch2 = 1u << 5;

// System status: watchdog, emergency stop, air stop, joystick override,
// trackball override, heart beat stop the machine; bit 7 means nothing.
inline constexpr uint32_t kSystemStopBits = 0x3F;
inline constexpr uint32_t kSystemStatusUnusedBit = 1u << 7;

// Probe status
inline constexpr uint32_t kProbeDeflected = 0x02;
inline constexpr uint32_t kProbeRetracting = 0x04;
