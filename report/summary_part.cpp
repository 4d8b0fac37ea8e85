// summary.txt: the machine at a glance, for the engineer who reads the
// report first.
#include "report/report_parts.h"

#include "params/goto_settings.h"

#include "board/board_ready.h"
#include "board/board_versions.h"
#include "board/flash_baseline.h"
#include "core/auto_home_state.h"
#include "core/axes.h"
#include "core/flash_items.h"
#include "core/joystick_word.h"
#include "core/session_state.h"
#include "core/status_errors_seen.h"
#include "core/version_text.h"
#include "infra/settings.h"
#include "zoom/turrets/turrets.h"
#include "zoom/zoom.h"

#include <cstdarg>
#include <span>
#include <cstdio>

namespace {

constexpr const char* kAxisNames[kAxisCount] = {"X", "Y", "Z", "Q", "Zoom"};
constexpr const char* kUnitNames[] = {"As Stored (counts)", "inches", "millimetres"};

struct NamedNumber {
    uint32_t number;
    const char* name;
};

// The name of the first row whose number matches.
template <typename Matches>
const char* FirstNameWhere(std::span<const NamedNumber> table, Matches matches, const char* none)
{
    for (const NamedNumber& row : table)
        if (matches(row.number))
            return row.name;
    return none;
}

constexpr NamedNumber kZoomKindNames[] = {
    {kZoomMotor, "motor zoom with home switch"},
    {kZoomRevolver, "revolver turret (Revolver_Dll.dll)"},
    {kZoomOlympusBox, "Olympus turret box on a serial port"},
    {kZoomOlympusPins, "Olympus turret on the GPIO pins"},
    {kZoomNikon, "Nikon turret (ObjTurret.dll)"},
    {kZoomMotorNoSwitch, "motor zoom homed by the board's home search"},
};

// The joystick layouts the firmware generations give, newest first.
constexpr NamedNumber kJoystickLayouts[] = {
    {kJoystickFiveButtonFirmware, "button functions with second functions, joystick mode tells five buttons apart"},
    {kJoystickSecondFunctionFirmware, "button functions with second functions"},
    {kJoystickFunctionFirmware, "button functions and options"},
    {0, "single \"Button Config\" list"},
};

class Text {
public:
    void Line(const char* format, ...)
    {
        char line[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        text_ += line;
        text_ += "\r\n";
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

// The captions' texts of the main window.
void AddVersions(Text& out)
{
    const BoardVersions v = ReadBoardVersions();
    char line[128];
    const auto add = [&] { out.Line("%s", line); };
    FormatFirmwareVersion(line, sizeof line, v.firmware, false);
    add();
    FormatHardwareVersion(line, sizeof line, v.hardware, false);
    add();
    FormatFpgaVersion(line, sizeof line, v.fpga, false);
    add();
    FormatSerialNumber(line, sizeof line, v.serialNumber, false);
    add();
    FormatDllVersion(line, sizeof line, v.dll, false);
    add();
    FormatOeVersion(line, sizeof line, ReadOeVersion(), false);
    add();
}

void AddBoard(Text& out)
{
    if (!g_boardPresent) {
        out.Line("Board: absent (no AXB hardware attached at start-up)");
        return;
    }
    out.Line("Board: present");
    AddVersions(out);
    out.Line("Firmware number used: 0x%08X", static_cast<unsigned>(g_firmwareVersion));
    out.Line("Velocity scale: %u (a velocity percent is sent as percent x %u)", g_velScale, g_velScale);
    const auto inForce = [](uint32_t fromFirmware) { return g_firmwareVersion >= fromFirmware; };
    out.Line("Joystick layout: %s", FirstNameWhere(kJoystickLayouts, inForce, ""));
    if (g_firmwareVersion >= kJoystickFiveButtonFirmware)
        out.Line("Joystick buttons: %s", g_fiveButtonJoystick ? "five" : "three");
    // The main window's flash line: what a power cycle would undo.
    out.Line("Flash: %s", Utf8(UnsavedText(UnsavedChanges())).c_str());
}

void AddHomed(Text& out)
{
    std::string homed;
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const bool done = axis < kEncoderAxisCount ? g_homeRefFound[axis] : g_zoomHomed;
        homed += std::string(homed.empty() ? "" : ", ") + kAxisNames[axis] + (done ? " homed" : " not homed");
    }
    out.Line("Axes: %s", homed.c_str());
}

// The local time of a moment of the program's clock, counted back from the
// report's own moment.
SYSTEMTIME LocalTimeAt(const ReportContext& report, uint64_t ms)
{
    constexpr uint64_t kFileTimeUnitsPerMs = 10000;
    FILETIME now{};
    SystemTimeToFileTime(&report.now, &now);
    const uint64_t ago = report.nowMs >= ms ? report.nowMs - ms : 0;
    const uint64_t then = (uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime) - ago * kFileTimeUnitsPerMs;
    const FILETIME at{static_cast<DWORD>(then), static_cast<DWORD>(then >> 32)};
    SYSTEMTIME result{};
    FileTimeToSystemTime(&at, &result);
    return result;
}

void AddStatusErrors(Text& out, const ReportContext& report)
{
    const auto seen = StatusErrorsSeen();
    out.Line("Move-status and system-status errors seen since start: %zu%s", seen.size() + StatusErrorsDropped(),
             StatusErrorsDropped() ? " (the oldest are not listed)" : "");
    for (const StatusErrorSeen& s : seen) {
        const SYSTEMTIME t = LocalTimeAt(report, s.ms);
        out.Line("  %02u:%02u:%02u.%03u (clock %llu ms)  %s  axis %s  %s", t.wHour, t.wMinute, t.wSecond,
                 t.wMilliseconds, static_cast<unsigned long long>(s.ms), s.watcher.c_str(),
                 s.axis >= 0 && s.axis < kAxisCount ? kAxisNames[s.axis] : "?", DescribeStatusError(s).c_str());
    }
}

// Where the settings came from, so that a file missing from settings/ is
// known to be missing on the PC.
void AddSettingsPaths(Text& out)
{
    for (const std::wstring& path : {SettingsFilePath(), ZoomIniPath()}) {
        const bool there = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        out.Line("%s: %s", Utf8(path).c_str(), there ? "present" : "missing");
    }
}

void AddDevices(Text& out)
{
    const int zoomType = GetSettingInt(L"stagetune", L"ZoomType", L"0") & 0xFF;
    const auto isKind = [zoomType](uint32_t kind) { return kind == static_cast<uint32_t>(zoomType); };
    out.Line("Zoom: ZoomType %d, %s", zoomType, FirstNameWhere(kZoomKindNames, isKind, "unknown"));
    if (zoomType == kZoomOlympusBox)
        out.Line("Turret box: COM%d", GetSettingInt(L"Zoom", L"CommPort", L"3"));
    if (krv_user_box_data.lampRs232)
        out.Line("Lamps: lamp box on COM%d (\"Lamp RS232\" set in the board's record)",
                 GetSettingInt(L"Lights", L"Comm Port", L"2"));
    else
        out.Line("Lamps: the board's lamp outputs (\"Lamp RS232\" clear in the board's record)");
    out.Line("Lamp controller: %s", GetSettingInt(L"stagetune", L"LUX_400", L"0") != 0 ? "LUX 400" : "standard");
}

} // namespace

void AddSummary(ReportContext& report, std::string_view name)
{
    Text out;
    const SYSTEMTIME& t = report.now;
    out.Line("stagetune service report");
    out.Line("Written: %04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    out.Line("Program: stagetune %s, built %s %s", report.program.version, report.program.buildDate,
             report.program.buildTime);
    out.Line("");
    AddBoard(out);
    out.Line("Unit mode: %s", kUnitNames[g_unitMode >= 0 && g_unitMode <= 2 ? g_unitMode : 0]);
    AddHomed(out);
    out.Line("");
    AddDevices(out);
    AddSettingsPaths(out);
    out.Line("");
    AddStatusErrors(out, report);
    report.zip.Add(name, out.str());
}
