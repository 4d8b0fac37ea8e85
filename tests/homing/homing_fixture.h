#pragma once
// What the homing tests share: a program on a simulated board whose flash
// user area is valid, and another owner of "ZEZ_LOCK" on a thread of its own
// (standing in for another program of the family).
#include "tests/support/program_harness.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Takes "ZEZ_LOCK" through a handle of its own on a new thread and holds it
// until Finish() or destruction. The constructor returns once the lock is
// held, so a test never races the thread.
class OtherLockOwner {
public:
    enum class Ending { Release, Abandon };
    explicit OtherLockOwner(Ending ending = Ending::Release);
    ~OtherLockOwner();
    OtherLockOwner(const OtherLockOwner&) = delete;
    OtherLockOwner& operator=(const OtherLockOwner&) = delete;

    bool Holds() const { return holds_; }
    // Releases (or abandons, by ending the thread) and waits for the thread.
    void Finish();

private:
    static DWORD WINAPI Run(void* self);

    Ending ending_;
    HANDLE acquired_ = nullptr;
    HANDLE finish_ = nullptr;
    HANDLE thread_ = nullptr;
    bool holds_ = false;
};

// Whether a thread other than the caller can take "ZEZ_LOCK" at once; it
// gives the lock back before this returns.
bool AnotherThreadCanTakeBoardLock();

// The operation names of the driver calls since the last clear, in order,
// e.g. "AXB_GetParam".
std::vector<std::string> SimCallNames();
int CountSimCalls(const std::string& prefix);

class HomingTest : public ::testing::Test {
protected:
    HomingTest();

    // A user area carrying the marker, so the connection work reads it
    // without asking the technician; bits 3..6 of item 1095 are the "Analog
    // Ref Mark Inverted" flags of X..Q.
    static void WriteValidUserArea(uint8_t analogRefMarkInvertedMask = 0);
    // Driver open and the connection work done; the call log and the log
    // lines start empty afterwards.
    void ConnectBoard();
    // Log lines starting with the prefix.
    std::vector<std::string> LogLinesStartingWith(const std::string& prefix);

    ProgramHarness h;
};
