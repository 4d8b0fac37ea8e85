// Cost of one tick of the Touch Probe dialog's 1 ms tester timer on the
// simulated board: the probe idle, and with the status line of "Log".
#include "bench/common/bench_program.h"
#include "core/session_state.h"
#include "probe/touch_probe_dialog.h"
#include "res/resource.h"

#include <cstdio>

int main()
{
    constexpr int kTicks = 5000;
    HWND main = StartBenchProgram();
    g_testerMode = 1;
    // The dialog's own template and handler, without the modal loop that
    // would wait for a person.
    HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TOUCH_PROBE), main,
                                  TouchProbeDlgProc, 0);
    auto tick = [dlg] { SendMessageW(dlg, WM_TIMER, IDT_TICK, 0); };
    std::printf("touch probe tester tick, %d ticks per run\n", kTicks);
    ReportTicks("touch probe tick, probe idle", tick, kTicks, 1.0);
    CheckDlgButton(dlg, IDC_TP_LOG, BST_CHECKED);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_TP_LOG, BN_CLICKED), 0);
    ReportTicks("touch probe tick, probe idle, Log checked (no viewer)", tick, kTicks, 1.0);
    DestroyWindow(dlg);
    StopBenchProgram(main);
    return 0;
}
