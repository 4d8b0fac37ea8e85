// The Scope as a technician uses it on the simulated board: a triggered
// capture of a Goto that equals the board's trace, saved, captured again
// after a change and overlaid; files that are no capture; what it reads and
// repaints. What it works out without a window is the core tests'.
#include "core/capture_csv.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "infra/user_prompts.h"
#include "motion/multi_axis_goto.h"
#include "scope/scope_acquisition.h"
#include "scope/scope_view.h"
#include "scope/scope_window.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>

using ::testing::HasSubstr;

namespace {

// Samples whose position is still a count or more from the target.
int SamplesOnTheWay(const ScopeCapture& capture, double targetMm)
{
    return static_cast<int>(std::count_if(capture.samples.begin(), capture.samples.end(),
                                          [&](const ScopeSample& s) { return std::fabs(s.values[0] - targetMm) > 0.001; }));
}

class Scope : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        Press(IDC_SCOPE);
        wnd = g_scopeWnd;
        ASSERT_NE(wnd, nullptr);
        TypeText(wnd, IDC_SCOPE_LENGTH, L"2");
        TypeText(wnd, IDC_SCOPE_PRE_TRIGGER, L"10");
    }
    // The file dialogs answer with this file.
    void Answer(const std::filesystem::path& path)
    {
        InstallFileDialogAnswer([path](OPENFILENAMEW& ofn, bool) {
            wcscpy(ofn.lpstrFile, path.c_str());
            return true;
        });
    }
    // Run, then Goto to the target: the capture the move triggered.
    const ScopeCapture& CaptureGoto(const wchar_t* target)
    {
        const uint64_t before = ScopeCapturesCompleted();
        PressButton(wnd, IDC_SCOPE_RUN);
        RunUntil([] { return false; }, 200);   // armed a while before the move
        TypeText(main, IDC_TARGET, target);
        Press(IDC_GOTO);
        EXPECT_TRUE(RunUntil([&] { return ScopeCapturesCompleted() == before + 1; }, 5000));
        RunUntil([] { return false; }, 100);   // the window takes it
        return ScopeCapturesSinceStart().back();
    }
    HWND wnd = nullptr;
};

TEST_F(Scope, AGotoCaptureEqualsTheBoardsTraceAndAnOverlayKeepsBothReadable)
{
    g_traceOn = true;
    g_traceStartTick = 0;
    const ScopeCapture first = CaptureGoto(L"20");
    ASSERT_EQ(first.samples.size(), 200u);
    EXPECT_EQ(first.samples.front().timeMs, -200);
    // XGACV lines: time, Target, Actual, Nominal, Lag, ... by their time.
    std::map<int64_t, std::pair<int, int>> trace;
    for (const std::string& line : LinesStartingWith({"XGACV,"})) {
        long long time = 0;
        int target = 0, actual = 0, nominal = 0, lag = 0;
        std::sscanf(line.c_str(), "XGACV,%lld,%d,%d,%d,%d", &time, &target, &actual, &nominal, &lag);
        trace[time] = {actual, lag};
    }
    const double mm = g_resolution[0];
    int moving = 0;
    for (const ScopeSample& s : first.samples) {
        const auto at = trace.find(static_cast<uint32_t>(first.zeroTick + s.timeMs));
        ASSERT_NE(at, trace.end()) << s.timeMs;
        EXPECT_EQ(s.values[0], at->second.first * mm) << s.timeMs;
        EXPECT_EQ(s.values[1], at->second.second * mm) << s.timeMs;
        moving += at->second.second != 0;
    }
    EXPECT_GT(moving, 20) << "the capture shows the lag of the move";
    EXPECT_EQ(first.channels[0], (ScopeChannel{0, ScopeQuantity::kPosition, "mm"}));
    EXPECT_EQ(TheScopeView().capture, first);

    const std::filesystem::path saved = h.File(L"before.csv");
    Answer(saved);
    PressButton(wnd, IDC_SCOPE_SAVE);
    std::ifstream in(saved, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), WriteCaptureCsv(first));

    const float acceleration = std::stof(Text(main, IDC_PARAM_ACC));
    TypeText(main, IDC_PARAM_ACC, std::to_wstring(acceleration / 4));
    const ScopeCapture second = CaptureGoto(L"0");
    PressButton(wnd, IDC_SCOPE_OVERLAY);
    const ScopeView& view = TheScopeView();
    ASSERT_TRUE(view.reference.has_value());
    EXPECT_EQ(*view.reference, std::get<ScopeCapture>(ReadCaptureCsv(WriteCaptureCsv(first))));
    EXPECT_EQ(view.capture.samples, second.samples);
    EXPECT_GT(SamplesOnTheWay(second, 0.0), SamplesOnTheWay(first, 20.0) + 10) << "the gentler move takes longer";

    HWND plot = GetDlgItem(wnd, IDC_SCOPE_PLOT);
    RECT r{};
    GetClientRect(plot, &r);
    for (int x : {r.right / 5, r.right / 3}) {
        SendMessageW(plot, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, r.bottom / 2));
        SendMessageW(plot, WM_LBUTTONUP, 0, MAKELPARAM(x, r.bottom / 2));
    }
    ASSERT_TRUE(view.cursorsPlaced);
    EXPECT_NE(view.cursors[0], view.cursors[1]);
    for (double t : view.cursors) {
        EXPECT_TRUE(ValueAt(view.capture.samples, 0, t).has_value()) << t;
        EXPECT_TRUE(ValueAt(view.reference->samples, 0, t).has_value()) << t;
    }
}

