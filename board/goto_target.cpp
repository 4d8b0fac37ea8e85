#include "board/goto_target.h"

#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/unit_conversion.h"
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
