#include "infra/replacement_file.h"

#include <cstdint>
#include <iterator>

namespace {

size_t g_spaceForTests = SIZE_MAX;

bool IsReadOnly(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace

ReplacementFile::ReplacementFile(const std::wstring& target) : target_(target)
{
    // Replacing would get round the write protection a technician put on a
    // reference file.
    if (IsReadOnly(target)) {
        error_ = ERROR_ACCESS_DENIED;
        return;
    }
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
    wchar_t temp[MAX_PATH] = {};
    if (GetTempFileNameW(folder.c_str(), L"par", 0, temp) == 0) {
        Failed();
        return;
    }
    temp_ = temp;
    file_ = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsOpen())
        Failed();
}

ReplacementFile::~ReplacementFile()
{
    Close();
    if (!committed_ && !temp_.empty())
        DeleteFileW(temp_.c_str());
}

bool ReplacementFile::Failed()
{
    if (error_ == 0)
        error_ = GetLastError();
    return false;
}

bool ReplacementFile::Write(std::string_view content)
{
    if (!IsOpen())
        return false;
    if (content.size() > MAXDWORD)
        return Failed();
    if (content.size() > g_spaceForTests) {
        error_ = ERROR_DISK_FULL;
        return false;
    }
    if (g_spaceForTests != SIZE_MAX)
        g_spaceForTests -= content.size();
    DWORD written = 0;
    if (!WriteFile(file_, content.data(), static_cast<DWORD>(content.size()), &written, nullptr))
        return Failed();
    if (written != content.size()) {
        error_ = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

bool ReplacementFile::Commit()
{
    if (!IsOpen())
        return false;
    if (!FlushFileBuffers(file_))
        Failed();
    if (!Close())
        Failed();
    if (error_ != 0)
        return false;
    committed_ = MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return committed_ || Failed();
}

bool ReplacementFile::Close()
{
    if (!IsOpen())
        return false;
    const bool closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return closed;
}

std::wstring SystemErrorText(DWORD error)
{
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring result(text, length);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
        result.pop_back();
    if (result.empty())
        result = L"error " + std::to_wstring(error);
    return result;
}

void SetReplacementSpaceForTests(size_t bytes) { g_spaceForTests = bytes; }
