// "ZEZ_LOCK": recursion for its owner, exactly one release per acquire,
// abandoned locks taken over, and a lock held elsewhere refused after the
// wait.
#include "homing/board_lock.h"
#include "tests/homing/homing_fixture.h"

#include <gtest/gtest.h>

namespace {

using BoardLock = HomingTest;

TEST_F(BoardLock, OwnerTakesItAgainAndOthersGetItOnlyAfterTheLastRelease)
{
    ASSERT_TRUE(AcquireBoardLock());
    EXPECT_FALSE(AnotherThreadCanTakeBoardLock());
    ASSERT_TRUE(AcquireBoardLock()) << "the owning thread must get the lock again without waiting for itself";

    ReleaseBoardLock();
    EXPECT_FALSE(AnotherThreadCanTakeBoardLock()) << "one release of two acquires must keep the lock";
    ReleaseBoardLock();
    EXPECT_TRUE(AnotherThreadCanTakeBoardLock());
}

TEST_F(BoardLock, LockHeldByAnotherOwnerIsRefusedAfterTheWait)
{
    OtherLockOwner other;
    ASSERT_TRUE(other.Holds());
    EXPECT_FALSE(AcquireBoardLock());
    {
        BoardLockGuard guard;
        EXPECT_FALSE(guard);
    }
    // The refused guard released nothing: the other owner still has it.
    EXPECT_FALSE(AnotherThreadCanTakeBoardLock());

    other.Finish();
    ASSERT_TRUE(AcquireBoardLock());
    ReleaseBoardLock();
}

TEST_F(BoardLock, LockAbandonedByAnEndedOwnerCountsAsAcquired)
{
    OtherLockOwner other(OtherLockOwner::Ending::Abandon);
    ASSERT_TRUE(other.Holds());
    other.Finish();

    ASSERT_TRUE(AcquireBoardLock());
    EXPECT_FALSE(AnotherThreadCanTakeBoardLock()) << "the abandoned lock now belongs to the caller";
    ReleaseBoardLock();
    EXPECT_TRUE(AnotherThreadCanTakeBoardLock());
}

} // namespace
