#pragma once
// Zero offsets and fences of the flash record as the User Parameters dialog
// shows them: counts, or millimetres and inches through the axis's scale.
#include <cstdint>

// counts × resolution in single precision (÷ 25.4 in inch mode).
float CountsAsUserLength(int32_t counts, float resolution, int unitMode);
// A typed value as counts: in counts mode to the nearest count (halves up),
// otherwise the product with counts per mm in double, rounded half away
// from zero.
int32_t UserLengthAsCounts(double value, uint32_t countsPerMm, int unitMode);
