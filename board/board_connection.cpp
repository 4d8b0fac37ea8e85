#include "board/board_connection.h"

#include "board/board_versions.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"

namespace {

constexpr int kOpenAttempts = 5;
constexpr uint32_t kOpenRetryDelayMs = 200;

bool OpenWithRetries()
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        g_log.Write("About to call AXB_OpenDrv\n");
        int result = AXB_OpenDrv();
        LogPrintf(g_log, "Calling AXB_OpenDrv returned %d GetTickCount()=%u\n", result, NowMs());
        if (result != 0)
            return true;
        SleepMs(kOpenRetryDelayMs);
    }
    g_log.Write("No AXB hardware attached\n");
    return false;
}

void LogVersions(const ConnectedBoard& board)
{
    char text[128];
    const BoardVersions& v = board.versions;
    FormatFirmwareVersion(text, sizeof text, v.firmware, true);
    g_log.Write(text);
    FormatHardwareVersion(text, sizeof text, v.hardware, true);
    g_log.Write(text);
    FormatFpgaVersion(text, sizeof text, v.fpga, true);
    g_log.Write(text);
    FormatSerialNumber(text, sizeof text, v.serialNumber, true);
    g_log.Write(text);
    FormatDllVersion(text, sizeof text, v.dll, true);
    g_log.Write(text);
    FormatOeVersion(text, sizeof text, board.oe, true);
    g_log.Write(text);
}

} // namespace

std::optional<ConnectedBoard> ConnectBoard()
{
    if (!OpenWithRetries())
        return std::nullopt;
    ConnectedBoard board;
    board.versions = ReadBoardVersions();
    // The velocity fields and g_velScale depend on the firmware generation;
    // knowing it here keeps the first fill of the fields right.
    SetFirmwareVersion(FirmwareNumber(board.versions.firmware));
    board.oe = ReadOeVersion();
    LogVersions(board);
    return board;
}

void CloseBoardDriver()
{
    int result = AXB_CloseDrv();
    LogPrintf(g_log, "Calling AXB_CloseDrv returned %d GetTickCount()=%u\n", result, NowMs());
}
