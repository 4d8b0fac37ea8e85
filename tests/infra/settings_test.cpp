#include "infra/settings.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kVariable[] = L"KRV_SETTINGS";
constexpr wchar_t kSettingsName[] = L"Settings\\TavRosen.ini";
constexpr wchar_t kFileUnderBase[] = L"\\TavRosen\\Settings\\TavRosen.ini";

// Paths here may pass MAX_PATH on purpose; the prefix lets the test reach them.
fs::path Long(const std::wstring& path) { return L"\\\\?\\" + path; }

int CountFiles(const std::wstring& folder)
{
    int files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Long(folder)))
        files += entry.is_regular_file();
    return files;
}

// std::filesystem under Wine cannot remove what lies beyond MAX_PATH.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((Long(folder) / L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName, path = folder + L"\\" + name;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(Long(path).c_str());
            else if (name != L"." && name != L"..")
                RemoveTree(path);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(Long(folder).c_str());
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = fs::temp_directory_path() / (L"stagetune-settings-" + std::to_wstring(GetCurrentProcessId()));
        RemoveTree(base_);
        ASSERT_TRUE(fs::create_directory(base_));
        SetEnvironmentVariableW(kVariable, base_.c_str());
    }
    void TearDown() override
    {
        SetUnitTypeFile(L"");
        RemoveTree(base_);
    }
    void HandEdit(const char* text) const { std::ofstream(fs::path(base_ + kFileUnderBase), std::ios::trunc) << text; }

    std::wstring base_;
};

TEST_F(SettingsTest, PathRulesCreateTheFamilyFolderButNoSettingsFolder)
{
    EXPECT_EQ(ResolveSettingsPath(kSettingsName), base_ + kFileUnderBase);
    EXPECT_TRUE(fs::exists(base_ + L"\\TavRosen"));
    // Without the Settings folder reads give their defaults and writes are lost.
    WriteSettingString(L"stagetune", L"LUX_400", L"1");
    EXPECT_EQ(GetSettingInt(L"stagetune", L"LUX_400", L"4"), 4);
    EXPECT_FALSE(fs::exists(base_ + L"\\TavRosen\\Settings"));
    EXPECT_EQ(CountFiles(base_), 0);

    // A name with two backslashes is a full path already.
    const std::wstring fresh = base_ + L"\\fresh";
    SetEnvironmentVariableW(kVariable, fresh.c_str());
    EXPECT_EQ(ResolveSettingsPath(L"C:\\x\\y.ini"), L"C:\\x\\y.ini");
    EXPECT_FALSE(fs::exists(fresh));

    // Empty or unset: the all-users Documents folder, whose TavRosen folder
    // every test of this Wine prefix shares.
    wchar_t documents[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, documents), S_OK);
    const std::wstring family = std::wstring(documents) + L"\\TavRosen";
    const bool familyExisted = fs::exists(family);
    for (const wchar_t* value : {L"", static_cast<const wchar_t*>(nullptr)}) {
        SetEnvironmentVariableW(kVariable, value);
        EXPECT_EQ(ResolveSettingsPath(kSettingsName), family + L"\\Settings\\TavRosen.ini")
            << (value ? "empty" : "unset");
        EXPECT_TRUE(fs::exists(family));
    }
    if (!familyExisted)
        RemoveDirectoryW(family.c_str());
}

TEST_F(SettingsTest, ValuesReadAsTheScannerReadsThem)
{
    fs::create_directories(base_ + L"\\TavRosen\\Settings");
    HandEdit(("[zoom]\nstop=12abc\nletters=abc\nempty=\nnegative=-17\nhuge=" + std::string(5000, 'x') +
              "\nTurretRetractMM=2.5\nexponent=-1.5e2mm\n")
                 .c_str());
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 30000);
    EXPECT_EQ(GetSettingInt(L"other", L"stop", L"30000"), 30000);
    EXPECT_EQ(GetSettingInt(L"zoom", L"stop", L"30000"), 12);
    EXPECT_EQ(GetSettingInt(L"zoom", L"letters", L"100"), 100);
    EXPECT_EQ(GetSettingInt(L"zoom", L"letters", L"none"), 0);
    EXPECT_EQ(GetSettingInt(L"zoom", L"empty", L"5"), 0);
    EXPECT_EQ(GetSettingInt(L"zoom", L"negative", L"5"), -17);
    EXPECT_EQ(GetSettingInt(L"zoom", L"huge", L"7"), 7);
    EXPECT_EQ(GetSettingDouble(L"zoom", L"TurretRetractMM"), 2.5);
    EXPECT_EQ(GetSettingDouble(L"zoom", L"missing"), 0.0);
    EXPECT_EQ(GetSettingDouble(L"zoom", L"letters"), 0.0);
    EXPECT_EQ(GetSettingDouble(L"zoom", L"exponent"), -150.0);
}

