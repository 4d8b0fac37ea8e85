#include "board/move_status.h"

#include "board/board_lock.h"
#include "board/board_ready.h"
#include "core/auto_home_state.h"
#include "core/status_errors_seen.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/settings.h"

#include <iterator>

namespace {

constexpr int kLimitAxes = kEncoderAxisCount;   // X..Q have limit switches that count

constexpr uint32_t kAxisErrors = kErrorMotionMonitor | kErrorFollowing | kErrorOverCurrent | kErrorProbeRetract;
// Homing runs into a stop on purpose, so a following error is expected then.
constexpr uint32_t kHomingAxisErrors = kAxisErrors & ~kErrorFollowing;
constexpr uint32_t kZoomErrors = kErrorMotionMonitor | kErrorFollowing | kErrorOverCurrent;

// The probe reports its state this way only from this firmware on.
constexpr uint32_t kFirstProbeStatusFirmware = 0x0002040C;

constexpr const char* kSystemStopTexts[] = {
    " Watchdog timer 1 underflow\n", " Emergency stop activated\n", " Air stop activated\n",
    " Joystick override\n",          " Trackball override\n",        " Heart beat monitor underflow\n",
};

constexpr int kNotRead = -1;
// Read once per process: a technician changing it in the INI file while the
// program runs does not change how a running sequence is judged.
int g_checkSoftwareLimitErrors = kNotRead;

bool InMask(uint32_t axisMask, int axis) { return (axisMask >> axis & 1u) != 0; }

bool CheckSoftwareLimitErrors()
{
    if (g_checkSoftwareLimitErrors == kNotRead)
        g_checkSoftwareLimitErrors = GetSettingInt(L"CNC", L"CheckSoftwareLimitErrors", L"1");
    return g_checkSoftwareLimitErrors == 1;
}

bool AnyLimitAxisHas(const uint32_t moveStatus[], uint32_t bits)
{
    for (int axis = 0; axis < kLimitAxes; ++axis)
        if (moveStatus[axis] & bits)
            return true;
    return false;
}

bool AxisInError(int axis, uint32_t moveStatus, uint32_t errorBits)
{
    if (!(moveStatus & kMoveAxisActive))
        return false;
    if (axis == kZoomAxis)
        return (errorBits & kZoomErrors) != 0;
    return (errorBits & (g_homingStage[axis] != 0 ? kHomingAxisErrors : kAxisErrors)) != 0;
}

// All five axes and the system in one locked block, so that the picture is
// of one moment and no other program drives the board in between.
bool ReadMoveStatus(MoveStatusRecord& record)
{
    BoardLockGuard lock;
    if (!lock)
        return false;
    uint32_t statusWord = 0;
    AXB_ReadStatusWord(0, &statusWord);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        uint8_t moveStatus = 0;
        uint8_t errorBits = 0;
        uint16_t axisStatus = 0;
        AXB_GetMoveStatus(0, axis, &moveStatus, &errorBits);
        AXB_GetAxisStatus(0, axis, &axisStatus);
        record.moveStatus[axis] = moveStatus;
        record.errorBits[axis] = errorBits;
        record.axisStatus[axis] = axisStatus;
    }
    AXB_GetSystemStatus(0, &record.systemStatus);
    uint8_t probeStatus = 0;
    AXB_GetProbeStatus(0, &probeStatus);
    record.probeStatus = probeStatus;
    return true;
}

bool AnyWatchedAxisMoving(const MoveStatusRecord& record, uint32_t axisMask)
{
    for (int axis = 0; axis < kAxisCount; ++axis)
        if (InMask(axisMask, axis) && (record.moveStatus[axis] & (kMoveAxisActive | kMoveComplete)) == kMoveAxisActive)
            return true;
    return false;
}

void LogSystemStops(uint32_t systemStatus, const char* tag)
{
    for (int bit = 0; bit < static_cast<int>(std::size(kSystemStopTexts)); ++bit)
        if (systemStatus >> bit & 1u)
            LogPrintf(g_log, "**SS %s%s", tag ? tag : "", kSystemStopTexts[bit]);
}

} // namespace

bool IsMoveError(const uint32_t moveStatus[kAxisCount], const uint32_t errorBits[kAxisCount],
                 uint32_t systemStatus, uint32_t axisMask)
{
    if (systemStatus & kSystemStopBits)
        return true;
    for (int axis = 0; axis < kAxisCount; ++axis)
        if (InMask(axisMask, axis) && AxisInError(axis, moveStatus[axis], errorBits[axis]))
            return true;
    if (GetSettingInt(L"CNC", L"SetupSequencerActive", L"0") != 1 && AnyLimitAxisHas(moveStatus, kMoveHardwareLimits))
        return true;
    return CheckSoftwareLimitErrors() && AnyLimitAxisHas(moveStatus, kMoveSoftwareLimits);
}

bool CncGetMoveStatus(bool logAlways, bool& moveDone, bool& moveError, MoveStatusRecord& record, uint32_t axisMask,
                      const char* tag)
{
    if (!ReadMoveStatus(record)) {
        g_log.Write("CncGetMoveStatus Error: lock failure\n");
        return false;
    }
    for (int axis = 0; axis < kAxisCount; ++axis)
        NoteStatusReading(NowMs64(), tag, axis, record.moveStatus[axis], record.errorBits[axis], record.systemStatus);
    moveError = IsMoveError(record.moveStatus, record.errorBits, record.systemStatus, axisMask);
    moveDone = !moveError && !AnyWatchedAxisMoving(record, axisMask) && !(record.probeStatus & kProbeRetracting);
    if (IsTPRetracting())
        moveDone = false;
    if (moveError || moveDone || logAlways)
        LogSystemStops(record.systemStatus, tag);
    return true;
}

bool IsTPRetracting()
{
    BoardLockGuard lock;
    if (!lock)
        return false;
    if (!IsAXBBoardLoaded(true)) {
        g_firmwareVersion = 0;
        return false;
    }
    if (g_firmwareVersion < kFirstProbeStatusFirmware)
        return false;
    uint8_t status = 0;
    AXB_GetProbeStatus(0, &status);
    if (status & kProbeRetracting) {
        g_log.Write("IsTPRetracting is true: status bit 3 (value 4) is set\n");
        return true;
    }
    if (status & kProbeDeflected) {
        g_log.Write("IsTPRetracting is true: status bit 2 (value 2) is set\n");
        return true;
    }
    return false;
}

void ResetMoveStatus()
{
    g_checkSoftwareLimitErrors = kNotRead;
}
