#pragma once
// A fresh simulated board for every test: its own state file in a temporary
// folder, the factory machine, virtual time and an open driver.
#include "axb400.h"
#include "axbsim.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

constexpr int kX = 0, kZoom = 4;
constexpr uint32_t kErased = 0xFFFFFFFF;

class SimBoardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("axbsim_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::create_directories(folder_);
        AxbSim_SetStateFile(TestFile(L"board.state").c_str());
        AxbSim_SetConfigFile(nullptr);
        AxbSim_SetTimeMs(1000);
        AxbSim_Reset();
        ASSERT_EQ(AXB_OpenDrv(), 1);
        AxbSim_ClearCallLog();
    }
    void TearDown() override
    {
        AxbSim_SetTraceFile(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // A file in the test's own folder.
    std::wstring TestFile(const wchar_t* name) const { return (folder_ / name).wstring(); }
    static void WriteText(const std::wstring& path, const std::string& text)
    {
        std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
    }
    static std::string ReadText(const std::wstring& path)
    {
        std::ostringstream text;
        text << std::ifstream(std::filesystem::path(path), std::ios::binary).rdbuf();
        return text.str();
    }

    static int32_t Position(int axis)
    {
        int32_t position = 0;
        EXPECT_EQ(AXB_GetAxisPosValue(0, axis, &position), 1);
        return position;
    }
    // Where the profile stands: the position plus the servo's lag.
    static int32_t Nominal(int axis) { return Position(axis) + Lag(axis); }
    static int32_t Lag(int axis)
    {
        int32_t lag = 0;
        EXPECT_EQ(AXB_GetFollowingError(0, axis, &lag), 1);
        return lag;
    }
    static uint8_t MoveStatus(int axis)
    {
        uint8_t status = 0, error = 0;
        EXPECT_EQ(AXB_GetMoveStatus(0, axis, &status, &error), 1);
        return status;
    }
    static uint8_t ErrorByte(int axis)
    {
        uint8_t status = 0, error = 0;
        EXPECT_EQ(AXB_GetMoveStatus(0, axis, &status, &error), 1);
        return error;
    }
    static uint32_t Param(int number)
    {
        uint32_t value = 0;
        EXPECT_EQ(AXB_GetParam(0, number, &value), 1);
        return value;
    }
    static uint32_t FlashWord(int index)
    {
        uint32_t word = 0;
        EXPECT_EQ(AXB_ReadFlashWord(0, index, &word), 1);
        return word;
    }
    // Advances the clock in 1 ms steps until the axis's move has ended;
    // returns the milliseconds that took (or `limitMs` + 1 when it did not).
    static uint32_t MsUntilEnded(int axis, uint32_t limitMs)
    {
        uint32_t ms = 0;
        for (; ms <= limitMs && !(MoveStatus(axis) & 0x01); ++ms)
            AxbSim_AdvanceTimeMs(1);
        return ms;
    }

    std::filesystem::path folder_;
};
