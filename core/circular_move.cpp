#include "core/circular_move.h"

#include "core/axes.h"
#include "core/param_table.h"
#include "core/unit_conversion.h"
#include "core/velocity_word.h"

#include <cmath>

bool MakeCircularMove(const CircularGotoEntry& entry, CircularMove& move)
{
    if (g_param[AxisParam(kParamCountsPerMm, kAxisX)] == 0)
        return false;
    move.radius = TargetMmToCounts(entry.radiusMm, kAxisX);
    move.feed = TargetMmToCounts(entry.feedMm, kAxisX);
    move.velocity = SaturatedVelocityWord(std::trunc(static_cast<double>(entry.velPercent) * 100.0));
    return true;
}
