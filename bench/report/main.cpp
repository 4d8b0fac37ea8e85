// Cost of the service report of a board with 10 000 log lines (five runs,
// best and median), and what keeping the recent log adds to a log line.
#include "bench/common/bench_program.h"
#include "infra/log.h"
#include "infra/log_ring.h"
#include "report/service_report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr int kLogLines = 10000;
constexpr int kRuns = 5;
constexpr int kLinesTimed = 200000;

void FillRecentLog()
{
    ResetRecentLog();
    for (int i = 0; i < kLogLines; ++i)
        LogPrintf(g_log, "X2:SAPA(0,0) line %05d pos 12.3456 target 25.4000 following 0.0012\n", i);
}

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    // The ring's share of a log line, beside the whole write (window lookup
    // included) with no viewer running.
    std::printf("log line, recent log only: %.3f us per line\n",
                MicrosecondsPerCall([] { KeepRecentLogText("    goto target\n", 16); }, kLinesTimed));
    std::printf("log line, whole write:     %.3f us per line\n",
                MicrosecondsPerCall([] { g_log.Write("    goto target\n"); }, kLinesTimed / 10));

    const auto file = std::filesystem::temp_directory_path() / L"stagetune_bench_report.zip";
    const ProgramIdentity program{"bench", "-", "-"};
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        FillRecentLog();
        const double us = MicrosecondsPerCall([&] { WriteServiceReport(file, program); }, 1);
        ms.push_back(us / 1000);
        std::printf("run %d: service report with %d log lines: %.1f ms, %ju bytes\n", run + 1, kLogLines, ms.back(),
                    static_cast<uintmax_t>(std::filesystem::file_size(file)));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("service report: best %.1f ms, median %.1f ms (limit 2000 ms)\n", ms.front(), ms[kRuns / 2]);
    std::filesystem::remove(file);
    StopBenchProgram(main);
    return 0;
}
