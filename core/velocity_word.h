#pragma once
// Velocities go to the board as unsigned 16-bit words (a percent times the
// velocity scale, or times 100). A product beyond the word is sent as the
// largest word rather than wrapped: 700 % at scale 100 must not become a
// crawl of 4464, and a negative percent must not become a fast move.
#include <cstdint>

inline constexpr uint16_t kMaxVelocityWord = 0xFFFF;

// value already rounded or truncated as the caller wants: 0 below 0 and for
// a value that is not a number, 65535 above it.
uint16_t SaturatedVelocityWord(double value);

// velScale × percent in float, rounded to the nearest word, halves up.
uint16_t RoundedVelocityWord(uint16_t velScale, float percent);

// The whole percent times the scale.
uint16_t WholePercentVelocityWord(int32_t percent, uint16_t velScale);
