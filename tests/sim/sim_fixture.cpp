#include "sim_fixture.h"

#include <algorithm>
#include <vector>

void SimBoardTest::SetUp()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    std::replace(name.begin(), name.end(), '/', '_'); // parameterised names

    folder_ = std::wstring(temp) + L"axbsim_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
              std::wstring(name.begin(), name.end()) + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    statePath_ = TestFile(L"board.state");
    AxbSim_SetStateFile(statePath_.c_str());
    AxbSim_SetConfigFile(nullptr);
    AxbSim_SetTimeMs(1000);
    AxbSim_Reset();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_ClearCallLog();
}

void SimBoardTest::TearDown()
{
    AxbSim_SetTraceFile(nullptr);
    AxbSim_SetConfigFile(nullptr);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileW((folder_ + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder_.c_str());
}

void SimBoardTest::WriteText(const std::wstring& path, const std::string& text)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string SimBoardTest::ReadText(const std::wstring& path)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

int32_t SimBoardTest::Position(int axis)
{
    int32_t position = 0;
    EXPECT_EQ(AXB_GetAxisPosValue(0, axis, &position), 1);
    return position;
}

int32_t SimBoardTest::FollowingError(int axis)
{
    int32_t lag = 0;
    EXPECT_EQ(AXB_GetFollowingError(0, axis, &lag), 1);
    return lag;
}

uint8_t SimBoardTest::MoveStatus(int axis)
{
    uint8_t status = 0, error = 0;
    EXPECT_EQ(AXB_GetMoveStatus(0, axis, &status, &error), 1);
    return status;
}

uint8_t SimBoardTest::ErrorByte(int axis)
{
    uint8_t status = 0, error = 0;
    EXPECT_EQ(AXB_GetMoveStatus(0, axis, &status, &error), 1);
    return error;
}

uint32_t SimBoardTest::Param(int number)
{
    uint32_t value = 0;
    EXPECT_EQ(AXB_GetParam(0, number, &value), 1);
    return value;
}

std::string SimBoardTest::CallLog()
{
    std::vector<char> buffer(AxbSim_GetCallLog(nullptr, 0) + 1);
    AxbSim_GetCallLog(buffer.data(), buffer.size());
    return buffer.data();
}

uint32_t SimBoardTest::MsUntilEnded(int axis, uint32_t limitMs)
{
    for (uint32_t ms = 0; ms <= limitMs; ++ms) {
        if (MoveStatus(axis) & 0x01)
            return ms;
        AxbSim_AdvanceTimeMs(1);
    }
    return limitMs + 1;
}
