#pragma once
// The move-status poll of every sequenced motion (auto-home, zoom): the
// status of all five axes and of the system read in one locked block, and
// the judgement whether the watched axes are done and whether anything is in
// error.
#include <cstdint>

#include "core/axes.h"
#include "core/status_bits.h"

// Filled by CncGetMoveStatus; the caller owns it and clears it first.
struct MoveStatusRecord {
    uint32_t systemStatus;
    uint32_t moveStatus[kAxisCount];
    uint32_t errorBits[kAxisCount];
    uint32_t axisStatus[kAxisCount];
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
bool IsMoveError(const uint32_t moveStatus[kAxisCount], const uint32_t errorBits[kAxisCount],
                 uint32_t systemStatus, uint32_t axisMask);

// The touch probe is still retracting or deflected, so the move it stopped
// is not done (firmware 0x0002040C on). Takes "ZEZ_LOCK".
bool IsTPRetracting();

// Forgets the cached "CheckSoftwareLimitErrors".
void ResetMoveStatus();
