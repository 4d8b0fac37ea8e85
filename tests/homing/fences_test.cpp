// Software fences: the values written when they are opened and when they
// are set from the user's fences relative to the zero, written only where
// the board differs, and the zero used when the board cannot be asked.
#include "app/motion_state.h"
#include "driver/axb400.h"
#include "homing/fences.h"
#include "params/flash_items.h"
#include "params/param_table.h"
#include "sim/board/axbsim.h"
#include "tests/homing/homing_fixture.h"
#include "tests/support/sim_calls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr uint32_t kOpenPlus = 1000000000;
constexpr uint32_t kOpenMinus = 3294967296;   // -1000000000 as stored

class Fences : public HomingTest {
protected:
    // After the connection work, which fills the record from flash.
    void SetUp() override { ConnectBoard(); }

    // X fenced at ±5000 around a zero of g_offset 100 and home 20.
    static void FenceXAndFindItsZero()
    {
        krv_user_box_data.swFenceEnabled[0] = 1;
        krv_user_box_data.swFencePlus[0] = 5000;
        krv_user_box_data.swFenceMinus[0] = -5000;
        g_offset[0] = 100;
        machine_zero_offset[0] = 20;
        g_homeRefFound[0] = true;
    }
};

TEST_F(Fences, EnablingSetsHomedFencesRelativeToTheZeroAndOpensTheRest)
{
    FenceXAndFindItsZero();
    AxbSim_PokeParam(108, 7);   // Y's + fence somewhere: Y has no fence enabled
    AxbSim_PokeParam(188, 5);   // Q's fences belong to nobody here
    AxbSim_PokeParam(189, 6);

    EnableSoftwareFences();

    EXPECT_EQ(g_param[68], 5120u);
    EXPECT_EQ(static_cast<int32_t>(g_param[69]), -4880);
    EXPECT_EQ(g_param[108], kOpenPlus);
    EXPECT_THAT(SimCalls(), ElementsAre("AXB_GetParam(0,68,&1000000000)=1", "AXB_SetParam(0,68,5120)=1",
                                        "AXB_GetParam(0,69,&3294967296)=1", "AXB_SetParam(0,69,4294962416)=1",
                                        "AXB_GetParam(0,108,&7)=1", "AXB_SetParam(0,108,1000000000)=1",
                                        "AXB_GetParam(0,109,&3294967296)=1", "AXB_GetParam(0,148,&1000000000)=1",
                                        "AXB_GetParam(0,149,&3294967296)=1"));
    EXPECT_EQ(AxbSim_PeekParam(188), 5u);
    EXPECT_EQ(AxbSim_PeekParam(189), 6u);
    EXPECT_THAT(h.Log().Lines(), ElementsAre("RLB:Enabling software fence on axis 0"));
    EXPECT_TRUE(AnotherThreadCanTakeBoardLock()) << "the lock taken for the home offset is released";

    // The board holds them now: reading is all a second pass does.
    AxbSim_ClearCallLog();
    EnableSoftwareFences();
    EXPECT_EQ(CountSimCalls("AXB_GetParam("), 6);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam("), IsEmpty());
}

TEST_F(Fences, FenceOfAnAxisWithoutItsZeroStaysOpen)
{
    FenceXAndFindItsZero();
    g_homeRefFound[0] = false;
    AxbSim_PokeParam(68, 5120);

    EnableSoftwareFences();

    EXPECT_THAT(h.Log().Lines(), ElementsAre("RLB:Failed to enable software fence on axis 0 Autohome not complete"));
    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam("), ElementsAre("AXB_SetParam(0,68,1000000000)=1"));
    EXPECT_EQ(g_param[68], kOpenPlus);
    EXPECT_EQ(g_param[69], kOpenMinus);
}

TEST_F(Fences, DisablingOpensAllFourAxesAndWritesOnlyWhatDiffers)
{
    krv_user_box_data.swFenceEnabled[0] = 1;
    krv_user_box_data.swFenceEnabled[2] = 1;
    g_param[188] = 0;

    DisableSoftwareFences();

    EXPECT_EQ(CountSimCalls("AXB_GetParam("), 8);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam("), IsEmpty());
    EXPECT_EQ(g_param[188], kOpenPlus);
    EXPECT_EQ(g_param[189], kOpenMinus);
    EXPECT_THAT(h.Log().Lines(),
                ElementsAre("RLB:Disabling software fence on axis 0", "RLB:Disabling software fence on axis 2"));

    AxbSim_PokeParam(69, static_cast<uint32_t>(-4880));
    AxbSim_PokeParam(188, 9);
    AxbSim_ClearCallLog();
    DisableSoftwareFences();
    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,69,3294967296)=1", "AXB_SetParam(0,188,1000000000)=1"));
    EXPECT_EQ(AxbSim_PeekParam(69), kOpenMinus);
}

TEST_F(Fences, ProgramsZeroOffsetServesWhenTheBoardCannotBeAsked)
{
    FenceXAndFindItsZero();
    {
        OtherLockOwner other;
        ASSERT_TRUE(other.Holds());
        EnableSoftwareFences();
    }
    EXPECT_EQ(g_param[68], 5120u);
    EXPECT_EQ(AxbSim_PeekParam(68), 5120u) << "the fence writes themselves take no lock";
    EXPECT_EQ(CountSimCalls("AXB_GetAxisPosValue("), 0);

    // The board gone: asked under the lock, still the program's offset.
    machine_zero_offset[0] = -30;
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(5000);
    AxbSim_ClearCallLog();
    EnableSoftwareFences();
    EXPECT_EQ(CountSimCalls("AXB_GetAxisPosValue(0,4,"), 1);
    EXPECT_EQ(g_param[68], 5070u);
    EXPECT_EQ(static_cast<int32_t>(g_param[69]), -4930);
}

TEST_F(Fences, SumsWrapAt32Bits)
{
    krv_user_box_data.swFenceEnabled[1] = 1;
    krv_user_box_data.swFencePlus[1] = 2147483000;
    krv_user_box_data.swFenceMinus[1] = -2147483000;
    g_offset[1] = 1000;
    machine_zero_offset[1] = -2000;
    g_homeRefFound[1] = true;

    EnableSoftwareFences();

    EXPECT_EQ(static_cast<int32_t>(g_param[108]), 2147482000);
    EXPECT_EQ(static_cast<int32_t>(g_param[109]), 2147483296);   // -2147484000 wrapped
}

} // namespace
