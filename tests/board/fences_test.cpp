// Software fences: the values written when they are opened and when they
// are set from the user's fences relative to the zero, each written only
// where the board holds something else.
#include "tests/board/board_fixture.h"

namespace {

using Fences = BoardTest;

constexpr char kEnablingY[] = "RLB:Enabling software fence on axis 1";
constexpr char kZNotHomed[] = "RLB:Failed to enable software fence on axis 2 Autohome not complete";

TEST_F(Fences, EnablingSetsHomedFencesRelativeToTheZeroAndOpensTheRest)
{
    KrvUserBoxData& user = krv_user_box_data;
    user.swFenceEnabled[0] = user.swFenceEnabled[1] = user.swFenceEnabled[2] = 1;
    user.swFencePlus[0] = 5000;
    user.swFenceMinus[0] = -5000;
    g_offset[0] = 100;
    machine_zero_offset[0] = 20;
    // Y's sums wrap at 32 bits, as the board's own arithmetic does.
    user.swFencePlus[1] = 2147483000;
    user.swFenceMinus[1] = -2147483000;
    g_offset[1] = 1000;
    machine_zero_offset[1] = -2000;
    g_homeRefFound[0] = g_homeRefFound[1] = true;   // Z's zero is not found
    AxbSim_PokeParam(148, 7);
    EnableSoftwareFences();
    EXPECT_EQ(Calls("AXB_GetParam(").size(), 6u + Calls("AXB_SetParam(").size())
        << "Q's 188 and 189 are not even read; each write is read back";
    EXPECT_THAT(Calls("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,68,5120)=1", "AXB_SetParam(0,69,4294962416)=1",
                            "AXB_SetParam(0,108,2147482000)=1", "AXB_SetParam(0,109,2147483296)=1",
                            "AXB_SetParam(0,148,1000000000)=1"));
    EXPECT_THAT(h.Log().Lines(), ElementsAre("RLB:Enabling software fence on axis 0", kEnablingY, kZNotHomed));
    EXPECT_TRUE(LockIsFree()) << "the lock taken for the home offset is released";
    // X's fence switched off: opened without a word; Y and Z are set already.
    user.swFenceEnabled[0] = 0;
    Forget();
    EnableSoftwareFences();
    EXPECT_THAT(Calls("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,68,1000000000)=1", "AXB_SetParam(0,69,3294967296)=1"));
    EXPECT_THAT(h.Log().Lines(), ElementsAre(kEnablingY, kZNotHomed));
}

TEST_F(Fences, DisablingOpensAllFourAxesAndWritesOnlyWhatDiffers)
{
    krv_user_box_data.swFenceEnabled[0] = krv_user_box_data.swFenceEnabled[2] = 1;
    g_param[188] = 0;
    DisableSoftwareFences();
    EXPECT_EQ(Calls("AXB_GetParam(").size(), 8u);
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    EXPECT_EQ(g_param[188], 1000000000u) << "the program's copy takes the value whatever the board holds";
    EXPECT_THAT(h.Log().Lines(),
                ElementsAre("RLB:Disabling software fence on axis 0", "RLB:Disabling software fence on axis 2"));
    AxbSim_PokeParam(69, static_cast<uint32_t>(-4880));
    AxbSim_PokeParam(188, 9);
    AxbSim_ClearCallLog();
    DisableSoftwareFences();
    EXPECT_THAT(Calls("AXB_SetParam("),
                ElementsAre("AXB_SetParam(0,69,3294967296)=1", "AXB_SetParam(0,188,1000000000)=1"));
}

} // namespace
