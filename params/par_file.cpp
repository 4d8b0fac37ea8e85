#include "params/par_file.h"

#include "board/board_versions.h"
#include "board/board_lock.h"
#include "board/fences.h"
#include "board/flash_store.h"
#include "board/param_io.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/par_format.h"
#include "core/param_table.h"
#include "driver/axb400.h"
#include "infra/log.h"
#include "infra/program_folder.h"
#include "infra/settings.h"
#include "infra/user_prompts.h"

#include <commdlg.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr wchar_t kDialogTitle[] = L"par File to Save";   // the loading dialog too
constexpr wchar_t kDialogFilter[] = L"Par Files (*.par)\0*.par\0";
constexpr wchar_t kDefaultFileName[] = L"krv.par";
constexpr DWORD kFileNameChars = 260;

enum class FileDialog { Save, Open };

void LogLockFailure(const char* operation)
{
    g_log.Write("Failed to get ZEZ_LOCK ");
    g_log.Write(operation);
    g_log.Write("\n");
}

// The path chosen in the common dialog, or empty when it was cancelled.
std::wstring AskParFileName(FileDialog kind)
{
    wchar_t file[kFileNameChars] = {};
    std::wcsncpy(file, kDefaultFileName, kFileNameChars - 1);
    const std::wstring folder = ProgramFolder();
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = nullptr;
    ofn.lpstrFilter = kDialogFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kFileNameChars;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrTitle = kDialogTitle;
    ofn.Flags = OFN_EXPLORER;
    if (kind == FileDialog::Open)
        ofn.Flags |= OFN_FILEMUSTEXIST;
    const bool chosen = kind == FileDialog::Save ? AskSaveFileName(ofn) : AskOpenFileName(ofn);
    if (!chosen)
        return {};
    file[kFileNameChars - 1] = L'\0';
    return file;
}

void LogFileName(const std::wstring& path)
{
    g_log.Write("File name ");
    g_log.Write(path.c_str());
    g_log.Write("\n");
}

// ---------------------------------------------------------------------------
// Saving

// The new content goes to a temporary file beside the target, which takes
// the target's place only when every byte reached the disk.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::wstring& target) : target_(target)
    {
        // Replacing would get round the write protection a technician put on
        // a reference file.
        if (IsReadOnly(target))
            return;
        const size_t slash = target.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
        wchar_t temp[MAX_PATH] = {};
        if (GetTempFileNameW(folder.c_str(), L"par", 0, temp) == 0)
            return;
        temp_ = temp;
        file_ = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~ReplacementFile()
    {
        Close();
        if (!committed_ && !temp_.empty())
            DeleteFileW(temp_.c_str());
    }
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

    bool Write(const std::string& content)
    {
        DWORD written = 0;
        return IsOpen() && content.size() <= MAXDWORD &&
               WriteFile(file_, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
               written == content.size();
    }

    bool Commit()
    {
        const bool flushed = IsOpen() && FlushFileBuffers(file_);
        if (!Close() || !flushed)
            return false;
        committed_ = MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        return committed_;
    }

private:
    static bool IsReadOnly(const std::wstring& path)
    {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    }

    bool Close()
    {
        if (!IsOpen())
            return false;
        const bool closed = CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        return closed;
    }

    std::wstring target_;
    std::wstring temp_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool committed_ = false;
};

std::string FormatBoardParFile()
{
    std::string content;
    AppendParHeader(content, ReadBoardVersions());
    // Fences depend on the homed zero: a stored file carries them open.
    DisableSoftwareFences();
    AppendParParamLines(content, g_param);
    EnableSoftwareFences();
    AppendParItemLines(content, g_flashItemValues, GetSettingInt(L"stagetune", L"UserOutputFormat", L"0"));
    return content;
}

void SaveParamsToSuppliedFile(const std::wstring& path)
{
    ReplacementFile file(path);
    if (!file.IsOpen()) {
        g_log.Write("Error fptr is NULL\n");
        return;
    }
    BoardLockGuard lock;
    if (!lock) {
        LogLockFailure("KRV_AXBSaveParamToSuppliedFilebd");
        return;
    }
    if (!file.Write(FormatBoardParFile()) || !file.Commit()) {
        g_log.Write("Error could not write ");
        g_log.Write(path.c_str());
        g_log.Write("\n");
    }
}

// ---------------------------------------------------------------------------
// Loading

void ApplyParLine(const ParLineResult& line)
{
    switch (line.kind) {
    case ParLineKind::Param:
        g_param[line.number] = line.paramValue;
        WriteParamReadBack(line.number, line.paramValue);
        break;
    case ParLineKind::Item:
        SetFlashItem(BoardFlashWords(), line.itemIndex, line.itemValue);
        break;
    default:
        g_log.Write(line.log.c_str());
        break;
    }
}

template <typename Apply>
void ReadParLines(std::istream& in, Apply apply)
{
    const ParItemForm form = DetectParItemForm(in);
    in.clear();
    in.seekg(0);
    ParLineReader reader(in);
    for (ParLine line; reader.Next(line);)
        apply(ParseParLine(line, form));
}

bool LoadParamsFromStream(std::istream& in)
{
    BoardLockGuard lock;
    if (!lock)
        return false;
    ReadParLines(in, ApplyParLine);
    UnpackUserBoxDataToLog();
    return true;
}

void TakeParLine(BoardConfig& config, const ParLineResult& line)
{
    if (line.kind == ParLineKind::Param)
        config.params[line.number] = line.paramValue;
    else if (line.kind == ParLineKind::Item)
        config.items[line.itemIndex] = line.itemValue;
}

} // namespace

bool LoadParFileChosenByUser()
{
    BoardLockGuard lock;
    if (!lock) {
        LogLockFailure("KRV_AXBLoadParamFromFilebd");
        return false;
    }
    const std::wstring path = AskParFileName(FileDialog::Open);
    if (path.empty())
        return false;
    LogFileName(path);
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return in.is_open() && LoadParamsFromStream(in);
}

void SaveParFileChosenByUser()
{
    BoardLockGuard lock;
    if (!lock) {
        LogLockFailure("KRV_AXBSaveParamToFilebd");
        return;
    }
    const std::wstring path = AskParFileName(FileDialog::Save);
    if (path.empty())
        return;
    LogFileName(path);
    SaveParamsToSuppliedFile(path);
}

std::wstring AskParFileToRead() { return AskParFileName(FileDialog::Open); }

std::optional<BoardConfig> ReadParConfig(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in.is_open())
        return std::nullopt;
    BoardConfig config;
    for (int i = 0; i < kFlashItemCount; ++i)
        config.items[i] = kFlashItemTable[i].defaultValue;
    ReadParLines(in, [&config](const ParLineResult& line) { TakeParLine(config, line); });
    return config;
}
