// board.par, changes.csv and log.txt: the board as "Save To File" writes it,
// what of it is not in the flash, and the program's recent log.
#include "report/report_parts.h"

#include "board/board_lock.h"
#include "board/flash_baseline.h"
#include "core/param_diff.h"
#include "core/session_state.h"
#include "infra/log.h"
#include "infra/log_ring.h"
#include "params/par_file.h"

void AddBoardPar(ReportContext& report, std::string_view name)
{
    // Without a board the program's table holds nothing of a machine.
    if (!g_boardPresent)
        return;
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("Failed to get ZEZ_LOCK Service report\n");
        return;
    }
    report.zip.Add(name, FormatBoardParFile());
}

// The rows Compare lists for the board against the flash, as its Export
// writes them.
void AddBoardChanges(ReportContext& report, std::string_view name)
{
    if (!g_boardPresent || !HasFlashBaseline())
        return;
    report.zip.Add(name, FormatDiffCsv(DifferingRows(BoardAgainstFlashRows()), L"Board", L"Flash"));
}

void AddRecentLog(ReportContext& report, std::string_view name)
{
    std::string text;
    for (const std::wstring& line : RecentLogLines()) {
        text += Utf8(line);
        text += "\r\n";
    }
    report.zip.Add(name, text);
}
