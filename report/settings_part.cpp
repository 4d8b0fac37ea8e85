// settings/: the settings file, zoom.ini and the names of the board's
// history files, as they are on the service PC now.
#include "report/report_parts.h"

#include "params/goto_settings.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

// A file that cannot be read is left out.
void AddFileIfThere(ReportContext& report, const std::string& name, const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return;
    report.zip.Add(name, std::string(std::istreambuf_iterator<char>(in), {}));
}

// Only the names, sizes and times: the files themselves are .par files of
// earlier saves and the engineer asks for one when needed.
void AddHistoryList(ReportContext& report, const std::string& name, const std::filesystem::path& folder)
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return;
    std::string list;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error))
            continue;
        list += Utf8(entry.path().filename().wstring());
        list += "\t" + std::to_string(entry.file_size(error)) + "\r\n";
    }
    report.zip.Add(name, list);
}

} // namespace

void AddSettingsFiles(ReportContext& report, std::string_view folder)
{
    const std::string prefix(folder);
    const std::filesystem::path settings = SettingsFilePath();
    if (!settings.empty()) {
        AddFileIfThere(report, prefix + Utf8(settings.filename().wstring()), settings);
        const std::string serial = BoardSerialText();
        AddHistoryList(report, prefix + "history.txt", settings.parent_path() / L"Boards" / serial);
    }
    AddFileIfThere(report, prefix + "zoom.ini", ZoomIniPath());
}
