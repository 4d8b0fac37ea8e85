#include "board/fences.h"

#include "board/board_lock.h"
#include "board/board_ready.h"
#include "board/param_io.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "infra/log.h"


namespace {

constexpr int32_t kOpenFence = 1000000000;
constexpr int kDisabledAxes = kEncoderAxisCount;     // X, Y, Z, Q
constexpr int kEnabledAxes = kUserBoxFenceAxes;      // X, Y, Z: Q has no user fence

// The board's own arithmetic is 32-bit: a fence far out wraps as it would there.
int32_t WrappingSum(int32_t a, int32_t b, int32_t c) { return AddCounts(AddCounts(a, b), c); }

// The program's copy always takes the value; the board is written only when
// it holds something else.
void WriteFenceParam(int number, int32_t value)
{
    g_param[number] = static_cast<uint32_t>(value);
    SetParamIfDifferent(number, g_param[number]);
}

void OpenFences(int axis)
{
    WriteFenceParam(AxisParam(kParamFencePlus, axis), kOpenFence);
    WriteFenceParam(AxisParam(kParamFenceMinus, axis), -kOpenFence);
}

bool FenceEnabled(int axis) { return krv_user_box_data.swFenceEnabled[axis] != 0; }

// machine_zero_offset lives in the flash record, not on the board. The
// readiness check under the lock is made so that a board that has just come
// back refreshes the record (its connection work reads the flash); when the
// lock or the board is not there, the program's copy is still the zero the
// axis was homed against, so it is used either way.
int32_t HomeOffset(int axis)
{
    BoardLockGuard lock;
    if (lock)
        IsAXBBoardLoaded(false);
    return machine_zero_offset[axis];
}

void ApplyUserFences(int axis)
{
    LogPrintf(g_log, "RLB:Enabling software fence on axis %d\n", axis);
    const int32_t zero = g_offset[axis];
    const int32_t home = HomeOffset(axis);
    WriteFenceParam(AxisParam(kParamFencePlus, axis), WrappingSum(krv_user_box_data.swFencePlus[axis], zero, home));
    WriteFenceParam(AxisParam(kParamFenceMinus, axis), WrappingSum(home, zero, krv_user_box_data.swFenceMinus[axis]));
}

} // namespace

void DisableSoftwareFences()
{
    for (int axis = 0; axis < kDisabledAxes; ++axis) {
        if (axis < kEnabledAxes && FenceEnabled(axis))
            LogPrintf(g_log, "RLB:Disabling software fence on axis %d\n", axis);
        OpenFences(axis);
    }
}

void EnableSoftwareFences()
{
    for (int axis = 0; axis < kEnabledAxes; ++axis) {
        if (!FenceEnabled(axis)) {
            OpenFences(axis);
        } else if (g_homeRefFound[axis]) {
            ApplyUserFences(axis);
        } else {
            LogPrintf(g_log, "RLB:Failed to enable software fence on axis %d Autohome not complete\n", axis);
            OpenFences(axis);
        }
    }
}
