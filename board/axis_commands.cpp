#include "board/axis_commands.h"

#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "core/velocity_word.h"
#include "driver/axb400.h"
#include "infra/log.h"

int GotoTarget(int axis, int32_t target)
{
    LogPrintf(g_log, "    goto target%d\n", target);
    g_lastGotoTarget[axis] = AddCounts(AddCounts(target, -machine_zero_offset[axis]), -g_offset[axis]);
    return AXB_SetAxisPosAbs(0, axis, target);
}

int32_t UserToRawCounts(int axis, int32_t userCounts)
{
    return AddCounts(AddCounts(userCounts, machine_zero_offset[axis]), g_offset[axis]);
}

bool GotoTargetFits(int axis, float mm)
{
    if (GotoRawCounts(mm, axis))
        return true;
    LogPrintf(g_log, "Goto refused: the target %.4f mm of axis %d is beyond its counter\n", static_cast<double>(mm), axis);
    return false;
}

void SendVelocityPercent(int axis, int32_t percent)
{
    g_cmdVelPercent[axis] = percent;
    AXB_SetVelocityPercent(0, axis, WholePercentVelocityWord(percent, g_velScale));
}

void SendVelocityPercentIfChanged(int axis, int32_t percent)
{
    if (percent != g_cmdVelPercent[axis])
        SendVelocityPercent(axis, percent);
}

void StopAxes(int count)
{
    for (int a = 0; a < count; ++a)
        AXB_StopAxis(0, a);
}
