#pragma once
// The board's axes: X, Y, Z, Q and the motorised zoom. An axis mask has bit a
// for axis a.
#include <cstdint>

inline constexpr int kAxisX = 0;
inline constexpr int kAxisY = 1;
inline constexpr int kAxisZ = 2;
inline constexpr int kAxisQ = 3;
inline constexpr int kZoomAxis = 4;
inline constexpr int kAxisCount = 5;

// X..Q carry an encoder counter, the per-axis block P260..P419, the stepper
// calibration and the homing stages; the zoom has none of these.
inline constexpr int kEncoderAxisCount = 4;

inline constexpr uint32_t AxisBit(int axis) { return 1u << axis; }
inline constexpr uint32_t kAllAxesMask = 0x1F;
inline constexpr uint32_t kEncoderAxesMask = 0x0F;
