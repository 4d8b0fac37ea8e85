#pragma once
// What the Circular goto window sends: the entered millimetres as counts of
// the X axis and the velocity percent as a word of hundredths.
#include <cstdint>

struct CircularGotoEntry {
    float velPercent = 0.0f;
    float startDeg = 0.0f;
    float sweepDeg = 0.0f;
    float radiusMm = 0.0f;
    float feedMm = 0.0f;
    float pitchDeg = 0.0f;
    float yawDeg = 0.0f;
};

struct CircularMove {
    int32_t radius = 0;     // counts
    int32_t feed = 0;       // counts
    uint16_t velocity = 0;  // percent × 100, whatever the firmware's velocity scale
};

// Radius and feed through the goto conversion with X's counts per mm (the
// board takes both in X counts, whatever the other axes' scales). False,
// with nothing converted, when X has no counts per mm: no length would
// mean what was entered.
bool MakeCircularMove(const CircularGotoEntry& entry, CircularMove& move);
