// The flash record on the board: the check with its "Flash error" question,
// "Save To Flash" and "Del New Flash".
#include "driver/axb400.h"
#include "homing/board_ready.h"
#include "homing/fences.h"
#include "infra/user_prompts.h"
#include "params/flash_store.h"
#include "res/resource.h"
#include "tests/support/sim_flash.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr wchar_t kFlashErrorText[] = L"A corrupt value has been detected in flash.  OK to set to defaults";

class FlashStore : public ::testing::Test {
protected:
    FlashStore()
    {
        ResetFlashStore();
    }

    // The program on a board that carries a valid record: no question at
    // start-up. The connection work (which reads the record) is done, so a
    // record changed by a test stays as it is.
    HWND Start()
    {
        WriteDefaultRecordToSimFlash();
        HWND main = h.StartProgram();
        EXPECT_TRUE(IsAXBBoardLoaded(true));
        return main;
    }

    static int Position(const std::vector<std::string>& calls, const std::string& prefix)
    {
        auto it = std::find_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
        return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
    }

    static void ExpectDefaultsInSimFlash()
    {
        for (const FlashItem& item : kFlashItemTable)
            EXPECT_EQ(SimFlashItemBits(item.number), FlashItemBits(item.type, item.defaultValue)) << item.number;
    }

    static void SetHomedFenceOfX()
    {
        krv_user_box_data.swFenceEnabled[0] = 1;
        krv_user_box_data.swFencePlus[0] = 5000;
        krv_user_box_data.swFenceMinus[0] = -5000;
        g_homeRefFound[0] = true;
    }

    ProgramHarness h;
};

TEST_F(FlashStore, BlankFlashAsksAndOkStoresTheDefaultsForGood)
{
    Start();
    FillSimFlash(0xFFFFFFFFu);   // a new board
    AxbSim_ClearCallLog();
    h.AnswerNextMessageBox(IDOK);
    CheckFlash();

    ASSERT_EQ(h.MessageBoxesSeen().size(), 1u);
    EXPECT_EQ(h.MessageBoxesSeen()[0].text, kFlashErrorText);
    EXPECT_EQ(h.MessageBoxesSeen()[0].caption, L"Flash error");
    EXPECT_EQ(h.MessageBoxesSeen()[0].type, static_cast<UINT>(MB_OKCANCEL));
    ExpectDefaultsInSimFlash();
    EXPECT_THAT(SimCallsStartingWith("AXB_CommitFlashWords("), ElementsAre("AXB_CommitFlashWords(0)=1"));
    EXPECT_EQ(SimCalls().back(), "AXB_CommitFlashWords(0)=1") << "committed after the last word";
    EXPECT_TRUE(h.Log().HasLine("krv_user_box_data.counts_per_360_q0"));

    AxbSim_PowerCycle();
    ExpectDefaultsInSimFlash();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    krv_user_box_data.homeStartPos = -1.0f;
    CheckFlash();   // no second question: the harness fails on one
    EXPECT_FLOAT_EQ(krv_user_box_data.homeStartPos, 5.0f);
}

TEST_F(FlashStore, CancelLeavesTheFlashAsItIsAndTheQuestionComesBack)
{
    Start();
    FillSimFlash(0x12345678u);
    AxbSim_PokeFlashWord(15, 0x59u);   // one below the marker
    AxbSim_ClearCallLog();
    h.AnswerNextMessageBox(IDCANCEL);
    h.AnswerNextMessageBox(IDCANCEL);
    CheckFlash();
    CheckFlash();

    EXPECT_EQ(h.MessageBoxesSeen().size(), 2u);
    EXPECT_THAT(SimCallsStartingWith("AXB_WriteFlashWord("), IsEmpty());
    EXPECT_THAT(SimCallsStartingWith("AXB_CommitFlashWords("), IsEmpty());
    EXPECT_EQ(AxbSim_PeekFlashWord(15), 0x59u);
    EXPECT_EQ(AxbSim_PeekFlashWord(16), 0x12345678u);
    // The program goes on with the defaults it holds.
    EXPECT_EQ(krv_user_box_data.swFencePlus[0], 1000000000);
    EXPECT_FLOAT_EQ(krv_user_box_data.distancePerMotorRevMm[2], 2.54f);
}

