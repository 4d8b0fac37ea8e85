#include "params/goto_settings.h"

#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/number_text.h"
#include "core/unit_conversion.h"
#include "infra/log.h"
#include "infra/program_folder.h"

#include <windows.h>

#include <cwchar>
#include <optional>

namespace {

constexpr wchar_t kZoomIniName[] = L"zoom.ini";
constexpr wchar_t kTargetKey[] = L"Target mm";
constexpr wchar_t kVelocityKey[] = L"Vel Nominal Percent";
constexpr wchar_t kJoystickKey[] = L"Joystick Enabled";
constexpr wchar_t kTargetDefault[] = L"5.0";
constexpr wchar_t kVelocityDefault[] = L"100.0";
constexpr wchar_t kJoystickDefault[] = L"1";
constexpr size_t kValueChars = 128;
constexpr size_t kSectionChars = 32;

std::wstring g_zoomIniPath;

struct Section {
    wchar_t name[kSectionChars];
    explicit Section(int axis) { std::swprintf(name, kSectionChars, L"CNC AXIS %d", axis); }
};

std::wstring ReadValue(const Section& section, const wchar_t* key, const wchar_t* defaultText)
{
    wchar_t text[kValueChars] = {};
    GetPrivateProfileStringW(section.name, key, defaultText, text, kValueChars, g_zoomIniPath.c_str());
    return text;
}

void ReadFloat(const Section& section, const wchar_t* key, const wchar_t* defaultText, float& into)
{
    // "%g" and "%d" as the file has always been read: the number ends where it
    // cannot continue.
    if (const std::optional<float> value = LeadingFloat(ReadValue(section, key, defaultText)))
        into = *value;
}

void ReadFlag(const Section& section, const wchar_t* key, const wchar_t* defaultText, bool& into)
{
    if (const std::optional<int32_t> value = LeadingInteger(ReadValue(section, key, defaultText)))
        into = *value != 0;
}

void WriteText(const Section& section, const wchar_t* key, const wchar_t* text)
{
    WritePrivateProfileStringW(section.name, key, text, g_zoomIniPath.c_str());
}

// "%g" as the file has always held its values; a value that six digits do
// not give back (a tiny percent, a target near the smallest float) is
// written with the nine that give back every float: what is written is
// what is read.
void WriteFloat(const Section& section, const wchar_t* key, float value)
{
    wchar_t text[kValueChars];
    std::swprintf(text, kValueChars, L"%g", static_cast<double>(value));
    if (LeadingFloat(text) != value)
        std::swprintf(text, kValueChars, L"%.9g", static_cast<double>(value));
    WriteText(section, key, text);
}

void BuildZoomIniPath()
{
    const std::wstring folder = ProgramFolder();
    g_zoomIniPath = folder + kZoomIniName;
    g_log.Write(folder.c_str());
    g_log.Write(kZoomIniName);
    g_log.Write("8");
    g_log.Write("\n");
    g_log.Write("filename is now ");
    g_log.Write(g_zoomIniPath.c_str());
    g_log.Write("\n");
}

} // namespace

void LoadZoomIniSettings()
{
    BuildZoomIniPath();
    for (int a = 0; a < kAxisCount; ++a) {
        const Section section(a);
        ReadFloat(section, kTargetKey, kTargetDefault, g_targetMm[a]);
        if (a < kEncoderAxisCount)
            SetStepperCalibrationFromRecord(a);
        ReadFloat(section, kVelocityKey, kVelocityDefault, g_velPercent[a]);
        ReadFlag(section, kJoystickKey, kJoystickDefault, g_joystickEnabled[a]);
    }
}

void SaveZoomIniSettings()
{
    // Without a board the settings were never loaded: writing the start
    // values would overwrite the technician's file.
    if (g_zoomIniPath.empty())
        return;
    for (int a = 0; a < kAxisCount; ++a) {
        const Section section(a);
        WriteFloat(section, kTargetKey, g_targetMm[a]);
        WriteFloat(section, kVelocityKey, g_velPercent[a]);
        WriteText(section, kJoystickKey, g_joystickEnabled[a] ? L"1" : L"0");
    }
}

const std::wstring& ZoomIniPath() { return g_zoomIniPath; }

void ResetGotoSettings() { g_zoomIniPath.clear(); }
