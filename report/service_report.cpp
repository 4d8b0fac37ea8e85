#include "report/service_report.h"

#include "infra/clock.h"
#include "infra/log.h"
#include "infra/replacement_file.h"
#include "infra/user_prompts.h"
#include "report/report_parts.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kDialogTitle[] = L"Service Report";
constexpr wchar_t kDialogFilter[] = L"Zip Files (*.zip)\0*.zip\0";
constexpr DWORD kFileNameChars = 260;

std::wstring DocumentsFolder()
{
    PWSTR folder = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
        result = folder;
    CoTaskMemFree(folder);
    return result;
}

std::wstring DefaultFileName(const SYSTEMTIME& now)
{
    wchar_t name[kFileNameChars] = {};
    std::swprintf(name, kFileNameChars, L"stagetune-%hs-%04u%02u%02u-%02u%02u%02u.zip", BoardSerialText().c_str(),
                  now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    return name;
}

// The path chosen, or empty when the dialog was cancelled.
std::wstring AskReportFileName(HWND owner, const SYSTEMTIME& now)
{
    return AskFileName({owner, kDialogTitle, kDialogFilter, DefaultFileName(now), DocumentsFolder(), L"zip",
                        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, true});
}

std::wstring WriteReportAt(const std::wstring& path, const ProgramIdentity& program, const SYSTEMTIME& now)
{
    ZipArchive zip(ToDosTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
    ReportContext report{zip, program, now, NowMs64()};
    for (const ReportPart& part : ReportParts())
        part.add(report, part.name);
    ReplacementFile file(path);
    if (file.Write(zip.Finish()) && file.Commit())
        return {};
    return SystemErrorText(file.Error());
}

} // namespace

std::wstring WriteServiceReport(const std::wstring& path, const ProgramIdentity& program)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return WriteReportAt(path, program, now);
}

void SaveServiceReportChosenByUser(HWND owner, const ProgramIdentity& program)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::wstring path = AskReportFileName(owner, now);
    if (path.empty())
        return;
    g_log.Write("Service report ");
    g_log.Write(path.c_str());
    g_log.Write("\n");
    const std::wstring why = WriteReportAt(path, program, now);
    if (why.empty()) {
        ShowMessageBox(owner, (L"The service report was written to " + path).c_str(), kDialogTitle,
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    g_log.Write("Service report not written: ");
    g_log.Write(why.c_str());
    g_log.Write("\n");
    ShowMessageBox(owner, (L"The service report could not be written to " + path + L":\n" + why).c_str(),
                   kDialogTitle, MB_OK | MB_ICONERROR);
}