// Values are kept between reads for the 10 ms ticks, but never past a change
// of the file: a hand edit, a sibling program's write, a write of our own, a
// deleted file.
TEST_F(SettingsTest, EveryReadSeesTheFileAsItIsNow)
{
    const std::wstring file = base_ + kFileUnderBase;
    fs::create_directories(base_ + L"\\TavRosen\\Settings");
    HandEdit("[zoom]\r\ntimeout_ms=500\r\n");
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 500);
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 500);
    HandEdit("[zoom]\r\ntimeout_ms=70000\r\n");   // another size
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 70000);
    HandEdit("[zoom]\r\ntimeout_ms=80000\r\n");   // the same size, a later write
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 80000);
    WritePrivateProfileStringW(L"zoom", L"timeout_ms", L"90000", file.c_str());   // a sibling program
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 90000);
    WriteSettingString(L"zoom", L"timeout_ms", L"10000");
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 10000);
    EXPECT_EQ(GetSettingText(L"zoom", L"timeout_ms"), L"10000");
    // The default belongs to the question: another default, another read.
    EXPECT_EQ(GetSettingInt(L"zoom", L"missing", L"7"), 7);
    EXPECT_EQ(GetSettingInt(L"zoom", L"missing", L"8"), 8);
    DeleteFileW(file.c_str());
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 30000);
}

// A test reads "UnitType" from a file of its own: the machine's file is never
// written by a test.
TEST_F(SettingsTest, UnitTypeComesFromTheFileATestPointsAt)
{
    const std::wstring file = base_ + L"\\tavrosen.ini";
    SetUnitTypeFile(file);
    EXPECT_EQ(ReadUnitType(), 0) << "no file yet";
    for (const wchar_t* value : {L"2", L"1"}) {
        WritePrivateProfileStringW(L"stagetune", L"UnitType", value, file.c_str());
        EXPECT_EQ(ReadUnitType(), std::stoi(value));
    }
}

// 228 characters of base folder make a path of exactly 259. Longer bases are
// refused; the Settings folder is there, so a truncated path would leave a
// file behind, and 1500 characters do not fit the variable's buffer.
TEST_F(SettingsTest, OverLongBaseFolderIsRefused)
{
    constexpr size_t kLongestBase = 259 - (std::size(kFileUnderBase) - 1);
    constexpr size_t kNameLength = 100;   // short enough for any file system
    for (size_t length : {kLongestBase, kLongestBase + 1, size_t{1500}}) {
        SCOPED_TRACE(length);
        std::wstring base = base_ + L"\\long\\";
        base.resize(length, L'a');
        for (size_t i = base_.size() + 6 + kNameLength; i + 1 < length; i += kNameLength + 1)
            base[i] = L'\\';
        fs::create_directories(Long(base + L"\\TavRosen\\Settings"));
        SetEnvironmentVariableW(kVariable, base.c_str());
        WriteSettingString(L"stagetune", L"ZoomType", L"9");
        const bool accepted = length == kLongestBase;
        EXPECT_EQ(GetSettingInt(L"stagetune", L"ZoomType", L"4"), accepted ? 9 : 4);
        EXPECT_EQ(GetSettingDouble(L"stagetune", L"ZoomType"), accepted ? 9.0 : 0.0);
        EXPECT_EQ(CountFiles(base_), accepted ? 1 : 0);
        RemoveTree(base_ + L"\\long");
    }
}

} // namespace
