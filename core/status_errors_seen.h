#pragma once
// The move-status and system-status errors the program saw since it
// started, for the service report. A reading is kept only when what is
// wrong changed since the last reading of the same watcher and axis, so a
// limit switch held for an hour is one entry, not one per poll. The record
// is bounded: the oldest entries give way, and how many did is counted.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t kStatusErrorsKept = 500;

struct StatusErrorSeen {
    uint64_t ms;            // the program's clock
    std::string watcher;    // who read it: "AutoHomeTimer", "ZoomTimer", "Status"
    int axis;
    uint32_t moveStatus;    // limit bits only
    uint32_t errorBits;
    uint32_t systemStatus;  // stop bits only
};

// One reading of an axis and the system by a watcher.
void NoteStatusReading(uint64_t ms, const char* watcher, int axis, uint32_t moveStatus, uint32_t errorBits,
                       uint32_t systemStatus);

// Oldest first.
std::vector<StatusErrorSeen> StatusErrorsSeen();
size_t StatusErrorsDropped();
// What is wrong in words: "following error, hardware limit +, air stop".
std::string DescribeStatusError(const StatusErrorSeen& seen);

void ResetStatusErrorsSeen();
