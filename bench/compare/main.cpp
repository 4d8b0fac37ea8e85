// Cost of the Compare window's full comparison (574 rows built, named,
// converted and given to the list, every row shown) and of the flash line's
// count after a write, on the simulated board.
#include "app/flash_line.h"
#include "bench/common/bench_program.h"
#include "compare/compare_window.h"
#include "res/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kRepeats = 20;

// Best and median of five runs, in milliseconds per call.
void Report(const char* what, const std::function<void()>& work)
{
    std::vector<double> runs;
    for (int r = 0; r < kRuns; ++r)
        runs.push_back(MicrosecondsPerCall(work, kRepeats) / 1000);
    std::sort(runs.begin(), runs.end());
    std::printf("%s: best %.3f ms, median %.3f ms\n", what, runs.front(), runs[kRuns / 2]);
}

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    HWND compare = OpenCompareWindow(CompareStart::BoardAgainstFlash);
    CheckDlgButton(compare, IDC_CMP_ALL, BST_CHECKED);
    HWND list = GetDlgItem(compare, IDC_CMP_LIST);
    Report("Compare, all 574 rows built and the list filled and painted", [compare, list] {
        RefreshCompareWindow();
        UpdateWindow(list);
    });
    std::printf("  rows in the list: %d\n", ListView_GetItemCount(list));
    Report("Flash line after a write", [main] { ShowFlashLine(main); });
    DestroyWindow(compare);
    StopBenchProgram(main);
    return 0;
}
