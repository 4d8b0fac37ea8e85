// The Watch window: opened from the Multi Axis Goto window, the chosen
// quantity of X, Y and Z every 100 ms, digits fitted to the window at every
// resize without leaving fonts behind.
#include "core/motion_state.h"
#include "core/session_state.h"
#include "motion/multi_axis_goto.h"
#include "motion/watch_window.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <winternl.h>

#include <cstdint>

using ::testing::ElementsAre;

namespace {

// The process's live GDI objects, from the handle table the system shares
// with the process (its layout is the same on Windows and Wine):
// GetGuiResources is not implemented by Wine.
int GdiObjectCount()
{
    struct Entry {
        uint64_t object;
        uint16_t processId, count, upper, type;
        uint64_t user;
    };
    constexpr size_t kGdiSharedHandleTable = 0xF8;   // in the 64-bit PEB
    constexpr int kEntries = 0x10000;
    PROCESS_BASIC_INFORMATION process{};
    ULONG length = 0;
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, &length) !=
        0)
        return -1;
    const auto* peb = reinterpret_cast<const uint8_t*>(process.PebBaseAddress);
    const auto* table = *reinterpret_cast<const Entry* const*>(peb + kGdiSharedHandleTable);
    if (!table)
        return -1;
    int live = 0;
    for (int i = 0; i < kEntries; ++i)
        live += table[i].object != 0 && (table[i].type & 0x7F) != 0;
    return live;
}

class WatchWindow : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        Press(IDC_MULTI_AXIS_GOTO);
        wnd = g_multiGotoWnd;
        PressButton(wnd, IDC_MAG_WATCH);
        watch = g_watchWnd;
        ASSERT_NE(watch, nullptr);
        Forget();
    }
    // The client area of this size.
    void Resize(int width, int height)
    {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(watch, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(watch, GWL_EXSTYLE)));
        SetWindowPos(watch, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    int FontHeight()
    {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(watch, IDC_WATCH_X, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        return font.lfHeight;
    }

    HWND wnd = nullptr;
    HWND watch = nullptr;
};

TEST_F(WatchWindow, ShowsTheChosenQuantityOfXYAndZFromTheNextTick)
{
    PressButton(wnd, IDC_MAG_WATCH);
    EXPECT_EQ(g_watchWnd, watch) << "one Watch window at a time";
    EXPECT_EQ(h.Clock().TimerPeriod(watch, 1), 100u);
    EXPECT_THAT(ListItems(watch, IDC_WATCH_SELECT), ElementsAre("lag", "lag max", "pos", "status", "error", "joystick"));
    EXPECT_EQ(Selected(watch, IDC_WATCH_SELECT), 0);

    g_unitMode = kUnitInch;
    AxbSim_SetExtraLag(0, 254);
    AxbSim_InjectErrorByte(1, 0x04, 1);
    AxbSim_PlaceAxis(2, -2540);
    g_maxFollowing[1] = -508;
    const std::pair<int, std::vector<std::string>> kCases[] = {
        {0, {"0.01000", "0.00000", "0.00000"}},    // 254 counts at 0.001 mm
        {1, {"0.01000", "-0.02000", "0.00000"}},   // the main window keeps X's maximum
        {2, {"-0.01000", "0.00000", "-0.10000"}},  // X trails its zero by the lag
        {3, {"0x0D", "0x05", "0x05"}},             // X's lag is outside its target window
        {4, {"0x00", "0x04", "0x00"}},
        {5, {"0x02", "0x00", "0x00"}},             // P001 bits 4..7
    };
    for (const auto& [index, shown] : kCases) {
        ChooseListItem(watch, IDC_WATCH_SELECT, index);
        h.Clock().Advance(100);
        EXPECT_EQ((std::vector{Text(watch, IDC_WATCH_X), Text(watch, IDC_WATCH_Y), Text(watch, IDC_WATCH_Z)}), shown)
            << "quantity " << index;
    }
}

TEST_F(WatchWindow, ResizingAHundredTimesLeavesNoFontBehind)
{
    // The digits grow with the window (which font fits is the layout's own test).
    Resize(300, 400);
    const int small = FontHeight();
    Resize(1200, 400);
    EXPECT_GT(FontHeight(), small);
    Resize(500, 300);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 100; ++i)
        Resize(300 + 7 * i, 200 + 3 * i);
    Resize(500, 300);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(WatchWindow, OkClosesItWithoutEndingTheProgram)
{
    PressButton(watch, IDC_WATCH_OK);
    EXPECT_FALSE(PumpMessages());
    EXPECT_EQ(g_watchWnd, nullptr);
    EXPECT_FALSE(IsWindow(watch));
    EXPECT_EQ(h.Clock().TimerPeriod(watch, 1), 0u);
    EXPECT_TRUE(IsWindow(wnd));
    PressButton(wnd, IDC_MAG_WATCH);
    EXPECT_NE(g_watchWnd, nullptr);
}

} // namespace
