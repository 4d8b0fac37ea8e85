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
#include "infra/replacement_file.h"
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
    const bool save = kind == FileDialog::Save;
    return AskFileName({nullptr, kDialogTitle, kDialogFilter, kDefaultFileName, ProgramFolder(), nullptr,
                        save ? 0u : static_cast<DWORD>(OFN_FILEMUSTEXIST), save});
}

void LogFileName(const std::wstring& path)
{
    g_log.Write("File name ");
    g_log.Write(path.c_str());
    g_log.Write("\n");
}

// ---------------------------------------------------------------------------
// Saving

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
