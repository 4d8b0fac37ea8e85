#include "core/status_errors_seen.h"

#include "core/status_bits.h"

#include <algorithm>
#include <deque>

namespace {

constexpr uint32_t kErrorBitsKept =
    kErrorMotionMonitor | kErrorFollowing | kErrorOverCurrent | kErrorProbeRetract | kErrorEmergencyStop;

enum class Word { Move, Error, System };

struct BitName {
    Word word;
    uint32_t bit;
    const char* name;
};

constexpr BitName kBitNames[] = {
    {Word::Error, kErrorMotionMonitor, "motion monitor"},
    {Word::Error, kErrorFollowing, "following error"},
    {Word::Error, kErrorOverCurrent, "over current"},
    {Word::Error, kErrorProbeRetract, "touch probe retract"},
    {Word::Error, kErrorEmergencyStop, "emergency stop (axis)"},
    {Word::Move, kMoveSoftLimitPlus, "software limit +"},
    {Word::Move, kMoveSoftLimitMinus, "software limit -"},
    {Word::Move, kMoveHardLimitPlus, "hardware limit +"},
    {Word::Move, kMoveHardLimitMinus, "hardware limit -"},
    {Word::System, 1u << 0, "watchdog timer 1 underflow"},
    {Word::System, 1u << 1, "emergency stop activated"},
    {Word::System, 1u << 2, "air stop activated"},
    {Word::System, 1u << 3, "joystick override"},
    {Word::System, 1u << 4, "trackball override"},
    {Word::System, 1u << 5, "heart beat monitor underflow"},
};

struct LastReading {
    std::string watcher;
    int axis;
    StatusErrorSeen seen;
};

struct Record {
    std::deque<StatusErrorSeen> kept;
    std::vector<LastReading> last;
    size_t dropped = 0;
};

Record g_record;

bool SameErrors(const StatusErrorSeen& a, const StatusErrorSeen& b)
{
    return a.moveStatus == b.moveStatus && a.errorBits == b.errorBits && a.systemStatus == b.systemStatus;
}

bool AnyError(const StatusErrorSeen& s) { return s.moveStatus != 0 || s.errorBits != 0 || s.systemStatus != 0; }

uint32_t WordOf(const StatusErrorSeen& s, Word word)
{
    switch (word) {
    case Word::Move: return s.moveStatus;
    case Word::Error: return s.errorBits;
    default: return s.systemStatus;
    }
}

} // namespace

void NoteStatusReading(uint64_t ms, const char* watcher, int axis, uint32_t moveStatus, uint32_t errorBits,
                       uint32_t systemStatus)
{
    const char* name = watcher ? watcher : "";
    StatusErrorSeen seen{ms, name, axis, moveStatus & (kMoveSoftwareLimits | kMoveHardwareLimits),
                         errorBits & kErrorBitsKept, systemStatus & kSystemStopBits};
    auto last = std::find_if(g_record.last.begin(), g_record.last.end(),
                             [&](const LastReading& r) { return r.axis == axis && r.watcher == name; });
    if (last == g_record.last.end())
        last = g_record.last.insert(last, {name, axis, {0, name, axis, 0, 0, 0}});
    if (SameErrors(last->seen, seen))
        return;
    last->seen = seen;
    if (!AnyError(seen))
        return;
    if (g_record.kept.size() == kStatusErrorsKept) {
        g_record.kept.pop_front();
        ++g_record.dropped;
    }
    g_record.kept.push_back(std::move(seen));
}

std::vector<StatusErrorSeen> StatusErrorsSeen() { return {g_record.kept.begin(), g_record.kept.end()}; }

size_t StatusErrorsDropped() { return g_record.dropped; }

std::string DescribeStatusError(const StatusErrorSeen& seen)
{
    std::string text;
    for (const BitName& b : kBitNames) {
        if (!(WordOf(seen, b.word) & b.bit))
            continue;
        if (!text.empty())
            text += ", ";
        text += b.name;
    }
    return text;
}

void ResetStatusErrorsSeen() { g_record = Record{}; }
