// Parameters and the flash user area across power cycles, and what the
// board does with a state file it cannot read.
#include "sim_fixture.h"

namespace {

class SimFlashTest : public SimBoardTest {
protected:
    static void Restart()
    {
        AxbSim_PowerCycle();
        ASSERT_EQ(AXB_OpenDrv(), 1);
    }
};

TEST_F(SimFlashTest, OnlySavedParametersAndCommittedWordsSurviveAPowerCycle)
{
    ASSERT_EQ(Describe("[Params]\nP022=5\n"), 1);
    EXPECT_EQ(FlashWord(15), kErased) << "a new board's user area is blank";
    AXB_SetParam(0, 22, 219);
    AXB_WriteFlashWord(0, 18, 0xCAFE);
    ASSERT_EQ(AXB_SaveParamsToFlash(0), 1);
    EXPECT_EQ(FlashWord(18), 0xCAFEu) << "the working copy reads back at once";
    Restart();
    EXPECT_EQ(Param(22), 219u) << "saved flash wins over the description";
    EXPECT_EQ(FlashWord(18), kErased) << "saving parameters commits no words";

    AXB_WriteFlashWord(0, 15, 0x5A);
    AXB_SetParam(0, 8, 1);
    ASSERT_EQ(AXB_CommitFlashWords(0), 1);
    AXB_WriteFlashWord(0, 17, 0x1234);
    Restart();
    EXPECT_EQ(FlashWord(15), 0x5Au);
    EXPECT_EQ(FlashWord(17), kErased);
    EXPECT_EQ(Param(8), 0u) << "committing words saves no parameters";
    EXPECT_EQ(Param(22), 219u);

    NewBoard();
    EXPECT_EQ(Param(22), 5u) << "a new board again: the description and blank flash";
    EXPECT_EQ(FlashWord(15), kErased);
}

TEST_F(SimFlashTest, CorruptStateFileMakesANewBoardWithAMessage)
{
    AXB_SetParam(0, 58, 2500);
    AXB_SaveParamsToFlash(0);
    AXB_WriteFlashWord(0, 15, 0x5A);
    AXB_CommitFlashWords(0);
    const std::wstring state = TestFile(L"board.state");
    const std::string saved = ReadText(state);
    const size_t p058 = saved.find("P058=000009C4\r\n");
    ASSERT_NE(p058, std::string::npos);
    const std::string damaged[] = {
        saved.substr(0, saved.size() / 2),
        saved.substr(0, p058 + 11) + 'G' + saved.substr(p058 + 12),
        std::string(saved).erase(saved.find("W016="), 15),
        saved + "W256=00000000\r\n",
        "", "AXBSIM STATE 1\r\nEND\r\n", "\xFF\xFE garbage",
    };
    const std::wstring trace = TestFile(L"trace.txt");
    ASSERT_EQ(AxbSim_SetTraceFile(trace.c_str()), 1);
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text.substr(0, 40));
        WriteText(state, text);
        const size_t traced = ReadText(trace).size();
        Restart();
        EXPECT_EQ(Param(58), 1000u);
        EXPECT_EQ(FlashWord(15), kErased);
        EXPECT_NE(ReadText(trace).find("is corrupt", traced), std::string::npos);
    }
}

} // namespace
