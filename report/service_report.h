#pragma once
// "Service Report": everything a support engineer needs about this machine
// in one zip file, whether the board is there or not.
#include <windows.h>

#include <string>

// What the program says of itself; the main window hands it over.
struct ProgramIdentity {
    const char* version;
    const char* buildDate;
    const char* buildTime;
};

// Asks for the zip's name (Documents, "stagetune-<serial>-<yyyymmdd-hhmmss>.zip")
// and writes it; the technician is told where it went, or why it could not
// be written.
void SaveServiceReportChosenByUser(HWND owner, const ProgramIdentity& program);

// Writes the report to path, replacing a file there only when the whole zip
// was written. Empty on success, else the reason.
std::wstring WriteServiceReport(const std::wstring& path, const ProgramIdentity& program);
