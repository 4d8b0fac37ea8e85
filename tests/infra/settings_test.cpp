#include "infra/settings.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr wchar_t kVariable[] = L"KRV_SETTINGS";
constexpr wchar_t kSettingsName[] = L"Settings\\TavRosen.ini";
constexpr wchar_t kFileUnderBase[] = L"\\TavRosen\\Settings\\TavRosen.ini";

// Paths in these tests may pass MAX_PATH on purpose; the prefix lets the
// test itself reach them.
std::wstring Long(const std::wstring& path)
{
    return L"\\\\?\\" + path;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Calls visit(path, isFolder) for everything below folder, children first.
template <class Visit>
void Walk(const std::wstring& folder, Visit visit)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Long(folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (isFolder)
            Walk(folder + L"\\" + name, visit);
        visit(folder + L"\\" + name, isFolder);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

int CountFiles(const std::wstring& folder)
{
    int files = 0;
    Walk(folder, [&](const std::wstring&, bool isFolder) { files += !isFolder; });
    return files;
}

void RemoveTree(const std::wstring& folder)
{
    Walk(folder, [](const std::wstring& path, bool isFolder) {
        if (isFolder)
            RemoveDirectoryW(Long(path).c_str());
        else
            DeleteFileW(Long(path).c_str());
    });
    RemoveDirectoryW(Long(folder).c_str());
}

// Creates every missing folder of path below root.
void CreateFolders(const std::wstring& root, const std::wstring& path)
{
    for (size_t end = path.find(L'\\', root.size() + 1); end != std::wstring::npos; end = path.find(L'\\', end + 1))
        CreateDirectoryW(Long(path.substr(0, end)).c_str(), nullptr);
    CreateDirectoryW(Long(path).c_str(), nullptr);
}

// A folder below root whose full path is exactly length characters, made of
// names short enough for any file system.
std::wstring FolderOfLength(const std::wstring& root, size_t length)
{
    constexpr size_t kNameLength = 100;
    std::wstring path = root + L"\\long\\";
    path.resize(length, L'a');
    for (size_t i = root.size() + 6 + kNameLength; i + 1 < length; i += kNameLength + 1)
        path[i] = L'\\';
    return path;
}

// The variable as the test found it, put back however the test ends.
class SavedVariable {
public:
    SavedVariable()
    {
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableW(kVariable, nullptr, 0);
        existed_ = length != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        if (length != 0) {
            value_.resize(length);
            value_.resize(GetEnvironmentVariableW(kVariable, value_.data(), length));
        }
    }
    ~SavedVariable() { SetEnvironmentVariableW(kVariable, existed_ ? value_.c_str() : nullptr); }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    bool existed_ = false;
    std::wstring value_;
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        base_ = temp + (L"stagetune-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-") +
                std::wstring(test.begin(), test.end());
        RemoveTree(base_);
        ASSERT_TRUE(CreateDirectoryW(base_.c_str(), nullptr));
        SetEnvironmentVariableW(kVariable, base_.c_str());
    }
    void TearDown() override { RemoveTree(base_); }

    std::wstring SettingsFolder() const { return base_ + L"\\TavRosen\\Settings"; }

    // The settings file as a sibling application might have left it.
    void WriteSettingsFile(const std::string& text) const
    {
        CreateFolders(base_, SettingsFolder());
        std::ofstream(std::filesystem::path(base_ + kFileUnderBase)) << text;
    }

    SavedVariable saved_;
    std::wstring base_;
};

TEST_F(SettingsTest, PathLiesUnderTheFolderNamedByTheVariable)
{
    EXPECT_EQ(ResolveSettingsPath(kSettingsName), base_ + kFileUnderBase);
    EXPECT_TRUE(Exists(base_ + L"\\TavRosen"));
    EXPECT_FALSE(Exists(SettingsFolder()));
    EXPECT_EQ(ResolveSettingsPath(L"krv.ini"), base_ + L"\\TavRosen\\krv.ini");
}

TEST_F(SettingsTest, NameWithTwoBackslashesIsAlreadyAFullPath)
{
    std::wstring fresh = base_ + L"\\fresh";
    SetEnvironmentVariableW(kVariable, fresh.c_str());
    EXPECT_EQ(ResolveSettingsPath(L"C:\\x\\y.ini"), L"C:\\x\\y.ini");
    EXPECT_FALSE(Exists(fresh));
}

TEST_F(SettingsTest, EmptyVariableMeansTheAllUsersDocumentsFolder)
{
    wchar_t documents[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, documents), S_OK);
    std::wstring family = std::wstring(documents) + L"\\TavRosen";
    bool familyExisted = Exists(family);

    for (const wchar_t* value : {L"", static_cast<const wchar_t*>(nullptr)}) {
        SetEnvironmentVariableW(kVariable, value);
        EXPECT_EQ(ResolveSettingsPath(kSettingsName), family + L"\\Settings\\TavRosen.ini") << (value ? "empty" : "unset");
        EXPECT_TRUE(Exists(family));
    }
    // The folder is shared by every test of this Wine prefix.
    if (!familyExisted)
        RemoveDirectoryW(family.c_str());
}

