#pragma once
// What the board tests share: a program connected to a simulated board.
#include "board/board_ready.h"
#include "driver/axb400.h"
#include "sim/board/axbsim.h"
#include "tests/support/other_lock.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"

#include <gmock/gmock.h>

#include <filesystem>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

inline constexpr char kProbe[] = "AXB_GetAxisPosValue(0,4,";

// Whether another program could take "ZEZ_LOCK" at once; it gives it back.
inline bool AnotherThreadCanTakeBoardLock() { return OtherProgramCanTake(L"ZEZ_LOCK"); }

inline size_t CountSimCalls(const std::string& prefix) { return SimCallsStartingWith(prefix).size(); }

class HomingTest : public ::testing::Test {
protected:
    // Driver open and the connection work done; no driver call or log line yet.
    void SetUp() override
    {
        // WriteSettingString needs the folder its file sits in.
        std::filesystem::create_directories(h.Folder() / L"settings" / L"TavRosen" / L"Settings");
        ASSERT_EQ(AXB_OpenDrv(), 1);
        ASSERT_TRUE(IsAXBBoardLoaded(true));
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }

    ProgramHarness h;
};
