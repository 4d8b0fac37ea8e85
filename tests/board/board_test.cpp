// "ZEZ_LOCK" for its owner, after an owner died and while another keeps it;
// the readiness check: one probe per 5 s while the board answers, one per
// call while it does not, and the connection work on each of its returns.
#include "board/board_lock.h"
#include "tests/board/board_fixture.h"

#include <algorithm>

namespace {

using Board = BoardTest;

TEST_F(Board, LockOwnerTakesItAgainAnAbandonedLockIsTakenOverAndOneHeldElsewhereRefuses)
{
    ASSERT_TRUE(AcquireBoardLock());
    ASSERT_TRUE(AcquireBoardLock()) << "the owning thread must get the lock again without waiting for itself";
    ReleaseBoardLock();
    EXPECT_FALSE(LockIsFree()) << "one release of two acquires must keep the lock";
    ReleaseBoardLock();
    AbandonLockInOtherThread(L"ZEZ_LOCK");   // taken by a thread that ends owning it, its handle still open
    ASSERT_TRUE(AcquireBoardLock());
    EXPECT_FALSE(LockIsFree()) << "the abandoned lock now belongs to the caller";
    ReleaseBoardLock();
    EXPECT_TRUE(LockIsFree());
    // Held by another program, the locked operations give up without asking
    // the board. Each refusal costs the full 1000 ms wait, so this one
    // scenario sees them all.
    AxbSim_SetProbeStatus(4);   // a retract check that went on would answer true
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(5000);    // the board is gone and due to be asked
    Forget();
    OtherProgramLock other(L"ZEZ_LOCK");
    ASSERT_TRUE(other.Holds());
    EXPECT_TRUE(IsAXBBoardLoaded(true)) << "the last known answer";
    EXPECT_FALSE(IsTPRetracting());
    bool done = true, error = true;
    MoveStatusRecord record{0xA5, {}, {}, {}, 0};
    EXPECT_FALSE(CncGetMoveStatus(true, done, error, record, 0x1F, "ZoomTimer"));
    EXPECT_TRUE(done && error && record.systemStatus == 0xA5) << "the outputs are not touched";
    EXPECT_THAT(h.Log().Lines(), ElementsAre("CncGetMoveStatus Error: lock failure"));
    EXPECT_THAT(SimCalls(), IsEmpty());
    // Asked at once by a caller holding the lock: the refusals did not restart the 5 s.
    EXPECT_FALSE(IsAXBBoardLoaded(false));
    EXPECT_THAT(SimCalls(), ElementsAre(StartsWith(kProbe)));
}

// The operations in the order of their first call.
std::vector<std::string> FirstCalls()
{
    std::vector<std::string> names;
    for (const std::string& call : SimCalls())
        if (const std::string name = call.substr(0, call.find('(')); std::ranges::find(names, name) == names.end())
            names.push_back(name);
    return names;
}

TEST_F(Board, ConnectionWorkOnEachReturnAndOneProbePer5SecondsInBetween)
{
    WriteItemToSimFlash(1095, {.byteValue = 0b0011 << 3});   // X and Y "Analog Ref Mark Inverted"
    for (auto [axis, bits] : {std::pair{0, 0x0801}, {1, 0x0003}, {2, 0x0804}})
        AXB_SetAxisReg(0, axis, 2, bits);
    AxbSim_PokeParam(511, 77);
    ResetBoardReadyState();   // as at start-up
    AxbSim_ClearCallLog();
    EXPECT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_THAT(FirstCalls(), ElementsAre("AXB_GetAxisPosValue", "AXB_GetFirmwareVersion", "AXB_GetJoyStickMode",
                                          "AXB_ReadFlashWord", "AXB_GetAxisReg", "AXB_SetAxisReg", "AXB_GetParam"));
    EXPECT_THAT(Calls("AXB_SetAxisReg("), ElementsAre("AXB_SetAxisReg(0,1,2,2051)=1", "AXB_SetAxisReg(0,2,2,4)=1"));
    EXPECT_EQ(Calls("AXB_GetParam(").size(), 512u);
    EXPECT_EQ(g_param[511], 77u);
    AxbSim_ClearCallLog();
    h.Clock().Advance(4999);
    EXPECT_TRUE(IsAXBBoardLoaded(true) && IsAXBBoardLoaded(false));
    EXPECT_THAT(SimCalls(), IsEmpty()) << "trusted for 5 s";
    h.Clock().Advance(1);
    EXPECT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_THAT(SimCalls(), ElementsAre(StartsWith(kProbe))) << "a board still there needs no connection work";
    // Gone: noticed once the 5 s from that probe are over, then asked on every call.
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(4999);
    AxbSim_ClearCallLog();
    EXPECT_TRUE(IsAXBBoardLoaded(false));
    h.Clock().Advance(1);
    EXPECT_FALSE(IsAXBBoardLoaded(true) || IsAXBBoardLoaded(false));
    EXPECT_THAT(SimCalls(), ElementsAre(StartsWith(kProbe), StartsWith(kProbe)));
    // Back: the whole connection work again, with no register left to write.
    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_ClearCallLog();
    EXPECT_TRUE(IsAXBBoardLoaded(true));
    EXPECT_EQ(Calls("AXB_GetParam(").size(), 512u);
    EXPECT_THAT(Calls("AXB_SetAxisReg("), IsEmpty());
}

} // namespace
