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
    // Describes the machine in the test's machine.ini: 1 when the board takes it.
    int Describe(const std::string& text) const
    {
        WriteText(TestFile(L"machine.ini"), text);
        return AxbSim_SetConfigFile(TestFile(L"machine.ini").c_str());
    }

    // What a reading call leaves in its out-value; the call must succeed.
    template <class T, class Call>
    static T Out(Call call)
    {
        T value{};
        EXPECT_EQ(call(&value), 1);
        return value;
    }
    static int32_t Position(int axis) { return Out<int32_t>([=](auto* v) { return AXB_GetAxisPosValue(0, axis, v); }); }
    static int32_t Lag(int axis) { return Out<int32_t>([=](auto* v) { return AXB_GetFollowingError(0, axis, v); }); }
    // Where the profile stands: the position plus the servo's lag.
    static int32_t Nominal(int axis) { return Position(axis) + Lag(axis); }
    static uint16_t AxisStatus(int a) { return Out<uint16_t>([=](auto* v) { return AXB_GetAxisStatus(0, a, v); }); }
    static uint8_t MoveStatus(int axis, bool errorByte = false)
    {
        uint8_t status[2] = {};
        EXPECT_EQ(AXB_GetMoveStatus(0, axis, &status[0], &status[1]), 1);
        return status[errorByte];
    }
    static uint8_t ErrorByte(int axis) { return MoveStatus(axis, true); }
    static uint32_t Param(int number) { return Out<uint32_t>([=](auto* v) { return AXB_GetParam(0, number, v); }); }
    static uint32_t FlashWord(int i) { return Out<uint32_t>([=](auto* v) { return AXB_ReadFlashWord(0, i, v); }); }
    // Advances the clock in 1 ms steps until the axis's move has ended;
    // returns the milliseconds that took (or `limitMs` + 1 when it did not).
    static uint32_t MsUntilEnded(int axis, uint32_t limitMs)
    {
        uint32_t ms = 0;
        for (; ms <= limitMs && !(MoveStatus(axis) & 0x01); ++ms)
            AxbSim_AdvanceTimeMs(1);
        return ms;
    }
    // Where the axis stands once its move has ended and the servo's lag has
    // settled, which takes it 50 ms.
    static int32_t Settled(int axis)
    {
        MsUntilEnded(axis, 10000);
        AxbSim_AdvanceTimeMs(50);
        return Position(axis);
    }
    // A new board of the machine described, driver open.
    static void NewBoard()
    {
        AxbSim_Reset();
        ASSERT_EQ(AXB_OpenDrv(), 1);
    }

    std::filesystem::path folder_;
};
