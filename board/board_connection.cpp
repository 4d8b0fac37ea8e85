#include "board/board_connection.h"

#include "board/board_ready.h"
#include "core/version_text.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "res/resource.h"

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

void SetCaption(HWND wnd, int id, const char* text)
{
    SetDlgItemTextA(wnd, id, text);
}

void ShowVersions(HWND wnd)
{
    char text[128];
    VersionBytes firmware{};
    uint32_t hardware = 0, fpga = 0, serial = 0;
    AXB_GetFirmwareVersion(0, &firmware.b1, &firmware.b2, &firmware.b3, &firmware.b4);
    AXB_GetHardwareVersion(0, &hardware);
    AXB_GetFpgaVersion(0, &fpga);
    AXB_GetSerialNumber(0, &serial);
    // The velocity fields and g_velScale depend on the firmware generation;
    // knowing it here keeps the first fill of the fields right.
    SetFirmwareVersion(FirmwareNumber(firmware));

    FormatFirmwareVersion(text, sizeof text, firmware, false);
    SetCaption(wnd, IDC_VER_FIRMWARE, text);
    FormatHardwareVersion(text, sizeof text, hardware, false);
    SetCaption(wnd, IDC_VER_HARDWARE, text);
    FormatFpgaVersion(text, sizeof text, fpga, false);
    SetCaption(wnd, IDC_VER_FPGA, text);
    FormatSerialNumber(text, sizeof text, serial, false);
    SetCaption(wnd, IDC_VER_SERIAL, text);

    FormatFirmwareVersion(text, sizeof text, firmware, true);
    g_log.Write(text);
    FormatHardwareVersion(text, sizeof text, hardware, true);
    g_log.Write(text);
    FormatFpgaVersion(text, sizeof text, fpga, true);
    g_log.Write(text);
    FormatSerialNumber(text, sizeof text, serial, true);
    g_log.Write(text);

    VersionBytes dll{};
    AXB_GetDllVersion(&dll.b1, &dll.b2, &dll.b3, &dll.b4);
    FormatDllVersion(text, sizeof text, dll, true);
    g_log.Write(text);
    FormatDllVersion(text, sizeof text, dll, false);
    SetCaption(wnd, IDC_VER_DLL, text);

    uint8_t oe = 0;
    AXB_GetOeVersion(0, &oe);
    FormatOeVersion(text, sizeof text, oe, true);
    g_log.Write(text);
    FormatOeVersion(text, sizeof text, oe, false);
    SetCaption(wnd, IDC_VER_OE, text);
}

} // namespace

bool ConnectBoard(HWND mainWnd)
{
    if (!OpenWithRetries())
        return false;
    ShowVersions(mainWnd);
    return true;
}

void CloseBoardDriver()
{
    int result = AXB_CloseDrv();
    LogPrintf(g_log, "Calling AXB_CloseDrv returned %d GetTickCount()=%u\n", result, NowMs());
}
