#include "report/report_parts.h"

#include "board/board_versions.h"
#include "core/session_state.h"
#include "infra/settings.h"

#include <string>

namespace {

constexpr ReportPart kReportParts[] = {
    {"summary.txt", AddSummary},
    {"board.par", AddBoardPar},
    {"changes.csv", AddBoardChanges},
    {"log.txt", AddRecentLog},
    {"captures/", AddCaptures},
    {"settings/", AddSettingsFiles},
    {"windows/", AddWindowPictures},
};

} // namespace

std::span<const ReportPart> ReportParts() { return kReportParts; }

std::string Utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                            nullptr);
    return out;
}

std::string BoardSerialText()
{
    return g_boardPresent ? std::to_string(ReadBoardVersions().serialNumber) : std::string("unknown");
}

std::wstring SettingsFilePath() { return ResolveSettingsPath(L"Settings\\TavRosen.ini"); }
