#include "scope/scope_acquisition.h"

#include <windows.h>

#include <cstdio>

#include "board/board_versions.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "core/version_text.h"
#include "driver/axb400.h"
#include "infra/clock.h"

namespace {

// The fields of AXB_GetAxisRecord the channels use.
constexpr int kRecordActual = 1;
constexpr int kRecordLag = 3;
constexpr int kRecordActualVelocity = 5;
constexpr int kRecordFields = 15;

struct Acquisition {
    ScopeRecorder recorder;
    bool running = false;
    bool needsMoveStatus = false;
    ScopeCapture header;   // versions and channels of the current run
    std::deque<ScopeCapture> captures;
    uint64_t completed = 0;
};
Acquisition g_scope;

ScopeAxisReading ReadAxis(int axis, bool moveStatus)
{
    int32_t record[kRecordFields] = {};
    AXB_GetAxisRecord(0, axis, record);
    ScopeAxisReading reading;
    reading.position = AddCounts(AddCounts(record[kRecordActual], -machine_zero_offset[axis]), -g_offset[axis]);
    reading.lag = record[kRecordLag];
    reading.velocity = record[kRecordActualVelocity];
    if (moveStatus) {
        uint8_t errorByte = 0;
        AXB_GetMoveStatus(0, axis, &reading.moveStatus, &errorByte);
    }
    return reading;
}

ScopeCapture BoardHeader(const std::vector<ScopeChannel>& channels)
{
    ScopeCapture header;
    header.program = kProgramVersion;
    const BoardVersions versions = ReadBoardVersions();
    header.serial = std::to_string(versions.serialNumber);
    char text[32];
    const VersionBytes& f = versions.firmware;
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", f.b1, f.b2, f.b3, f.b4);
    header.firmware = text;
    header.channels = channels;
    return header;
}

std::string LocalDate()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

ScopeCapture MakeCapture(std::vector<ScopeSample> samples)
{
    ScopeCapture capture = g_scope.header;
    capture.date = LocalDate();
    capture.zeroTick = g_scope.recorder.ZeroTick();
    capture.samples = std::move(samples);
    return capture;
}

} // namespace

void StartScopeAcquisition(const std::vector<ScopeChannel>& channels, const ScopeTriggerSettings& settings)
{
    const bool inch = g_unitMode == kUnitInch;
    std::vector<ScopeChannel> shown = channels;
    std::vector<ScopeUnits> units;
    for (ScopeChannel& channel : shown) {
        channel.unit = ScopeUnitText(channel.quantity, inch);
        const double mm = g_resolution[channel.axis];
        units.push_back({inch ? mm / kMmPerInch : mm, inch});
    }
    g_scope.recorder.Start(shown, units, settings);
    g_scope.header = BoardHeader(g_scope.recorder.Channels());
    g_scope.needsMoveStatus = settings.kind == ScopeTriggerKind::kMoveStart && settings.mode != ScopeMode::kRoll;
    for (const ScopeChannel& channel : shown)
        g_scope.needsMoveStatus |= channel.quantity == ScopeQuantity::kMoveStatus;
    g_scope.running = true;
}

void StopScopeAcquisition()
{
    g_scope.running = false;
}

bool ScopeAcquisitionRunning() { return g_scope.running; }

const ScopeRecorder& ScopeAcquisition() { return g_scope.recorder; }

void ScopeTick()
{
    if (!g_scope.running)
        return;
    const uint32_t axes = g_scope.recorder.AxesRead();
    if (axes == 0) {
        g_scope.running = false;
        return;
    }
    ScopeAxisReading readings[kAxisCount]{};
    for (int a = 0; a < kAxisCount; ++a)
        if (axes & AxisBit(a))
            readings[a] = ReadAxis(a, g_scope.needsMoveStatus);
    auto samples = g_scope.recorder.Tick(NowMs(), readings);
    if (!samples)
        return;
    g_scope.captures.push_back(MakeCapture(std::move(*samples)));
    if (g_scope.captures.size() > kScopeCapturesKept)
        g_scope.captures.pop_front();
    ++g_scope.completed;
}

const std::deque<ScopeCapture>& ScopeCapturesSinceStart() { return g_scope.captures; }

uint64_t ScopeCapturesCompleted() { return g_scope.completed; }

ScopeCapture SnapshotScopeCapture() { return MakeCapture(g_scope.recorder.Samples()); }

void ResetScopeAcquisition() { g_scope = Acquisition{}; }
