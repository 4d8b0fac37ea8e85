#pragma once
// The program with its Lamp Dialog, as a technician drives it: sliders moved,
// levels typed, boxes checked, the 5 ms timer let run.
#include "core/flash_items.h"
#include "infra/clock.h"
#include "infra/settings.h"
#include "lamp/lamp_dialog.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_flash.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <filesystem>
#include <string>

namespace lamp_test {

// The dialog's controls by their fixed numbers.
inline constexpr int kLampButton = 1234;
inline constexpr int kSliders[10] = {1375, 1379, 1383, 1391, 1397, 1401, 1405, 1409, 1415, 1420};
inline constexpr int kFields[10] = {1465, 1467, 1471, 1475, 1478, 1481, 1484, 1487, 1491, 1494};
inline constexpr int kSwitchBoxes[4] = {1502, 1504, 1508, 1510};
inline constexpr int kLux400Box = 1513;
inline constexpr int kLaserBox = 1514;
inline constexpr int kOkButton = 1028;
inline constexpr int kApplyLuxButton = 1029;
inline constexpr int kTestButton = 1033;
inline constexpr int kTimerMs = 5;

// Program sleeps take real time too (the virtual clock still moves by them
// and still fires the timers), so that the lamp box stand-in, which stamps
// what it receives with its own clock, sees the program's spacing.
class SleepingClock final : public ClockSource {
public:
    explicit SleepingClock(VirtualClock& clock) : clock_(clock) { InstallClock(this); }
    ~SleepingClock() override { InstallClock(&clock_); }
    SleepingClock(const SleepingClock&) = delete;
    SleepingClock& operator=(const SleepingClock&) = delete;

    uint64_t Now64() override { return clock_.Now64(); }
    void Sleep(uint32_t ms) override
    {
        ::Sleep(ms);
        clock_.Sleep(ms);
    }
    void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs) override { clock_.StartTimer(wnd, id, periodMs); }
    void StopTimer(HWND wnd, UINT_PTR id) override { clock_.StopTimer(wnd, id); }

private:
    VirtualClock& clock_;
};

class LampFixture : public ::testing::Test {
protected:
    LampFixture()
    {
        // Settings are written into a file whose folder must exist.
        std::filesystem::create_directories(h.Folder() / L"settings" / L"TavRosen" / L"Settings");
    }

    // The machine's lamps on the serial box ("Lamp RS232" in the board's
    // flash record) or on the board's outputs.
    void StartProgram(bool serialBox)
    {
        FlashItemValue flags;
        flags.byteValue = serialBox ? 2 : 0;
        WriteItemToSimFlash(1096, flags);
        main = h.StartProgram();
        // The first main-timer tick finds the board for the zoom's step and
        // reads the flash record again: let it pass before the test's own lines.
        h.Clock().Advance(10);
        h.Log().Clear();
        AxbSim_ClearCallLog();
    }

    HWND OpenDialog()
    {
        PressButton(main, kLampButton);
        return g_lampDlg;
    }

    void Tick() { h.Clock().Advance(kTimerMs); }

    void MoveSlider(HWND dialog, int channel, int level)
    {
        SendDlgItemMessageW(dialog, kSliders[channel], TBM_SETPOS, TRUE, level);
        Tick();
    }
    int SliderPosition(HWND dialog, int channel)
    {
        return static_cast<int>(SendDlgItemMessageW(dialog, kSliders[channel], TBM_GETPOS, 0, 0));
    }
    void TypeLevel(HWND dialog, int channel, const std::wstring& text)
    {
        TypeText(dialog, kFields[channel], text);
        Tick();
    }
    void SetBox(HWND dialog, int id, bool checked)
    {
        CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
        Tick();
    }

    ProgramHarness h;
    SleepingClock clock{h.Clock()};
    HWND main = nullptr;
};

} // namespace lamp_test
