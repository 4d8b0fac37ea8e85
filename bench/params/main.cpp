// Cost of committing the parameters (512 reads and the changed writes) and
// of saving and loading a full parameter file on the simulated board.
#include "app/param_fields.h"
#include "app/persistence_buttons.h"
#include "bench/common/bench_program.h"
#include "infra/user_prompts.h"
#include "params/par_file.h"

#include <cstdio>
#include <cwchar>
#include <filesystem>

int main()
{
    HWND main = StartBenchProgram();
    const auto file = std::filesystem::temp_directory_path() / L"stagetune_bench.par";
    InstallFileDialogAnswer([&file](OPENFILENAMEW& ofn, bool) {
        wcsncpy(ofn.lpstrFile, file.c_str(), ofn.nMaxFile - 1);
        return true;
    });

    constexpr int kRepeats = 20;
    std::printf("CommitParams, nothing changed: %.2f ms\n",
                MicrosecondsPerCall([main] { CommitParams(main); }, kRepeats) / 1000);
    std::printf("CommitParams, one field changed: %.2f ms\n", MicrosecondsPerCall([main] {
                    static int value;
                    SetDlgItemInt(main, IDC_PARAM_P, ++value % 1000, FALSE);
                    CommitParams(main);
                }, kRepeats) / 1000);
    std::printf("Save To File: %.2f ms\n",
                MicrosecondsPerCall([main] { OnSaveToFileButton(main); }, kRepeats) / 1000);
    std::printf("  file size %ju bytes\n", static_cast<uintmax_t>(std::filesystem::file_size(file)));
    std::printf("Load From File: %.2f ms\n", MicrosecondsPerCall([main] { OnLoadFromFileButton(main); }, kRepeats) / 1000);

    std::filesystem::remove(file);
    StopBenchProgram(main);
    return 0;
}
