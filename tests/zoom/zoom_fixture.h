#pragma once
// The program on the simulated board with the zoom axis at hand: the main
// window's 10 ms timer steps the zoom, the log and the driver calls are
// watched.
#include "core/flash_items.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"
#include "zoom/zoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

inline constexpr int kZoom = 4;
inline constexpr int kZoomCountsPerMmParam = 218;   // the sim's factory value is 2000
inline constexpr int kZoomTravelMin = -4000;         // the home switch

class ZoomFixture {
public:
    explicit ZoomFixture(uint64_t clockStartMs = ProgramHarness::kDefaultClockStartMs) : h(clockStartMs)
    {
        // WriteSettingString needs the folder its file sits in.
        std::filesystem::create_directories(h.Folder() / L"settings" / L"TavRosen" / L"Settings");
    }

    // beforeStart runs on the fresh board, before the program reads it.
    void Start(const std::function<void()>& beforeStart = {})
    {
        if (beforeStart)
            beforeStart();
        main = h.StartProgram();
        // The first tick finds the board and reads its flash record, as in
        // the moment before the technician's first click.
        h.Clock().Advance(10);
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }

    // Main-window ticks until the zoom's sequence is idle; false when it is
    // still busy after maxMs.
    bool RunUntilIdle(int maxMs = 20000)
    {
        for (int t = 0; t < maxMs; t += 10) {
            h.Clock().Advance(10);
            if (g_zoomState == kZoomInactive)
                return true;
        }
        return false;
    }

    std::vector<std::string> ZoomMoves() { return SimCallsStartingWith("AXB_SetAxisPosAbs(0,4,"); }

    // The log lines that start with one of the prefixes, in order.
    std::vector<std::string> LinesStartingWith(std::initializer_list<std::string> prefixes)
    {
        std::vector<std::string> out;
        for (const std::string& line : h.Log().Lines())
            for (const std::string& p : prefixes)
                if (line.rfind(p, 0) == 0)
                    out.push_back(line);
        return out;
    }
    std::vector<std::string> StateLines() { return LinesStartingWith({"Moving from", "just changed"}); }

    int CountLines(const std::string& line)
    {
        auto lines = h.Log().Lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    void SelectZoomAxis()
    {
        for (int id : {IDC_AXIS_X, IDC_AXIS_Y, IDC_AXIS_Z, IDC_AXIS_Q, IDC_AXIS_ZOOM})
            CheckDlgButton(main, id, id == IDC_AXIS_ZOOM ? BST_CHECKED : BST_UNCHECKED);
        PressButton(main, IDC_AXIS_ZOOM);
    }

    ProgramHarness h;
    HWND main = nullptr;
};

inline std::string ZoomMove(int32_t counts) { return "AXB_SetAxisPosAbs(0,4," + std::to_string(counts) + ")=1"; }
