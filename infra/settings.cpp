#include "infra/settings.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>

namespace {

constexpr wchar_t kSettingsName[] = L"Settings\\TavRosen.ini";
constexpr size_t kPathCapacity = 260;     // 259 characters and the terminator
constexpr size_t kEnvCapacity = 1024;
constexpr size_t kValueCapacity = 1024;

std::wstring g_unitTypeFileOverride;

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
        wchar_t documents[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS | CSIDL_FLAG_CREATE, nullptr, 0, documents)))
            return name;
        path = documents;
    }
    if (!Append(path, L"\\") || !Append(path, L"TavRosen"))
        return {};
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
    wchar_t text[kValueCapacity] = {};
    if (path.empty())
        wcsncpy(text, defaultText, kValueCapacity - 1);
    else
        GetPrivateProfileStringW(section, key, defaultText, text, kValueCapacity, path.c_str());
    // A present but empty key scans as end of input, not as "no number", so
    // the default is not consulted and the value stays 0.
    if (swscanf(text, L"%d", &value) == 0)
        swscanf(defaultText, L"%d", &value);
    return value;
}

double GetSettingDouble(const wchar_t* section, const wchar_t* key)
{
    constexpr wchar_t kDefault[] = L"0.0";
    double value = 0.0;
    std::wstring path = ResolveOrRefuse(kSettingsName);
    wchar_t text[kValueCapacity] = {};
    if (path.empty())
        wcscpy(text, kDefault);
    else
        GetPrivateProfileStringW(section, key, kDefault, text, kValueCapacity, path.c_str());
    if (swscanf(text, L"%lf", &value) == 0)
        swscanf(kDefault, L"%lf", &value);
    return value;
}

std::wstring GetSettingText(const wchar_t* section, const wchar_t* key)
{
    std::wstring path = ResolveOrRefuse(kSettingsName);
    wchar_t text[kValueCapacity] = {};
    if (!path.empty())
        GetPrivateProfileStringW(section, key, L"", text, kValueCapacity, path.c_str());
    return text;
}

void WriteSettingString(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    std::wstring path = ResolveOrRefuse(kSettingsName);
    if (!path.empty())
        WritePrivateProfileStringW(section, key, value, path.c_str());
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