TEST_F(FlashStore, MarkerInTheLowByteValidatesAndBlankStepperDataTakesDefaults)
{
    Start();
    FillSimFlash(0);
    AxbSim_PokeFlashWord(15, 0x5Au);
    WriteItemToSimFlash(1010, FlashItemFromBits(FlashItemType::Int32, static_cast<uint32_t>(-25)));
    WriteItemToSimFlash(1159, FlashItemFromBits(FlashItemType::Int32, 12345));
    AxbSim_ClearCallLog();
    CheckFlash();

    EXPECT_THAT(krv_user_box_data.stepsPerRevDiv4, ElementsAre(50, 50, 50, 50));
    EXPECT_THAT(krv_user_box_data.microStepsPerStepDiv2, ElementsAre(32, 32, 32, 32));
    EXPECT_THAT(krv_user_box_data.distancePerMotorRevMm, ElementsAre(6.35f, 6.35f, 2.54f, 6.35f));
    EXPECT_EQ(machine_zero_offset[0], -25);
    EXPECT_EQ(krv_user_box_data.swFencePlus[0], 0) << "a zero elsewhere is a value";
    EXPECT_TRUE(h.Log().HasLine("krv_user_box_data.counts_per_360_q12345"));
    EXPECT_THAT(SimCallsStartingWith("AXB_WriteFlashWord("), IsEmpty()) << "the flash is only read";
}

TEST_F(FlashStore, CheckReachedWhileItsQuestionIsOpenReturnsAtOnce)
{
    HWND main = Start();
    FillSimFlash(0xFFFFFFFFu);
    std::vector<HWND> owners;
    // Timer work running while the box is open reaches the check again.
    InstallMessageBoxAnswer([&](HWND owner, std::wstring_view, std::wstring_view, UINT) {
        owners.push_back(owner);
        if (owners.size() == 1)   // once: a check without its guard would ask again
            CheckFlash();
        return IDCANCEL;
    });
    CheckFlash();
    EXPECT_THAT(owners, ElementsAre(main));
    CheckFlash();   // answered: the next check runs in full
    EXPECT_THAT(owners, ElementsAre(main, main));
}

TEST_F(FlashStore, SaveToFlashStoresChangedParametersAndTheRecordForGood)
{
    HWND main = Start();
    machine_zero_offset[1] = 1234;
    krv_user_box_data.joystickSecondFunction[4] = 9;
    TypeText(main, IDC_PARAM_P, L"321");
    AxbSim_ClearCallLog();
    OnSaveToFlashButton(main);

    const auto calls = SimCalls();
    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam(0,50,"), ElementsAre("AXB_SetParam(0,50,321)=1"));
    EXPECT_LT(Position(calls, "AXB_SetParam(0,50,"), Position(calls, "AXB_WriteFlashWord("));
    EXPECT_LT(Position(calls, "AXB_CommitFlashWords(0)"), Position(calls, "AXB_SaveParamsToFlash(0)"));
    AxbSim_PowerCycle();
    EXPECT_EQ(AxbSim_PeekParam(50), 321u);
    EXPECT_EQ(SimFlashItem(1014).intValue, 1234);
    EXPECT_EQ(SimFlashItem(1163).byteValue, 0x90);
}

TEST_F(FlashStore, FencesAreSavedOpenAndSetAgainAfterwards)
{
    HWND main = Start();
    SetHomedFenceOfX();
    EnableSoftwareFences();
    OnSaveToFlashButton(main);

    EXPECT_EQ(AxbSim_PeekParam(68), 5000u) << "set again for this run";
    AxbSim_PowerCycle();
    EXPECT_EQ(AxbSim_PeekParam(68), 1000000000u);
    EXPECT_EQ(AxbSim_PeekParam(69), static_cast<uint32_t>(-1000000000));
}

TEST_F(FlashStore, SaveToFlashWithTheBoardGoneWritesNothingAndSetsTheFencesAgain)
{
    HWND main = Start();
    SetHomedFenceOfX();
    AxbSim_PowerCycle();        // the driver is closed now
    h.Clock().Advance(5000);    // past the time a present board is trusted
    AxbSim_ClearCallLog();
    OnSaveToFlashButton(main);

    EXPECT_THAT(SimCallsStartingWith("AXB_WriteFlashWord("), IsEmpty());
    EXPECT_THAT(SimCallsStartingWith("AXB_SaveParamsToFlash("), IsEmpty());
    EXPECT_TRUE(h.Log().HasLine("RLB:Enabling software fence on axis 0"));
    EXPECT_EQ(g_param[68], 5000u);
}

TEST_F(FlashStore, DelNewFlashClearsTheUpperBlockAndSavesTheFreshBoardTable)
{
    AxbSim_PokeParam(260, 5);
    AxbSim_PokeParam(262, 7);
    AxbSim_PokeParam(13, 3);
    AxbSim_PokeParam(50, 77);
    HWND main = Start();
    AxbSim_ClearCallLog();
    OnDelNewFlashButton(main);

    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam(0,13,"), ElementsAre("AXB_SetParam(0,13,0)=1"));
    AxbSim_PowerCycle();
    EXPECT_EQ(AxbSim_PeekParam(260), 100u);
    EXPECT_EQ(AxbSim_PeekParam(262), 0u);
    EXPECT_EQ(AxbSim_PeekParam(13), 0u);
    EXPECT_EQ(AxbSim_PeekParam(50), 77u) << "parameters outside the table keep their value";
}

} // namespace
