#include "params/board_history.h"

#include "board/flash_baseline.h"
#include "core/par_format.h"
#include "infra/log.h"
#include "infra/settings.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kParExtension[] = L".par";

fs::path BoardFolder()
{
    // A name with a folder of its own would be taken as a complete path.
    const std::wstring settings = ResolveSettingsPath(L"Settings\\TavRosen.ini");
    if (settings.empty())
        return {};
    return fs::path(settings).parent_path() / L"Boards" / std::to_wstring(BaselineBoardVersions().serialNumber);
}

std::wstring FileNameNow()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    wchar_t name[32];
    std::swprintf(name, std::size(name), L"%04u-%02u-%02u %02u%02u%02u.par", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return name;
}

// Oldest first: the names sort as their dates do.
std::vector<fs::path> ParFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file(error) && entry.path().extension() == kParExtension)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void RemoveOldest(const fs::path& folder)
{
    const std::vector<fs::path> files = ParFiles(folder);
    std::error_code error;
    for (size_t i = 0; i + kBoardHistoryFiles < files.size(); ++i)
        fs::remove(files[i], error);
}

bool WriteFile(const fs::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return out.good();
}

} // namespace

void WriteBoardHistory()
{
    const fs::path folder = BoardFolder();
    std::error_code error;
    if (folder.empty() || (fs::create_directories(folder, error), !fs::is_directory(folder, error))) {
        g_log.Write("Board history: no folder for the board's saves\n");
        return;
    }
    const fs::path path = folder / FileNameNow();
    const BoardConfig& saved = FlashBaseline();
    const std::string content = FormatParFile(BaselineBoardVersions(), saved.params, saved.items,
                                              GetSettingInt(L"stagetune", L"UserOutputFormat", L"0"));
    if (!WriteFile(path, content)) {
        g_log.Write("Board history: could not write ");
        g_log.Write(path.wstring().c_str());
        g_log.Write("\n");
        return;
    }
    RemoveOldest(folder);
}

std::vector<BoardHistoryEntry> BoardHistory()
{
    std::vector<BoardHistoryEntry> entries;
    const fs::path folder = BoardFolder();
    if (folder.empty())
        return entries;
    const std::vector<fs::path> files = ParFiles(folder);
    for (auto file = files.rbegin(); file != files.rend(); ++file)
        entries.push_back({file->wstring(), file->stem().wstring()});
    return entries;
}
