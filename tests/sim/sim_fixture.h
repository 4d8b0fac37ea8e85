#pragma once
// A fresh simulated board for every test: its own state file in a temporary
// folder, the factory machine, virtual time and an open driver.
#include "axb400.h"
#include "axbsim.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

constexpr int kX = 0, kY = 1, kZ = 2, kQ = 3, kZoom = 4;

class SimBoardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file in the test's own folder.
    std::wstring TestFile(const wchar_t* name) const { return folder_ + name; }
    static void WriteText(const std::wstring& path, const std::string& text);
    static std::string ReadText(const std::wstring& path);

    static int32_t Position(int axis);
    static int32_t FollowingError(int axis);
    static uint8_t MoveStatus(int axis);
    static uint8_t ErrorByte(int axis);
    static uint32_t Param(int number);
    static std::string CallLog();
    // Advances the clock in 1 ms steps until the axis's move has ended;
    // returns the milliseconds that took (or `limitMs` + 1 when it did not).
    static uint32_t MsUntilEnded(int axis, uint32_t limitMs);

    std::wstring folder_;
    std::wstring statePath_;
};
