// Prints what logging costs: a write with no viewer running, and the line
// rate through logview.exe into its file.
#include "infra/log.h"
#include "tools/logview/logview_process.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWritesWithoutViewer = 200000;
constexpr int kLinesThroughViewer = 20000;
constexpr DWORD kViewerTimeoutMs = 120000;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

void BenchWithoutViewer()
{
    if (FindWindowW(nullptr, log_channel::kViewerTitle) != nullptr) {
        std::printf("a log viewer is running: no-viewer figures skipped\n");
        return;
    }
    KRV_Log log;
    auto start = Clock::now();
    for (int i = 0; i < kWritesWithoutViewer; ++i)
        log.Write("    goto target\n");
    std::printf("no viewer, Write:     %8.0f ns per write\n", Seconds(start) * 1e9 / kWritesWithoutViewer);

    start = Clock::now();
    for (int i = 0; i < kWritesWithoutViewer; ++i)
        LogPrintf(log, "Setting param%d to %d\n", i % 512, i);
    std::printf("no viewer, LogPrintf: %8.0f ns per call\n", Seconds(start) * 1e9 / kWritesWithoutViewer);
}

void BenchThroughViewer()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring file = std::wstring(temp) + L"bench_log " + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(file.c_str());
    {
        LogviewProcess viewer(file);
        if (!viewer.WaitUntilReady(kViewerTimeoutMs)) {
            std::printf("logview.exe did not start\n");
            return;
        }
        KRV_Log log;
        const auto start = Clock::now();
        for (int i = 0; i < kLinesThroughViewer; ++i)
            LogPrintf(log, "bench line %06d: X 12.3456 Y -7.8901 Z 0.0000\n", i);
        const double writing = Seconds(start);
        const size_t arrived = viewer.WaitForLines(kLinesThroughViewer, kViewerTimeoutMs).size();
        const double total = Seconds(start);
        std::printf("logview draining:     %8.0f lines/s written (%.1f us per line)\n", kLinesThroughViewer / writing,
                    writing * 1e6 / kLinesThroughViewer);
        std::printf("logview to file:      %8.0f lines/s end to end, %zu of %d lines arrived\n",
                    static_cast<double>(arrived) / total,
                    arrived, kLinesThroughViewer);
    }
    DeleteFileW(file.c_str());
}

} // namespace

int main()
{
    BenchWithoutViewer();
    BenchThroughViewer();
    return 0;
}
