#pragma once
// The files of the service report. Each file (or folder of files, a name
// ending in "/") is one row of kReportParts: its name and the function that
// adds it to the zip. A part that has nothing to say adds nothing.
#include "infra/zip_archive.h"
#include "report/service_report.h"

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

struct ReportContext {
    ZipArchive& zip;
    const ProgramIdentity& program;
    SYSTEMTIME now;       // local time of the report
    uint64_t nowMs;       // the program's clock at the same moment
};

struct ReportPart {
    std::string_view name;
    void (*add)(ReportContext& report, std::string_view name);
};

std::span<const ReportPart> ReportParts();

void AddSummary(ReportContext& report, std::string_view name);
void AddBoardPar(ReportContext& report, std::string_view name);
void AddBoardChanges(ReportContext& report, std::string_view name);
void AddRecentLog(ReportContext& report, std::string_view name);
void AddSettingsFiles(ReportContext& report, std::string_view folder);
void AddWindowPictures(ReportContext& report, std::string_view folder);
void AddCaptures(ReportContext& report, std::string_view folder);

std::string Utf8(std::wstring_view text);
// The board's serial number as the report names it, "unknown" without a board.
std::string BoardSerialText();
// The settings file the program reads (empty: no settings path).
std::wstring SettingsFilePath();
