#pragma once
// The board's operations called as the features call them: the driver open
// and the connection work done, and no main window whose timer would ask the
// board in between.
#include "board/board_ready.h"
#include "board/fences.h"
#include "board/move_status.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "driver/axb400.h"
#include "sim/board/axbsim.h"
#include "tests/support/other_lock.h"
#include "tests/support/program_test.h"
#include "tests/support/sim_flash.h"

using namespace ::testing;

// The readiness check's question to the board.
inline constexpr char kProbe[] = "AXB_GetAxisPosValue(0,4,";

class BoardTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(AXB_OpenDrv(), 1);
        ASSERT_TRUE(IsAXBBoardLoaded(true));
        Forget();
    }
    static bool LockIsFree() { return OtherProgramCanTake(L"ZEZ_LOCK"); }
};
