// The Move Response window as a technician uses it on the simulated board:
// a run at the defaults, D lowered to a fifth through the main window, a
// second run; the refusals; the table exported.
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <sstream>

#include "core/auto_home_state.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/response_capture.h"
#include "infra/user_prompts.h"
#include "scope/response_run.h"
#include "scope/response_window.h"
#include "scope/scope_view.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

namespace {

std::string Cell(HWND wnd, int row, int column)
{
    wchar_t text[128] = {};
    ListView_GetItemText(GetDlgItem(wnd, IDC_RESPONSE_RUNS), row, column, text, 128);
    return Narrow(text);
}

class MoveResponse : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        ChooseUnit(IDC_UNIT_MM);
        Press(IDC_RESPONSE);
        wnd = g_responseWnd;
        ASSERT_NE(wnd, nullptr);
    }
    void Run(size_t rows)
    {
        PressButton(wnd, IDC_RESPONSE_RUN);
        ASSERT_TRUE(RunUntil([&] { return ResponseRows() == rows; }, 60000)) << Text(wnd, IDC_RESPONSE_STATE);
    }
    HWND wnd = nullptr;
};

// The worst figures by hand from the capture: each move measured alone.
MoveFigures WorstByHand(const ScopeCapture& capture)
{
    const auto clean = CleanSamples(ResponseSamplesOf(capture, kAxisX, g_resolution[kAxisX]));
    MoveFigures worst;
    for (const MoveSpan& span : SplitMoves(clean, g_param[60])) {
        const MoveFigures f = *MeasureMove(std::span(clean).subspan(span.first, span.count), span.command);
        worst.overshoot = std::max(worst.overshoot, f.overshoot);
        worst.settlingMs = std::max(worst.settlingMs.value_or(0), f.settlingMs.value_or(1e9));
    }
    return worst;
}

TEST_F(MoveResponse, ALowerDOvershootsAndSettlesLongerAndTheTableExports)
{
    Run(1);
    const uint32_t d = g_param[51];
    TypeText(main, IDC_PARAM_D, std::to_wstring(d / 5));
    Press(IDC_APPLY);
    Run(2);
    ASSERT_EQ(MoveResponseCapturesSinceStart().size(), 2u);
    MoveFigures byHand[2];
    for (int r = 0; r < 2; ++r) {
        byHand[r] = WorstByHand(MoveResponseCapturesSinceStart()[r]);
        EXPECT_THAT(Cell(wnd, r, 8), ::testing::EndsWith(" / " + std::to_string(int(*byHand[r].settlingMs))));
        EXPECT_EQ(Cell(wnd, r, 3), std::to_string(r ? d / 5 : d));
        EXPECT_EQ(Cell(wnd, r, 5), r ? "no" : "yes") << "only the applied D is not in the flash";
    }
    EXPECT_GT(byHand[1].overshoot, byHand[0].overshoot);
    EXPECT_GT(*byHand[1].settlingMs, *byHand[0].settlingMs);
    std::printf("first: %s | %s\nsecond: %s | %s\n", Cell(wnd, 0, 8).c_str(), Cell(wnd, 0, 9).c_str(),
                Cell(wnd, 1, 8).c_str(), Cell(wnd, 1, 9).c_str());

    // Both runs selected: the later one in the scope, the earlier behind it.
    for (int r = 0; r < 2; ++r)
        ListView_SetItemState(GetDlgItem(wnd, IDC_RESPONSE_RUNS), r, LVIS_SELECTED, LVIS_SELECTED);
    PressButton(wnd, IDC_RESPONSE_SCOPE);
    ASSERT_TRUE(TheScopeView().reference.has_value());
    EXPECT_EQ(TheScopeView().capture, MoveResponseCapturesSinceStart()[1]);
    EXPECT_EQ(*TheScopeView().reference, MoveResponseCapturesSinceStart()[0]);

    const auto path = h.File(L"runs.csv");
    InstallFileDialogAnswer([&](OPENFILENAMEW& ofn, bool) { return wcscpy(ofn.lpstrFile, path.c_str()), true; });
    PressButton(wnd, IDC_RESPONSE_EXPORT);
    std::ifstream file(path);
    std::string header, first, second;
    std::getline(file, header), std::getline(file, first), std::getline(file, second);
    EXPECT_THAT(header, ::testing::StartsWith("\"time\",\"axis\",\"P\",\"D\",\"I\",\"saved to flash\""));
    EXPECT_THAT(second, ::testing::HasSubstr(",\"X\",\"" + std::to_string(g_param[50]) + "\",\"" +
                                                 std::to_string(d / 5) + "\","));
    EXPECT_THAT(second, ::testing::HasSubstr("\"" + Cell(wnd, 1, 9) + "\""));

    // D raised back: the same move as the first, in the flash again.
    TypeText(main, IDC_PARAM_D, std::to_wstring(d));
    Press(IDC_APPLY);
    Run(3);
    for (int column : {5, 8, 9})
        EXPECT_EQ(Cell(wnd, 2, column), Cell(wnd, 0, column)) << column;
}

TEST_F(MoveResponse, RefusesWithTheReasonWhileAnotherMotionRunsOrTheMoveCannotBeMeasured)
{
    const struct {
        std::function<void()> state;
        const char* reason;
    } kCases[] = {
        {[] { g_homingActive[0] = true, g_homingStage[0] = kStageSeekingFoundNone; },
         "No run while auto-home is active."},
        {[] { g_multiGotoRunning = 1; }, "No run while a goto window's run is active."},
        {[] { g_contGotoState = kContGotoMoving; }, "No run while continuous goto is active."},
        {[] { g_param[58] = 0; }, "The axis has no counts per millimetre."},
        {[] { g_param[68] = 5 * g_param[58]; }, "The distance would leave the software fences."},
    };
    for (const auto& c : kCases) {
        const uint32_t countsPerMm = g_param[58], fence = g_param[68];
        c.state();
        PressButton(wnd, IDC_RESPONSE_RUN);
        EXPECT_EQ(Text(wnd, IDC_RESPONSE_STATE), c.reason);
        EXPECT_FALSE(ResponseRunActive()) << c.reason;
        g_homingActive[0] = false, g_multiGotoRunning = 0, g_contGotoState = kContGotoOff, g_param[58] = countsPerMm, g_param[68] = fence;
    }
}

} // namespace

namespace {

// A move shorter than a tick: each of the four legs is measured from its
// command, the first too, which starts from a capture of the axis standing.
TEST_F(MoveResponse, AMoveShorterThanATickIsMeasuredFromItsCommand)
{
    TypeText(wnd, IDC_RESPONSE_DISTANCE, L"0.01");
    Run(1);
    EXPECT_EQ(Cell(wnd, 0, 6), "4 (0)");
}

TEST_F(MoveResponse, TheDistanceCaptionFollowsTheMainWindowsUnit)
{
    ChooseUnit(IDC_UNIT_IN);
    RunUntil([] { return false; }, 20);
    EXPECT_EQ(Text(wnd, IDC_RESPONSE_DISTANCE_CAPTION), "Distance (in)");
}

// A leg the board ends in error ends the run: the next legs would start from
// wherever the axis braked to.
TEST_F(MoveResponse, ALegEndedInErrorEndsTheRun)
{
    PressButton(wnd, IDC_RESPONSE_RUN);
    RunUntil([] { return false; }, 100);
    AxbSim_InjectErrorByte(kAxisX, 0x02, 0);
    EXPECT_TRUE(RunUntil([] { return ResponseRows() == 1; }, 1500));
    EXPECT_EQ(LinesStartingWith({"    goto target"}).size(), 1u);
}

} // namespace
