#pragma once
// What the Scope records: up to four channels, each one quantity of one
// axis, sampled on the main window's 10 ms tick with the board's tick count
// as the time base. A capture is plain data, so the Move Response figures
// and the service report use it without a window.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/axes.h"

inline constexpr int kScopeChannels = 4;
inline constexpr uint32_t kScopeTickMs = 10;

enum class ScopeQuantity : uint8_t { kPosition, kFollowingError, kVelocity, kMoveStatus };
inline constexpr int kScopeQuantityCount = 4;

// The names a technician reads in the window and in a capture file.
inline constexpr const char* kScopeQuantityNames[kScopeQuantityCount] = {"position", "following error",
                                                                         "velocity", "move status"};
inline constexpr const char* kScopeAxisNames[kAxisCount] = {"X", "Y", "Z", "Q", "Zoom"};

struct ScopeChannel {
    int axis = kAxisX;
    ScopeQuantity quantity = ScopeQuantity::kPosition;
    std::string unit;   // "mm", "in", "mm/s", "in/s" or "" for the status byte
    bool operator==(const ScopeChannel&) const = default;
};

// One tick: the time since the capture's trigger (or its first sample when
// nothing triggered it) and each channel's value in the channel's unit.
struct ScopeSample {
    int32_t timeMs = 0;
    std::array<double, kScopeChannels> values{};
    bool operator==(const ScopeSample&) const = default;
};

struct ScopeCapture {
    std::string program;    // program version
    std::string serial;     // board serial number
    std::string firmware;
    std::string date;       // "YYYY-MM-DD hh:mm:ss", local time of the trigger
    uint32_t zeroTick = 0;  // board tick of time 0
    std::vector<ScopeChannel> channels;
    std::vector<ScopeSample> samples;
    bool operator==(const ScopeCapture&) const = default;
};

// What the board tells of one axis in one tick: the fields of its axis
// record that the channels use, already made user positions.
struct ScopeAxisReading {
    int32_t position = 0;   // counts from the user zero
    int32_t lag = 0;        // counts
    int32_t velocity = 0;   // counts per second
    uint8_t moveStatus = 0;
};

// How counts of an axis become the channel's unit.
struct ScopeUnits {
    double lengthPerCount = 0.0;   // mm or inches per count
    bool inch = false;
};

std::string ScopeUnitText(ScopeQuantity quantity, bool inch);
double ScopeChannelValue(ScopeQuantity quantity, const ScopeAxisReading& reading, double lengthPerCount);

// The axes the channels read, as an axis mask: the tick reads only these.
uint32_t ScopeAxesRead(const std::vector<ScopeChannel>& channels);

// A channel's value as the legend and the cursors show it: lengths and
// velocities with the digits of the unit ("%.4f" mm, "%.5f" in), the status
// byte in hexadecimal.
void FormatScopeValue(char* out, size_t size, double value, const ScopeChannel& channel);
// "X position (mm)".
std::string ScopeChannelName(const ScopeChannel& channel);
