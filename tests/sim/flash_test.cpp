// Parameters and the flash user area across power cycles, and what the
// board does with a state file it cannot read.
#include "sim_fixture.h"

namespace {

constexpr int kMarkerWord = 15;

class SimFlashTest : public SimBoardTest {
protected:
    static void Restart()
    {
        AxbSim_PowerCycle();
        ASSERT_EQ(AXB_OpenDrv(), 1);
    }
    static uint32_t FlashWord(int index)
    {
        uint32_t word = 0;
        EXPECT_EQ(AXB_ReadFlashWord(0, index, &word), 1);
        return word;
    }
};

TEST_F(SimFlashTest, NewBoardHasErasedUserArea)
{
    EXPECT_EQ(FlashWord(kMarkerWord), 0xFFFFFFFFu);
    EXPECT_EQ(FlashWord(55), 0xFFFFFFFFu);
}

TEST_F(SimFlashTest, SavedParametersSurviveAndUnsavedOnesDoNot)
{
    AXB_SetParam(0, 22, 219);
    ASSERT_EQ(AXB_SaveParamsToFlash(0), 1);
    AXB_SetParam(0, 8, 1); // after the save
    Restart();
    EXPECT_EQ(Param(22), 219u);
    EXPECT_EQ(Param(8), 0u);
}

TEST_F(SimFlashTest, CommittedWordsSurviveAndUncommittedOnesDoNot)
{
    AXB_WriteFlashWord(0, kMarkerWord, 0x5A);
    AXB_WriteFlashWord(0, 17, 0x12345678);
    ASSERT_EQ(AXB_CommitFlashWords(0), 1);
    AXB_WriteFlashWord(0, 18, 0xCAFE);
    EXPECT_EQ(FlashWord(18), 0xCAFEu) << "the board reads back what was written";
    Restart();
    EXPECT_EQ(FlashWord(kMarkerWord), 0x5Au);
    EXPECT_EQ(FlashWord(17), 0x12345678u);
    EXPECT_EQ(FlashWord(18), 0xFFFFFFFFu);
}

TEST_F(SimFlashTest, ParameterSaveDoesNotCommitWordsNorTheOtherWayRound)
{
    AXB_SetParam(0, 58, 2500);
    AXB_WriteFlashWord(0, kMarkerWord, 0x5A);
    AXB_SaveParamsToFlash(0);
    Restart();
    EXPECT_EQ(Param(58), 2500u);
    EXPECT_EQ(FlashWord(kMarkerWord), 0xFFFFFFFFu);

    AXB_SetParam(0, 58, 4000);
    AXB_WriteFlashWord(0, kMarkerWord, 0x5A);
    AXB_CommitFlashWords(0);
    Restart();
    EXPECT_EQ(Param(58), 2500u);
    EXPECT_EQ(FlashWord(kMarkerWord), 0x5Au);
}

TEST_F(SimFlashTest, ResetBoardReloadsParametersFromFlash)
{
    AXB_SetParam(0, 22, 219);
    AXB_WriteFlashWord(0, kMarkerWord, 0x5A);
    ASSERT_EQ(AXB_ResetBoard(0), 1);
    EXPECT_EQ(Param(22), 0u);
    EXPECT_EQ(FlashWord(kMarkerWord), 0xFFFFFFFFu);
}

TEST_F(SimFlashTest, ResetMakesANewBoardAgain)
{
    AXB_SetParam(0, 22, 219);
    AXB_SaveParamsToFlash(0);
    AxbSim_Reset();
    AxbSim_PowerCycle();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    EXPECT_EQ(Param(22), 0u);
}

TEST_F(SimFlashTest, PokedWordIsCommitted)
{
    AxbSim_PokeFlashWord(kMarkerWord, 0x5A);
    Restart();
    EXPECT_EQ(FlashWord(kMarkerWord), 0x5Au);
    EXPECT_EQ(AxbSim_GetCallCount(), 2) << "only the open and the read are logged";
}

class SimCorruptStateTest : public SimFlashTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SimCorruptStateTest, BoardStartsAsNewWithAMessage)
{
    AXB_SetParam(0, 58, 2500);
    AXB_SaveParamsToFlash(0);
    AXB_WriteFlashWord(0, kMarkerWord, 0x5A);
    AXB_CommitFlashWords(0);
    const std::string saved = ReadText(statePath_);
    ASSERT_NE(saved.find("P058=000009C4"), std::string::npos);

    std::string damaged = saved;
    const std::string how = GetParam();
    if (how == "truncated")
        damaged.resize(saved.size() / 2);
    else if (how == "bad digit")
        damaged.replace(saved.find("P058=000009C4"), 13, "P058=000009G4");
    else if (how == "line missing")
        damaged.erase(saved.find("W016="), 15);
    else if (how == "trailing text")
        damaged += "W256=00000000\r\n";
    else
        damaged = how;
    WriteText(statePath_, damaged);

    const std::wstring trace = TestFile(L"trace.txt");
    ASSERT_EQ(AxbSim_SetTraceFile(trace.c_str()), 1);
    Restart();
    EXPECT_EQ(Param(58), 1000u);
    EXPECT_EQ(FlashWord(kMarkerWord), 0xFFFFFFFFu);
    EXPECT_NE(ReadText(trace).find("is corrupt"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Damage, SimCorruptStateTest,
                         ::testing::Values("truncated", "bad digit", "line missing", "trailing text", "",
                                           "AXBSIM STATE 1\r\nEND\r\n", "\xFF\xFE garbage"));

} // namespace
