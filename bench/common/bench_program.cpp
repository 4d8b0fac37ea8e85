#include "bench/common/bench_program.h"

#include "app/main_window.h"
#include "core/flash_items.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"

#include <filesystem>

namespace {

std::filesystem::path StateFile() { return std::filesystem::temp_directory_path() / L"stagetune_bench.state"; }

struct SimFlash final : FlashWords {
    uint32_t Read(int index) override { return AxbSim_PeekFlashWord(index); }
    void Write(int index, uint32_t word) override { AxbSim_PokeFlashWord(index, word); }
};

} // namespace

HWND StartBenchProgram()
{
    AxbSim_SetStateFile(StateFile().c_str());
    AxbSim_Reset();
    SimFlash flash;
    WriteAllFlashItems(flash);   // the compiled-in defaults: a commissioned board
    HWND main = CreateMainWindow(GetModuleHandleW(nullptr));
    if (main)
        KillTimer(main, IDT_TICK);
    return main;
}

void StopBenchProgram(HWND main)
{
    DestroyWindow(main);
    std::error_code ignored;
    std::filesystem::remove(StateFile(), ignored);
}

double MicrosecondsPerCall(const std::function<void()>& work, int count)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i)
        work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart) / count;
}
