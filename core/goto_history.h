#pragma once
// The last 20 readings of every goto axis, newest first, so that a following
// error can be logged with what led up to it.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/goto_sequence.h"

inline constexpr int kGotoHistoryLength = 20;

struct GotoSample {
    int32_t lag = 0;
    int32_t position = 0;   // user counts
    int32_t target = 0;     // the recorded target, user counts
    uint8_t moveStatus = 0;
    uint8_t errorByte = 0;
    uint64_t tick = 0;      // ms
};

class GotoSampleRing {
public:
    // The oldest sample is dropped.
    void Push(const GotoSample& sample);
    // 0 is the newest.
    const GotoSample& At(int age) const { return samples_[static_cast<size_t>(age)]; }
    void Clear() { samples_ = {}; }

private:
    std::array<GotoSample, kGotoHistoryLength> samples_{};
};

extern GotoSampleRing GotoHistory[kGotoAxisCount];

void ResetGotoHistory();
