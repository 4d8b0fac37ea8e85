#include "infra/settings.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <map>

namespace {

constexpr wchar_t kSettingsName[] = L"Settings\\TavRosen.ini";
constexpr size_t kPathCapacity = 260;     // 259 characters and the terminator
constexpr size_t kEnvCapacity = 1024;
constexpr size_t kValueCapacity = 1024;

std::wstring g_unitTypeFileOverride;

// Several settings are read on every 10 ms tick (the zoom's), and a profile
// read parses the whole file. A value once read is kept until the file
// changes (its write time or size) or this program writes to it, so a value
// is still read "at the moment of use": an edit by hand or by a sibling
// program is seen at the next access.
struct FileStamp {
    bool exists = false;
    FILETIME written{};
    DWORD sizeLow = 0;
    DWORD sizeHigh = 0;

    bool operator==(const FileStamp& other) const
    {
        return exists == other.exists && written.dwLowDateTime == other.written.dwLowDateTime &&
               written.dwHighDateTime == other.written.dwHighDateTime && sizeLow == other.sizeLow &&
               sizeHigh == other.sizeHigh;
    }
};

struct ProfileCache {
    std::wstring path;
    FileStamp stamp;
    std::map<std::wstring, std::wstring> texts;   // section, key and default -> text
};

ProfileCache g_profileCache;
std::wstring g_documentsFolder;

FileStamp StampOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FileStamp stamp;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return stamp;
    stamp.exists = true;
    stamp.written = data.ftLastWriteTime;
    stamp.sizeLow = data.nFileSizeLow;
    stamp.sizeHigh = data.nFileSizeHigh;
    return stamp;
}

// GetPrivateProfileStringW through the cache.
std::wstring ReadProfileText(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                             const wchar_t* defaultText)
{
    const FileStamp stamp = StampOf(path);
    if (path != g_profileCache.path || !(stamp == g_profileCache.stamp))
        g_profileCache = ProfileCache{path, stamp, {}};
    std::wstring id = std::wstring(section) + L'\n' + key + L'\n' + defaultText;
    auto cached = g_profileCache.texts.find(id);
    if (cached != g_profileCache.texts.end())
        return cached->second;
    wchar_t text[kValueCapacity] = {};
    GetPrivateProfileStringW(section, key, defaultText, text, kValueCapacity, path.c_str());
    return g_profileCache.texts.emplace(std::move(id), text).first->second;
}

// The all-users Documents folder does not move while the program runs.
bool DocumentsFolder(std::wstring& folder)
{
    if (g_documentsFolder.empty()) {
        wchar_t documents[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS | CSIDL_FLAG_CREATE, nullptr, 0, documents)))
            return false;
        g_documentsFolder = documents;
    }
    folder = g_documentsFolder;
    return true;
}

// A name with a backslash that is not its last character and another one
// after it is already a full path.
bool IsCompletePath(const std::wstring& name)
{
    size_t first = name.find(L'\\');
    if (first == std::wstring::npos || first + 1 >= name.size())
        return false;
    return name.find(L'\\', first + 1) != std::wstring::npos;
}

// Appends to a bounded path; false when the result would not fit, so an
// over-long base folder refuses the access instead of overflowing.
bool Append(std::wstring& path, const wchar_t* piece)
{
    if (path.size() + wcslen(piece) > kPathCapacity - 1)
        return false;
    path += piece;
    return true;
}

// The resolved path, or an empty text when it would not fit its buffer.
std::wstring ResolveOrRefuse(const std::wstring& name)
{
    if (IsCompletePath(name))
        return name;

    wchar_t env[kEnvCapacity] = {};
    DWORD envLength = GetEnvironmentVariableW(L"KRV_SETTINGS", env, kEnvCapacity);
    std::wstring path;
    if (envLength >= kEnvCapacity)
        return {};
    if (env[0] != L'\0') {
        if (!Append(path, env))
            return {};
    } else {
        if (!DocumentsFolder(path))
            return name;
    }
    if (!Append(path, L"\\") || !Append(path, L"TavRosen"))
        return {};
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    if (!Append(path, L"\\") || !Append(path, name.c_str()))
        return {};
    return path;
}

} // namespace

std::wstring ResolveSettingsPath(const std::wstring& name)
{
    return ResolveOrRefuse(name);
}

int GetSettingInt(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText)
{
    int value = 0;
    std::wstring path = ResolveOrRefuse(kSettingsName);
    const std::wstring text = path.empty() ? std::wstring(defaultText).substr(0, kValueCapacity - 1)
                                           : ReadProfileText(path, section, key, defaultText);
    // A present but empty key scans as end of input, not as "no number", so
    // the default is not consulted and the value stays 0.
    if (swscanf(text.c_str(), L"%d", &value) == 0)
        swscanf(defaultText, L"%d", &value);
    return value;
}

double GetSettingDouble(const wchar_t* section, const wchar_t* key)
{
    constexpr wchar_t kDefault[] = L"0.0";
    double value = 0.0;
    std::wstring path = ResolveOrRefuse(kSettingsName);
    const std::wstring text = path.empty() ? std::wstring(kDefault) : ReadProfileText(path, section, key, kDefault);
    if (swscanf(text.c_str(), L"%lf", &value) == 0)
        swscanf(kDefault, L"%lf", &value);
    return value;
}

std::wstring GetSettingText(const wchar_t* section, const wchar_t* key)
{
    std::wstring path = ResolveOrRefuse(kSettingsName);
    return path.empty() ? std::wstring() : ReadProfileText(path, section, key, L"");
}

void WriteSettingString(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    std::wstring path = ResolveOrRefuse(kSettingsName);
    if (path.empty())
        return;
    WritePrivateProfileStringW(section, key, value, path.c_str());
    // Within the file's time resolution a write might not change its stamp.
    g_profileCache = ProfileCache{};
}

int ReadUnitType()
{
    const wchar_t* file = g_unitTypeFileOverride.empty() ? kUnitTypeFile : g_unitTypeFileOverride.c_str();
    return static_cast<int>(GetPrivateProfileIntW(L"stagetune", L"UnitType", 0, file));
}

void SetUnitTypeFile(const std::wstring& path)
{
    g_unitTypeFileOverride = path;
}
