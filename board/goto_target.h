#pragma once
// The one way the system starts a single-axis absolute move.
#include <cstdint>

// Logs "    goto target", remembers the target relative to the user zero and
// sends the move; the driver's result.
int GotoTarget(int axis, int32_t target);

// A position relative to the user zero (machine zero offset plus software
// zero) as the axis's own count, wrapping at 32 bits as the board does.
int32_t UserToRawCounts(int axis, int32_t userCounts);
