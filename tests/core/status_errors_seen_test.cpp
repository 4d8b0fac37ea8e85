// The status errors a service report lists: each change once, bounded.
#include "core/status_errors_seen.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusErrorsSeen, AnErrorHeldIsOneEntryUntilItChanges)
{
    ResetStatusErrorsSeen();
    NoteStatusReading(1, "Status", 0, 0x04, 0x00, 0x80);    // active, nothing wrong
    NoteStatusReading(2, "Status", 0, 0x04, 0x02, 0x00);    // following error
    NoteStatusReading(3, "Status", 0, 0x05, 0x02, 0x00);    // the same, still
    NoteStatusReading(4, "ZoomTimer", 0, 0x05, 0x02, 0x00); // another watcher sees it too
    NoteStatusReading(5, "Status", 0, 0x05, 0x00, 0x00);    // gone
    NoteStatusReading(6, "Status", 0, 0x05, 0x02, 0x04);    // back, with the air stop
    const auto seen = StatusErrorsSeen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].ms, 2u);
    EXPECT_EQ(seen[1].watcher, "ZoomTimer");
    EXPECT_EQ(DescribeStatusError(seen[2]), "following error, air stop activated");
}

TEST(StatusErrorsSeen, TheOldestGiveWayAndAreCounted)
{
    ResetStatusErrorsSeen();
    for (uint32_t i = 0; i < kStatusErrorsKept + 2; ++i)
        NoteStatusReading(i, "Status", 0, 0, 1 + i % 2, 0);
    EXPECT_EQ(StatusErrorsSeen().size(), kStatusErrorsKept);
    EXPECT_EQ(StatusErrorsSeen().front().ms, 2u);
    EXPECT_EQ(StatusErrorsDropped(), 2u);
}

} // namespace
