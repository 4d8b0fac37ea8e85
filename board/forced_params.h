#pragma once
// Parameter values the program insists on at every start.
#include <cstdint>

#include "core/param_numbers.h"

struct ForcedParam {
    int number;
    uint32_t value;
    bool onlyWhileZero;   // forced only while the program's copy holds 0
};

inline constexpr ForcedParam kForcedParams[] = {
    {8, 1, false},
    {10, 1, false},
    {12, 1, false},
    {14, 1, false},
    {22, 219, true},
};

// The lamp parameters stay as they are while "DontKillLamps" is set.

// Stores each forced value in g_param and writes it to the board where the
// board differs.
void ApplyForcedParams(bool dontKillLamps);
