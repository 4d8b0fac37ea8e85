// The program through a bad day at the machine: another program holding the
// board lock, the board vanishing under a homing run and a goto run, and a
// continuous goto left running for a day.
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/goto_sequence.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "infra/user_prompts.h"
#include "motion/multi_axis_goto.h"
#include "tests/app/app_test.h"
#include "tests/support/other_lock.h"

#include <psapi.h>

#include <filesystem>
#include <set>

namespace {

class FaultScenarios : public ProgramTest {};

TEST_F(FaultScenarios, AnotherProgramAtTheBoardCostsOneWaitAtATimeAndNothingIsWrittenHalfWay)
{
    Start();
    const std::filesystem::path file = h.File(L"saved.par");
    InstallFileDialogAnswer([&](OPENFILENAMEW& ofn, bool) { wcscpy(ofn.lpstrFile, file.c_str()); return true; });
    Press(IDC_SAVE_FILE);
    ASSERT_TRUE(std::filesystem::exists(file));
    // What loading the file would put right, on the board and in the table.
    AxbSim_PokeParam(61, 777);
    g_param[61] = 777;
    {
        OtherProgramLock other(L"ZEZ_LOCK");
        ASSERT_TRUE(other.Holds());
        // Ten seconds of the technician's work: the ticks that find the
        // lock taken wait for it once, then trust the board a while.
        DWORD longest = 0;
        int waits = 0;
        const DWORD start = GetTickCount();
        for (int tick = 0; tick < 1000 && GetTickCount() - start < 8000; ++tick) {
            const DWORD before = GetTickCount();
            h.Clock().Advance(10);
            const DWORD took = GetTickCount() - before;
            longest = std::max(longest, took);
            waits += took > 500 ? 1 : 0;
        }
        EXPECT_LE(longest, 1500u);
        EXPECT_LE(waits, 2);
        Forget();
        Press(IDC_SAVE_FLASH);
        Press(IDC_LOAD_FILE);
        EXPECT_THAT(LinesStartingWith({"Failed to get ZEZ_LOCK"}),
                    ElementsAre("Failed to get ZEZ_LOCK SaveToFlash: nothing written",
                                "Failed to get ZEZ_LOCK KRV_AXBLoadParamFromFilebd"));
        EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty()) << "not even the opened fences";
        EXPECT_THAT(Calls("AXB_WriteFlashWord("), IsEmpty());
        EXPECT_THAT(Calls("AXB_SaveParamsToFlash("), IsEmpty());
    }
    Forget();
    Press(IDC_LOAD_FILE);
    Press(IDC_SAVE_FLASH);
    EXPECT_EQ(AxbSim_PeekParam(61), 1000u) << "the file loads once the lock is free";
    EXPECT_THAT(Calls("AXB_SaveParamsToFlash("), ElementsAre("AXB_SaveParamsToFlash(0)=1"));
}

TEST_F(FaultScenarios, TheBoardVanishingStopsTheSequencesAndTheTitleSaysSo)
{
    Start();
    krv_user_box_data.autoHomeEnabled[kAxisX] = 1;
    krv_user_box_data.zeroingMethod[kAxisX] = kZeroLimit;
    h.AnswerNextMessageBox(IDOK);   // "About to Auto Home"
    h.AnswerNextMessageBox(IDOK);   // the failure
    OnNextModalDialog([&](HWND progress) {
        h.Clock().Advance(200);
        ASSERT_TRUE(IsAutoHomeRunning());
        ASSERT_EQ(AXB_CloseDrv(), 1);   // every driver call fails from now on
        for (int ms = 0; ms < 8000 && !ModalDialogEnded(progress); ms += 10)
            h.Clock().Advance(10);
    });
    Press(IDC_AUTO_HOME);
    EXPECT_FALSE(IsAutoHomeRunning());
    EXPECT_FALSE(g_homeRefFound[kAxisX]);
    EXPECT_EQ(h.MessageBoxesSeen().back().text, L"Autohome failed see log for error");
    EXPECT_TRUE(Logged("The board does not answer: the running sequences are stopped"));
    EXPECT_THAT(WindowTitle(main), EndsWith(" - the board does not answer"));

    ASSERT_EQ(AXB_OpenDrv(), 1);
    h.Clock().Advance(6000);
    EXPECT_TRUE(Logged("The board answers again"));
    EXPECT_EQ(WindowTitle(main), "stagetune:4.0.0 2021 August 12");

    Press(IDC_MULTI_AXIS_GOTO);
    TypeText(g_multiGotoWnd, IDC_MAG_TARGET_X, L"100");
    PressButton(g_multiGotoWnd, IDC_MAG_CONT_GOTO);
    ASSERT_EQ(g_multiGotoRunning, 1);
    h.Log().Clear();
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(6000);
    EXPECT_EQ(g_multiGotoRunning, 0);
    EXPECT_TRUE(Logged("The board does not answer: the running sequences are stopped"));
    // Nothing went to files or to the flash on the way.
    EXPECT_FALSE(std::filesystem::exists(h.File(L"zoom.ini")));
    EXPECT_THAT(Calls("AXB_WriteFlashWord("), IsEmpty());
}

// Twelve hours before the 32-bit tick count wraps: the day crosses it.
constexpr uint64_t kBeforeTheWrap = (uint64_t{1} << 32) - 12 * 3600 * 1000;

class LongRun : public ProgramTest {
protected:
    LongRun() : ProgramTest(kBeforeTheWrap) {}
    static size_t PrivateBytes()
    {
        PROCESS_MEMORY_COUNTERS_EX c{};
        GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c);
        return c.PrivateUsage;
    }
    static DWORD Handles() { DWORD count = 0; GetProcessHandleCount(GetCurrentProcess(), &count); return count; }
};

TEST_F(LongRun, ADayOfContinuousGotoKeepsItsZeroAndItsMemory)
{
    Start();
    TypeText(main, IDC_TARGET, L"10");
    Press(IDC_CONT_GOTO);
    ASSERT_EQ(g_contGotoState, kContGotoMoving);
    // The timer answered every 10 s, as on a machine far busier than any:
    // each leg and each dwell still ends, and a day stays a day of legs.
    std::set<std::string> targets;
    size_t memory = 0;
    DWORD handles = 0;
    constexpr int kSteps = 24 * 3600 / 10;
    for (int step = 0; step < kSteps; ++step) {
        h.Clock().Skip(9990);
        h.Clock().Advance(10);
        if (step % 250 != 0)
            continue;
        for (const std::string& call : Calls("AXB_SetAxisPosAbs(0,0,"))
            targets.insert(call);
        Forget();
        if (step == 500) {   // once everything has been allocated once
            memory = PrivateBytes();
            handles = Handles();
        }
    }
    EXPECT_TRUE(g_contGotoState == kContGotoMoving || g_contGotoState == kContGotoDwelling);
    EXPECT_EQ(targets, (std::set<std::string>{"AXB_SetAxisPosAbs(0,0,0)=1", "AXB_SetAxisPosAbs(0,0,10000)=1"}));
    EXPECT_EQ(g_offset[kAxisX], 0);
    EXPECT_LE(PrivateBytes(), memory + 256 * 1024);
    EXPECT_LE(Handles(), handles + 2);
}

} // namespace
