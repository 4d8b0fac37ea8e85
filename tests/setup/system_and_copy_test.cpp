// The System and Copy Settings dialogs: board-wide timing kept in the table
// until it is applied, and whole parameter blocks copied from one axis to
// others, on the board and in the table, with the targets' scales updated.
#include "core/param_table.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "ui/axis_radios.h"

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SystemDialog : public ProgramTest {};

TEST_F(SystemDialog, ShowsTheTableAndOkStoresWithoutABoardWrite)
{
    Start();
    g_param[34] = 250;
    OpenModal(IDC_SYSTEM, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_SYSTEM_CYCLE_TIME) + " " + Text(dlg, IDC_SYSTEM_HEARTBEAT) + " " +
                      Text(dlg, IDC_SYSTEM_STARTUP_DELAY),
                  "1000 250 0");
        TypeText(dlg, IDC_SYSTEM_CYCLE_TIME, L"2000");
        TypeText(dlg, IDC_SYSTEM_STARTUP_DELAY, L"40");
        PressButton(dlg, IDC_SYSTEM_OK);
    });
    EXPECT_EQ(g_param[49], 2000u);
    EXPECT_EQ(g_param[47], 40u);
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

TEST_F(SystemDialog, ACloseBoxOrAFieldWithoutANumberStoresNothing)
{
    struct Case {
        const wchar_t *cycleTime, *heartbeat;
        bool byCloseBox;
        uint32_t p034;
    };
    constexpr Case kCases[] = {
        {L"", L"abc", false, 0},
        {L"-1", L"77", false, 77},
        {L"1500", L"77", true, 0},
        {L"4294967296", L" 12 ", false, 12},
    };
    Start();
    for (const Case& c : kCases) {
        g_param[49] = 1000;
        g_param[34] = 0;
        OpenModal(IDC_SYSTEM, [&](HWND dlg) {
            TypeText(dlg, IDC_SYSTEM_CYCLE_TIME, c.cycleTime);
            TypeText(dlg, IDC_SYSTEM_HEARTBEAT, c.heartbeat);
            c.byCloseBox ? CloseByCloseBox(dlg) : PressButton(dlg, IDC_SYSTEM_OK);
        });
        EXPECT_EQ(g_param[49], 1000u) << Narrow(c.cycleTime);
        EXPECT_EQ(g_param[34], c.p034) << Narrow(c.heartbeat);
    }
}

// Each axis has a block of 40 parameters from P050 + 40·a and, X..Q only, a
// second one from P260 + 40·a.
class CopySettings : public ProgramTest {
protected:
    // The main timer's period while the dialog was open.
    UINT Copy(int source, std::initializer_list<int> targets)
    {
        UINT timer = 1;
        g_radio_last = source;
        OpenModal(IDC_COPY_SETTINGS, [&](HWND dlg) {
            timer = h.Clock().TimerPeriod(main, IDT_TICK);
            EXPECT_TRUE(IsChecked(dlg, kAxisRadioIds[source]));
            for (int target : targets)
                CheckDlgButton(dlg, IDC_COPY_TO_X + target, BST_CHECKED);
            PressButton(dlg, IDC_COPY_COPY);
            PressButton(dlg, IDC_COPY_EXIT);
        });
        return timer;
    }
    // The parameter numbers the copy read from the board, in order.
    std::vector<int> ParamsRead()
    {
        std::vector<int> numbers;
        for (const std::string& call : Calls("AXB_GetParam(0,"))
            numbers.push_back(std::stoi(call.substr(15)));
        return numbers;
    }
    // The block at `to` holds the one at `from`, in the program and on the board.
    static bool BlockEqual(int from, int to)
    {
        for (int i = 0; i < 40; ++i)
            if (g_param[from + i] != g_param[to + i] || AxbSim_PeekParam(to + i) != g_param[from + i])
                return false;
        return true;
    }
    // Distinct X values, so that a copy shows.
    static void MarkX()
    {
        for (uint32_t i = 0; i < 40; ++i) {
            g_param[50 + i] = 7000 + i;
            g_param[260 + i] = 8000 + i;
        }
        g_param[58] = 1000;
    }
};

TEST_F(CopySettings, XToYAndZCopiesBothBlocksInterleavedByIndex)
{
    Start();
    MarkX();
    EXPECT_EQ(Copy(0, {0, 1, 2}), 0u) << "the main timer runs beneath the dialog";
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    const std::vector<int> read = ParamsRead();
    ASSERT_EQ(read.size(), 160u) << "the source's own box copies nothing";
    EXPECT_THAT(std::vector<int>(read.begin(), read.begin() + 8), ElementsAre(90, 300, 130, 340, 91, 301, 131, 341));
    EXPECT_TRUE(BlockEqual(50, 90) && BlockEqual(50, 130) && BlockEqual(260, 300) && BlockEqual(260, 340));
    EXPECT_EQ(Calls("AXB_SetParam(").size(), 158u) << "Y and Z hold X's counts per mm already";
    EXPECT_THAT(LinesStartingWith({"Setting param"}), IsEmpty());
}

// Q's block holds its joystick rows (P204..P209), so they go with it.
TEST_F(CopySettings, TheZoomHasNoSecondBlockAndQsBlockCarriesItsJoystickRows)
{
    Start();
    Copy(4, {0});
    EXPECT_EQ(ParamsRead().size(), 40u);
    EXPECT_TRUE(BlockEqual(210, 50));
    EXPECT_EQ(AxbSim_PeekParam(260), 100u);

    MarkX();
    Forget();
    Copy(0, {4});
    const std::vector<int> read = ParamsRead();
    EXPECT_EQ(read.size(), 40u);
    EXPECT_EQ(*std::ranges::min_element(read), 210);
    EXPECT_EQ(*std::ranges::max_element(read), 249);
    EXPECT_TRUE(BlockEqual(50, 210));

    Copy(0, {3});
    EXPECT_EQ(g_param[209], 7039u);
    EXPECT_EQ(AxbSim_PeekParam(207), 7037u);
}

// Y at 2000 counts/mm takes X's 1000: its converted fields must use the new
// scale, or every millimetre field of Y would be halved at the next apply.
TEST_F(CopySettings, TargetScalesFollowTheCopiedCountsPerMm)
{
    Start([] { AxbSim_PokeParam(98, 2000); });
    EXPECT_EQ(g_resolution[1], 0.0005f);
    Copy(0, {1});
    EXPECT_EQ(g_resolution[1], 0.001f);
    ChooseUnit(IDC_UNIT_MM);
    ChooseAxis(IDC_AXIS_Y);
    EXPECT_EQ(Text(main, IDC_PARAM_TARGET_WINDOW), "0.005");
    Press(IDC_APPLY);
    EXPECT_EQ(AxbSim_PeekParam(100), 5u);
}

} // namespace
