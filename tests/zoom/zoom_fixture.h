#pragma once
// The program on the simulated board with the zoom axis at hand: the main
// window's 10 ms timer steps the zoom.
#include "core/flash_items.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "zoom/zoom.h"

#include <algorithm>
#include <string>
#include <vector>

inline constexpr int kZoom = 4;
inline constexpr int kZoomTravelMin = -4000;   // the home switch

class ZoomTest : public ProgramTest {
protected:
    using ProgramTest::ProgramTest;

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
    std::vector<std::string> ZoomMoves() { return Calls("AXB_SetAxisPosAbs(0,4,"); }
    std::vector<std::string> StateLines() { return LinesStartingWith({"Moving from", "just changed"}); }
    int CountLines(const std::string& line)
    {
        const auto lines = h.Log().Lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
};

inline std::string ZoomMove(int32_t counts) { return "AXB_SetAxisPosAbs(0,4," + std::to_string(counts) + ")=1"; }
