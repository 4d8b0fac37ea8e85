#include "scope/scope_files.h"

#include <commdlg.h>

#include "infra/user_prompts.h"
#include "scope/scope_view.h"
#include "ui/bmp_picture.h"

namespace {

struct FileKindTexts {
    const wchar_t* filter;
    const wchar_t* extension;
    const wchar_t* defaultName;
};
constexpr FileKindTexts kFileKinds[] = {
    {L"Scope capture (*.csv)\0*.csv\0All files (*.*)\0*.*\0", L"csv", L"capture.csv"},
    {L"Bitmap picture (*.bmp)\0*.bmp\0", L"bmp", L"scope.bmp"},
    {L"Move response runs (*.csv)\0*.csv\0All files (*.*)\0*.*\0", L"csv", L"move-response.csv"},
};

class File {
public:
    File(const std::wstring& path, bool write)
        : handle_(CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, write ? 0 : FILE_SHARE_READ,
                              nullptr, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~File()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    HANDLE Handle() const { return handle_; }
    bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

} // namespace

std::optional<std::wstring> AskScopeFileName(HWND owner, ScopeFileKind kind, bool save)
{
    const FileKindTexts& texts = kFileKinds[static_cast<int>(kind)];
    std::wstring file = AskFileName({owner, nullptr, texts.filter, save ? texts.defaultName : L"", {},
                                     texts.extension, DWORD(save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST), save});
    if (file.empty())
        return std::nullopt;
    return file;
}

std::optional<std::string> ReadScopeFile(const std::wstring& path, size_t limit)
{
    File file(path, false);
    LARGE_INTEGER size{};
    if (!file.Open() || !GetFileSizeEx(file.Handle(), &size) || static_cast<uint64_t>(size.QuadPart) > limit)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Handle(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

bool WriteScopeFile(const std::wstring& path, const std::string& bytes)
{
    File file(path, true);
    DWORD written = 0;
    return file.Open() &&
           WriteFile(file.Handle(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ScopeViewBitmap(int width, int height, int dpi)
{
    return DrawBmpPicture(width, height,
                          [&](HDC dc) { PaintScopeView(dc, RECT{0, 0, width, height}, TheScopeView(), dpi); });
}
