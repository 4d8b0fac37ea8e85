// The System and Copy Settings dialogs: board-wide timing kept in the table
// until it is applied, and whole parameter blocks copied from one axis to
// others, on the board and in the table, with the targets' scales updated.
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "setup_fixture.h"

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SystemDialog : public SetupDialogTest {};

TEST_F(SystemDialog, ShowsTheTableAndOkStoresWithoutABoardWrite)
{
    Start();
    g_param[34] = 250;
    Open(IDC_SYSTEM, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_SYSTEM_CYCLE_TIME) + " " + Text(dlg, IDC_SYSTEM_HEARTBEAT) + " " +
                      Text(dlg, IDC_SYSTEM_STARTUP_DELAY),
                  "1000 250 0");
        TypeText(dlg, IDC_SYSTEM_CYCLE_TIME, L"2000");
        TypeText(dlg, IDC_SYSTEM_STARTUP_DELAY, L"40");
        PressButton(dlg, IDC_SYSTEM_OK);
    });
    EXPECT_EQ(g_param[49], 2000u);
    EXPECT_EQ(g_param[47], 40u);
    EXPECT_THAT(ParamWrites(), IsEmpty());
    // The calculator uses the new cycle time at once: the zoom's brushed
    // motor at 12 V gives 3840000000 / 2000 / 2000 / 200 × 12 = 57.6.
    g_radio_last = 4;
    Open(IDC_CALC, [&](HWND dlg) {
        TypeText(dlg, IDC_CALC_LEAD, L"12");
        PressButton(dlg, IDC_CALC_CALC);
        EXPECT_EQ(Text(dlg, IDC_CALC_PV), "58");
        PressButton(dlg, IDC_CALC_OK);
    });
}

TEST_F(SystemDialog, ACloseBoxOrAFieldWithoutANumberStoresNothing)
{
    struct Case {
        const wchar_t* cycleTime;
        const wchar_t* heartbeat;
        bool byCloseBox;
        uint32_t p049, p034;
    };
    constexpr Case kCases[] = {
        {L"", L"abc", false, 1000, 0},
        {L"-1", L"77", false, 1000, 77},
        {L"1500", L"77", true, 1000, 0},
        {L"4294967296", L" 12 ", false, 1000, 12},
    };
    Start();
    for (const Case& c : kCases) {
        g_param[49] = 1000;
        g_param[34] = 0;
        Open(IDC_SYSTEM, [&](HWND dlg) {
            TypeText(dlg, IDC_SYSTEM_CYCLE_TIME, c.cycleTime);
            TypeText(dlg, IDC_SYSTEM_HEARTBEAT, c.heartbeat);
            if (c.byCloseBox)
                CloseByCloseBox(dlg);
            else
                PressButton(dlg, IDC_SYSTEM_OK);
        });
        EXPECT_EQ(g_param[49], c.p049) << Narrow(c.cycleTime);
        EXPECT_EQ(g_param[34], c.p034) << Narrow(c.heartbeat);
    }
}

class CopySettings : public SetupDialogTest {
protected:
    void Copy(int source, std::initializer_list<int> targets)
    {
        g_radio_last = source;
        Open(IDC_COPY_SETTINGS, [&](HWND dlg) {
            timerWhileOpen = h.Clock().TimerPeriod(main, IDT_TICK);
            EXPECT_TRUE(IsChecked(dlg, kSetupAxisRadios[source]));
            for (int target : targets)
                SetCheck(dlg, IDC_COPY_TO_X + target, true);
            PressButton(dlg, IDC_COPY_COPY);
            PressButton(dlg, IDC_COPY_EXIT);
        });
    }
    // The parameter numbers the copy read from the board, in order.
    static std::vector<int> ParamsRead()
    {
        std::vector<int> numbers;
        for (const std::string& call : SimCallsStartingWith("AXB_GetParam(0,"))
            numbers.push_back(std::stoi(call.substr(15)));
        return numbers;
    }
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
        for (int i = 0; i < 40; ++i) {
            g_param[50 + i] = 7000 + static_cast<uint32_t>(i);
            g_param[260 + i] = 8000 + static_cast<uint32_t>(i);
        }
        g_param[58] = 1000;
    }
    UINT timerWhileOpen = 1;
};

TEST_F(CopySettings, XToYAndZCopiesBothBlocksInterleavedByIndex)
{
    Start();
    MarkX();
    Copy(0, {0, 1, 2});
    EXPECT_EQ(timerWhileOpen, 0u);
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    const std::vector<int> read = ParamsRead();
    ASSERT_EQ(read.size(), 160u) << "the source's own box copies nothing";
    EXPECT_THAT(std::vector<int>(read.begin(), read.begin() + 8), ElementsAre(90, 300, 130, 340, 91, 301, 131, 341));
    EXPECT_TRUE(BlockEqual(50, 90) && BlockEqual(50, 130) && BlockEqual(260, 300) && BlockEqual(260, 340));
    EXPECT_EQ(ParamWrites().size(), 158u) << "Y and Z hold X's counts per mm already";
    EXPECT_THAT(LogLinesStartingWith("Setting param"), IsEmpty());
}

TEST_F(CopySettings, TheZoomHasNoSecondBlock)
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
    EXPECT_EQ(*std::min_element(read.begin(), read.end()), 210);
    EXPECT_EQ(*std::max_element(read.begin(), read.end()), 249);
    EXPECT_TRUE(BlockEqual(50, 210));
}

TEST_F(CopySettings, CopyingIntoQAlsoCopiesQsJoystickRows)
{
    Start();
    MarkX();
    Copy(0, {3});
    // Q's joystick rate and window (P204, P206..P209) lie in its block.
    EXPECT_EQ(g_param[204], 7034u);
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
    SelectUnit(IDC_UNIT_MM);
    ChooseRadio(main, IDC_AXIS_Y, std::initializer_list<int>{IDC_AXIS_X, IDC_AXIS_Y, IDC_AXIS_Z, IDC_AXIS_Q, IDC_AXIS_ZOOM});
    EXPECT_EQ(Text(main, IDC_PARAM_TARGET_WINDOW), "0.005");
    PressButton(main, IDC_APPLY);
    EXPECT_EQ(AxbSim_PeekParam(100), 5u);
}

} // namespace
