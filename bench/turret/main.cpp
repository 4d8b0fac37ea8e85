// Cost of one tick of the zoom timer with an objective turret, at rest and
// while it turns, on the simulated board and the turret stand-ins: the GPIO
// turret, the Nikon and the revolver libraries. (The serial box's goto has no
// tick: nothing watches its move.)
#include "bench/common/bench_program.h"
#include "infra/settings.h"
#include "sim/board/axbsim.h"
#include "zoom/zoom.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kTicks = 2000;
// A new target every second keeps the move within its 5 s timeout.
constexpr int kTicksPerTarget = 100;

int g_tick;

void TickWithNewTargets(int8_t first, int8_t second)
{
    if (g_tick++ % kTicksPerTarget == 0)
        ZoomGoto((g_tick / kTicksPerTarget) % 2 ? first : second);
    ZoomTimer();
}

void MeasureGpioTurret()
{
    WriteSettingString(L"stagetune", L"ZoomType", L"3");
    AxbSim_SetTurret(1, 200, 2);
    ZoomGoto(2);
    ReportTicks("turret on the GPIO pins, at rest", ZoomTimer, kTicks);
    AxbSim_SetTurret(1, 60000, 2);
    ReportTicks("turret on the GPIO pins, turning", [] { TickWithNewTargets(4, 3); }, kTicks);
    AxbSim_SetTurret(1, 20, 2);
    ReportTicks("turret on the GPIO pins, a step every 30 ms", [] { TickWithNewTargets(1, 4); }, kTicks);
}

// The libraries' stand-ins sit beside the bench, in the program's folder.
void MeasureLibraryTurrets()
{
    WriteSettingString(L"stagetune", L"ZoomType", L"4");
    ZoomGoto(1);
    ReportTicks("Nikon turret, at rest", ZoomTimer, kTicks);
    ReportTicks("Nikon turret, turning", [] { TickWithNewTargets(3, 1); }, kTicks);
    WriteSettingString(L"stagetune", L"ZoomType", L"1");
    ReportTicks("revolver turret, turning", [] { TickWithNewTargets(2, 5); }, kTicks);
    ReportTicks("revolver turret, at rest", ZoomTimer, kTicks);
}

} // namespace

int main()
{
    // The bench's own settings, not a technician's.
    const std::filesystem::path settings = std::filesystem::temp_directory_path() / "bench_turret";
    std::filesystem::create_directories(settings);
    SetEnvironmentVariableW(L"KRV_SETTINGS", settings.wstring().c_str());
    HWND main = StartBenchProgram();
    std::printf("zoom timer tick with a turret, %d ticks per run\n", kTicks);
    MeasureGpioTurret();
    MeasureLibraryTurrets();
    StopBenchProgram(main);
    std::filesystem::remove_all(settings);
    return 0;
}
