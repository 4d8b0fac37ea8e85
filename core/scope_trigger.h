#pragma once
// The Scope's acquisition without the board: which samples a capture keeps
// around its trigger. Roll keeps the last length scrolling; Single stops
// after one capture; Normal arms again after each.
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "core/scope_capture.h"

enum class ScopeMode : uint8_t { kRoll, kSingle, kNormal };
enum class ScopeTriggerKind : uint8_t { kMoveStart, kFollowingError };

inline constexpr int kScopeMinLengthS = 1;
inline constexpr int kScopeMaxLengthS = 60;
inline constexpr int kScopeMaxPreTriggerPercent = 50;

struct ScopeTriggerSettings {
    ScopeMode mode = ScopeMode::kSingle;
    ScopeTriggerKind kind = ScopeTriggerKind::kMoveStart;
    int axis = kAxisX;
    double lagThresholdCounts = 0.0;   // |following error| reaching it triggers
    int lengthS = 2;                   // 1..60
    int preTriggerPercent = 10;        // 0..50
};

// Lengths and percents outside their ranges held at the nearest end.
ScopeTriggerSettings ClampedTrigger(ScopeTriggerSettings settings);

// Move start: the axis's move status leaves "move ended" (bit 0). Following
// error: its magnitude reaches the threshold. Both on the edge only, so an
// axis already moving when the scope arms does not trigger it.
class ScopeTrigger {
public:
    explicit ScopeTrigger(const ScopeTriggerSettings& settings) : settings_(settings) {}
    bool Fires(const ScopeAxisReading& reading);

private:
    bool Condition(const ScopeAxisReading& reading) const;
    ScopeTriggerSettings settings_;
    std::optional<bool> previous_;
};

enum class ScopeState : uint8_t { kStopped, kArmed, kCapturing, kRolling };

class ScopeRecorder {
public:
    // channels with one units entry each (how counts of its axis become its unit).
    void Start(std::vector<ScopeChannel> channels, std::vector<ScopeUnits> units, const ScopeTriggerSettings& settings);
    void Stop() { state_ = ScopeState::kStopped; }
    // One tick at the board's tick count; readings of every axis (only those
    // of the channels and the trigger axis are looked at). A finished
    // capture, when this tick completed one.
    std::optional<std::vector<ScopeSample>> Tick(uint32_t tick, const ScopeAxisReading (&readings)[kAxisCount]);

    ScopeState State() const { return state_; }
    const std::vector<ScopeChannel>& Channels() const { return channels_; }
    const ScopeTriggerSettings& Settings() const { return settings_; }
    // Board tick of time 0 of the samples: the trigger's, else the first kept.
    uint32_t ZeroTick() const;
    // What is kept so far: the pre-trigger part while armed, the growing
    // capture, or the roll window; times relative to ZeroTick.
    std::vector<ScopeSample> Samples() const;
    // The axes the tick must read.
    uint32_t AxesRead() const;

private:
    struct Kept {
        uint32_t tick;
        std::array<double, kScopeChannels> values;
    };
    size_t TotalSamples() const;
    size_t PreSamples() const;
    void Arm();

    std::vector<ScopeChannel> channels_;
    std::vector<ScopeUnits> units_;
    ScopeTriggerSettings settings_;
    ScopeTrigger trigger_{settings_};
    ScopeState state_ = ScopeState::kStopped;
    std::deque<Kept> kept_;
    bool triggered_ = false;
    uint32_t triggerTick_ = 0;
    size_t afterTrigger_ = 0;
};