TEST_F(SettingsTest, IntegersReadAsTheScannerReadsThem)
{
    WriteSettingsFile("[zoom]\nstop=12abc\nletters=abc\nempty=\nnegative=-17\nhuge=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(GetSettingInt(L"zoom", L"timeout_ms", L"30000"), 30000);
    EXPECT_EQ(GetSettingInt(L"other", L"stop", L"30000"), 30000);
    EXPECT_EQ(GetSettingInt(L"zoom", L"stop", L"30000"), 12);
    EXPECT_EQ(GetSettingInt(L"zoom", L"letters", L"100"), 100);
    EXPECT_EQ(GetSettingInt(L"zoom", L"letters", L"none"), 0);
    EXPECT_EQ(GetSettingInt(L"zoom", L"empty", L"5"), 0);
    EXPECT_EQ(GetSettingInt(L"zoom", L"negative", L"5"), -17);
    EXPECT_EQ(GetSettingInt(L"zoom", L"huge", L"7"), 7);
}

TEST_F(SettingsTest, DoublesReadAsTheScannerReadsThem)
{
    WriteSettingsFile("[Zoom]\nTurretRetractMM=2.5\nletters=abc\nexponent=-1.5e2mm\n");
    EXPECT_EQ(GetSettingDouble(L"Zoom", L"TurretRetractMM"), 2.5);
    EXPECT_EQ(GetSettingDouble(L"Zoom", L"missing"), 0.0);
    EXPECT_EQ(GetSettingDouble(L"Zoom", L"letters"), 0.0);
    EXPECT_EQ(GetSettingDouble(L"Zoom", L"exponent"), -150.0);
}

TEST_F(SettingsTest, WrittenValuesReadBackFromTheResolvedFile)
{
    CreateFolders(base_, SettingsFolder());
    WriteSettingString(L"CNC", L"SetupSequencerActive", L"1");
    EXPECT_TRUE(Exists(base_ + kFileUnderBase));
    EXPECT_EQ(GetSettingInt(L"CNC", L"SetupSequencerActive", L"0"), 1);
    WriteSettingString(L"CNC", L"SetupSequencerActive", L"7");
    WriteSettingString(L"Lights", L"ZTracQMaxDistance", L"0.25");
    EXPECT_EQ(GetSettingInt(L"CNC", L"SetupSequencerActive", L"0"), 7);
    EXPECT_EQ(GetSettingDouble(L"Lights", L"ZTracQMaxDistance"), 0.25);

    // Every access follows the variable as it is now.
    std::wstring other = base_ + L"\\other";
    CreateFolders(base_, other + L"\\TavRosen\\Settings");
    SetEnvironmentVariableW(kVariable, other.c_str());
    EXPECT_EQ(GetSettingInt(L"CNC", L"SetupSequencerActive", L"0"), 0);
    SetEnvironmentVariableW(kVariable, base_.c_str());
    EXPECT_EQ(GetSettingInt(L"CNC", L"SetupSequencerActive", L"0"), 7);
}

TEST_F(SettingsTest, MissingSettingsFolderReadsDefaultsAndLosesWrites)
{
    WriteSettingString(L"stagetune", L"LUX_400", L"1");
    EXPECT_EQ(GetSettingInt(L"stagetune", L"LUX_400", L"4"), 4);
    EXPECT_FALSE(Exists(SettingsFolder()));
    EXPECT_EQ(CountFiles(base_), 0);
}

// 228 characters of base folder make a path of exactly 259. Longer bases are
// refused; the Settings folder is there, so a truncated path would leave a
// file behind, and the 1500 characters do not fit the variable's buffer.
TEST_F(SettingsTest, OverLongBaseFolderIsRefused)
{
    constexpr size_t kLongestBase = 259 - (sizeof(kFileUnderBase) / sizeof(wchar_t) - 1);
    for (size_t length : {kLongestBase, kLongestBase + 1, size_t{600}, size_t{1500}}) {
        SCOPED_TRACE(length);
        std::wstring base = FolderOfLength(base_, length);
        CreateFolders(base_, base + L"\\TavRosen\\Settings");
        SetEnvironmentVariableW(kVariable, base.c_str());

        WriteSettingString(L"stagetune", L"ZoomType", L"9");
        bool accepted = length == kLongestBase;
        EXPECT_EQ(GetSettingInt(L"stagetune", L"ZoomType", L"4"), accepted ? 9 : 4);
        EXPECT_EQ(GetSettingDouble(L"stagetune", L"ZoomType"), accepted ? 9.0 : 0.0);
        EXPECT_EQ(CountFiles(base_), accepted ? 1 : 0);
        RemoveTree(base_ + L"\\long");
    }
}

} // namespace
