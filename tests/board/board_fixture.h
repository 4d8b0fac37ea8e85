#pragma once
// What the homing tests share: a program connected to a simulated board,
// and another owner of "ZEZ_LOCK" on a thread of its own (standing in for
// another program of the family).
#include "board/board_ready.h"
#include "driver/axb400.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <thread>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

inline constexpr char kProbe[] = "AXB_GetAxisPosValue(0,4,";

// Tries "ZEZ_LOCK" at once on a thread and a handle of its own, and holds it
// until destruction; the constructor returns once the thread has tried.
class OtherLockOwner {
public:
    OtherLockOwner() : thread_(&OtherLockOwner::Hold, this) { WaitForSingleObject(tried_, INFINITE); }
    ~OtherLockOwner()
    {
        SetEvent(finish_);
        thread_.join();
        CloseHandle(tried_);
        CloseHandle(finish_);
    }
    bool Holds() const { return holds_; }

private:
    void Hold()
    {
        HANDLE lock = CreateMutexW(nullptr, FALSE, L"ZEZ_LOCK");
        holds_ = WaitForSingleObject(lock, 0) == WAIT_OBJECT_0;
        SetEvent(tried_);
        WaitForSingleObject(finish_, INFINITE);
        if (holds_)
            ReleaseMutex(lock);
        CloseHandle(lock);
    }

    HANDLE tried_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE finish_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool holds_ = false;
    std::thread thread_;
};

// Whether another thread can take "ZEZ_LOCK" at once; it gives it back.
inline bool AnotherThreadCanTakeBoardLock() { return OtherLockOwner().Holds(); }

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
