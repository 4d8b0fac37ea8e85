// board.par and log.txt: the board as "Save To File" writes it, and the
// program's recent log.
#include "report/report_parts.h"

#include "board/board_lock.h"
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

void AddRecentLog(ReportContext& report, std::string_view name)
{
    std::string text;
    for (const std::wstring& line : RecentLogLines()) {
        text += Utf8(line);
        text += "\r\n";
    }
    report.zip.Add(name, text);
}
