#pragma once
// The move-status poll of every sequenced motion (auto-home, zoom): the
// status of all five axes and of the system read in one locked block, and
// the judgement whether the watched axes are done and whether anything is in
// error.
#include <cstdint>

inline constexpr int kMoveStatusAxes = 5;   // X, Y, Z, Q, Zoom

// Move status byte
inline constexpr uint32_t kMoveComplete = 0x01;
inline constexpr uint32_t kMoveAxisActive = 0x04;
inline constexpr uint32_t kMoveSoftwareLimits = 0x30;   // + and -
inline constexpr uint32_t kMoveHardwareLimits = 0xC0;   // + and -
// Error byte
inline constexpr uint32_t kErrorMotionMonitor = 0x01;
inline constexpr uint32_t kErrorFollowing = 0x02;
inline constexpr uint32_t kErrorOverCurrent = 0x04;
inline constexpr uint32_t kErrorProbeRetract = 0x08;
// System status: watchdog, emergency stop, air stop, joystick override,
// trackball override, heart beat.
inline constexpr uint32_t kSystemStopBits = 0x3F;
// Probe status
inline constexpr uint32_t kProbeRetracting = 0x04;
inline constexpr uint32_t kProbeDeflected = 0x02;

// Filled by CncGetMoveStatus; the caller owns it and clears it first.
struct MoveStatusRecord {
    uint32_t systemStatus;
    uint32_t moveStatus[kMoveStatusAxes];
    uint32_t errorBits[kMoveStatusAxes];
    uint32_t axisStatus[kMoveStatusAxes];
    uint32_t probeStatus;
};

// Reads the board under "ZEZ_LOCK" and judges the axes of axisMask (bit 0 X
// .. bit 4 Zoom). tag names the caller in the system-stop log lines, which
// are written when the move is done or in error, or always with logAlways.
// False, with "CncGetMoveStatus Error: lock failure" logged and the outputs
// untouched, when the lock could not be taken.
bool CncGetMoveStatus(bool logAlways, bool& moveDone, bool& moveError, MoveStatusRecord& record, uint32_t axisMask,
                      const char* tag);

// System stops, errors of the axes in axisMask, hardware limits of any of
// X..Q (unless "SetupSequencerActive" is 1) and software limits of any of
// X..Q (when "CheckSoftwareLimitErrors" is 1).
bool IsMoveError(const uint32_t moveStatus[kMoveStatusAxes], const uint32_t errorBits[kMoveStatusAxes],
                 uint32_t systemStatus, uint32_t axisMask);

// The touch probe is still retracting or deflected, so the move it stopped
// is not done (firmware 0x0002040C on). Takes "ZEZ_LOCK".
bool IsTPRetracting();

// Forgets the cached "CheckSoftwareLimitErrors".
void ResetMoveStatus();
