// How long one driver call takes through the simulated board: the main
// window's read-speed loop (1000 AXB_GetLatchReg(0, 0, 0, &v) calls, then
// 1000 AXB_GetAxisPosValue(0, 0, &v)), timed in real time a few times over.
#include "axb400.h"
#include "axbsim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kCalls = 1000;
constexpr int kRepetitions = 5;

template <typename Loop>
void Time(const char* name, Loop loop)
{
    double best = 1e300;
    for (int run = 1; run <= kRepetitions; ++run) {
        AxbSim_ClearCallLog();
        const auto start = std::chrono::steady_clock::now();
        loop();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, ms);
        std::printf("%s x %d, run %d: %.3f ms (%.2f us per call)\n", name, kCalls, run, ms, ms * 1000 / kCalls);
    }
    std::printf("%s best: %.3f ms per %d calls, %.2f us per call\n", name, best, kCalls, best * 1000 / kCalls);
}

} // namespace

int main()
{
    AxbSim_UseVirtualTime(0);
    if (AXB_OpenDrv() == 0) {
        std::fprintf(stderr, "bench_drivercall: the simulated board did not open\n");
        return 1;
    }
    int32_t value = 0;
    Time("AXB_GetLatchReg", [&] {
        for (int i = 0; i < kCalls; ++i)
            AXB_GetLatchReg(0, 0, 0, &value);
    });
    Time("AXB_GetAxisPosValue", [&] {
        for (int i = 0; i < kCalls; ++i)
            AXB_GetAxisPosValue(0, 0, &value);
    });
    AXB_CloseDrv();
    return 0;
}
