#pragma once
// The settings file shared with the sibling applications of the family:
// "Settings\TavRosen.ini" under the folder named by KRV_SETTINGS, or under
// the all-users Documents folder. Resolved anew on every access, so a changed
// environment or a newly created folder takes effect at once; a value read is
// kept only while the file stays unchanged.
#include <string>

// Empty when the path would not fit 259 characters: the access is refused.
std::wstring ResolveSettingsPath(const std::wstring& name);

int GetSettingInt(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText);
double GetSettingDouble(const wchar_t* section, const wchar_t* key);
// A key's text as it stands (at most 1023 characters); empty when missing.
std::wstring GetSettingText(const wchar_t* section, const wchar_t* key);
void WriteSettingString(const wchar_t* section, const wchar_t* key, const wchar_t* value);

// "UnitType" is read from this fixed file, never from the resolved one.
inline constexpr wchar_t kUnitTypeFile[] = L"c:/Users/Public/Documents/TavRosen/Settings/tavrosen.ini";
int ReadUnitType();
// Tests point ReadUnitType at a file of their own, so that the machine's file
// is never written by a test; an empty text restores kUnitTypeFile.
void SetUnitTypeFile(const std::wstring& path);
