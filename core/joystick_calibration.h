#pragma once
// The arithmetic of the two joystick calibrations, for X, Y and Z: the quick
// one tracks the extremes of a sweep, the long one samples the stick held at
// each end and centred.
#include <array>
#include <cstdint>
#include <optional>

// The ADC window the calibration writes (P035..P037 and their twins).
struct JoystickWindow {
    uint32_t min;
    uint32_t centre;
    uint32_t max;
    bool operator==(const JoystickWindow&) const = default;
};

// The quick calibration's extremes before any reading: every reading widens them.
inline constexpr uint16_t kJoystickNoMax = 0;
inline constexpr uint16_t kJoystickNoMin = 10000;
void WidenJoystickExtremes(uint16_t reading, uint16_t& max, uint16_t& min);

// An axis without its enable box spans 0 .. twice its centre, at most this.
inline constexpr uint32_t kJoystickUnsweptMax = 1024;
// The window of an axis after the sweep; none when it is enabled but its
// extremes were never widened (max below min), so its window stays.
std::optional<JoystickWindow> QuickJoystickWindow(bool enabled, uint16_t centre, uint16_t max, uint16_t min);

// The highest and lowest reading of one held position.
struct JoystickSamples {
    int32_t highest = -1;
    int32_t lowest = 0x10000;
    void Take(uint16_t reading);
    bool Taken() const { return highest >= lowest; }
};
// Positions of the long calibration, and its samples indexed 3 * axis + position.
enum JoystickPosition { kHeldAtMinimum = 0, kHeldAtMaximum = 1, kCentred = 2 };
using JoystickLongSamples = std::array<JoystickSamples, 9>;
constexpr int JoystickSampleIndex(int axis, int position) { return 3 * axis + position; }
// "2 Axis Joystick": the stick has no Z deflection, Z takes Y's samples.
void CopyJoystickSamplesYToZ(JoystickLongSamples& samples, int position);
// The window from an axis's three positions, whichever way its reading runs
// from minimum to maximum; none when a position has no reading.
std::optional<JoystickWindow> LongJoystickWindow(const JoystickLongSamples& samples, int axis);