TEST_F(Scope, AFileThatIsNoCaptureIsRefusedWithItsLineAndTheCaptureStays)
{
    const ScopeCapture shown = CaptureGoto(L"5");
    const std::filesystem::path bad = h.File(L"bad.csv");
    std::string text = WriteCaptureCsv(shown);
    text.insert(text.find("\n-190,") + 1, "-195,1.0\n");   // a missing column on line 11
    std::ofstream(bad, std::ios::binary) << text;
    Answer(bad);
    for (int button : {IDC_SCOPE_LOAD, IDC_SCOPE_OVERLAY}) {
        h.AnswerNextMessageBox(IDOK);
        PressButton(wnd, button);
    }
    ASSERT_EQ(h.MessageBoxesSeen().size(), 2u);
    EXPECT_THAT(Narrow(h.MessageBoxesSeen()[0].text), HasSubstr("not a scope capture: line 11:"));
    EXPECT_EQ(TheScopeView().capture, shown);
    EXPECT_FALSE(TheScopeView().reference.has_value());
}

TEST_F(Scope, RollingRepaintsAtMostTwentyTimesASecondAndAClosedScopeReadsNothing)
{
    ChooseListItem(wnd, IDC_SCOPE_MODE, 0);
    PressButton(wnd, IDC_SCOPE_RUN);
    const uint64_t before = ScopeRepaints();
    RunUntil([] { return false; }, 2000);
    EXPECT_GE(ScopeRepaints() - before, 30u);
    EXPECT_LE(ScopeRepaints() - before, 2 * kScopeRepaintsPerSecond);
    EXPECT_EQ(ScopeAcquisition().Samples().size(), 200u);

    PressButton(wnd, IDC_SCOPE_EXIT);
    EXPECT_EQ(g_scopeWnd, nullptr);
    Forget();
    RunUntil([] { return false; }, 500);
    EXPECT_TRUE(Calls("AXB_GetAxisRecord(").empty());
}

TEST_F(Scope, MultiAxisGotoSendsItsRunToTheScope)
{
    PressButton(wnd, IDC_SCOPE_EXIT);
    Press(IDC_MULTI_AXIS_GOTO);
    PressButton(g_multiGotoWnd, IDC_MAG_SCOPE);
    ASSERT_NE(g_scopeWnd, nullptr);
    EXPECT_TRUE(ScopeAcquisitionRunning());
    EXPECT_EQ(ScopeAcquisition().Settings().mode, ScopeMode::kNormal);
    EXPECT_EQ(ScopeAcquisition().Channels().size(), 4u);
    EXPECT_EQ(Text(g_scopeWnd, IDC_SCOPE_AXIS_2), "Y");
}

} // namespace
