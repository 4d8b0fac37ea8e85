#pragma once
// The program with its Lamp Dialog, as a technician drives it: sliders moved,
// levels typed, boxes checked, the 5 ms timer let run.
#include "core/flash_items.h"
#include "lamp/lamp_dialog.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "tests/support/sim_flash.h"

#include <commctrl.h>

namespace lamp_test {

using namespace ::testing;

inline constexpr int kSliders[10] = {IDC_LAMP_SLIDER_1, IDC_LAMP_SLIDER_2, IDC_LAMP_SLIDER_3, IDC_LAMP_SLIDER_4,
                                     IDC_LAMP_SLIDER_5, IDC_LAMP_SLIDER_6, IDC_LAMP_SLIDER_7, IDC_LAMP_SLIDER_8,
                                     IDC_LAMP_SLIDER_9, IDC_LAMP_SLIDER_10};
inline constexpr int kFields[10] = {IDC_LAMP_LEVEL_1, IDC_LAMP_LEVEL_2, IDC_LAMP_LEVEL_3, IDC_LAMP_LEVEL_4,
                                    IDC_LAMP_LEVEL_5, IDC_LAMP_LEVEL_6, IDC_LAMP_LEVEL_7, IDC_LAMP_LEVEL_8,
                                    IDC_LAMP_LEVEL_9, IDC_LAMP_LEVEL_10};
inline constexpr int kSwitchBoxes[4] = {IDC_LAMP_SWITCH_1, IDC_LAMP_SWITCH_2, IDC_LAMP_SWITCH_3, IDC_LAMP_SWITCH_4};
inline constexpr int kTimerMs = 5;

// Program sleeps take real time too (the virtual clock still moves by them
// and still fires the timers), so that the lamp box stand-in, which stamps
// what it receives with its own clock, sees the program's spacing.
class SleepingClock final : public ClockSource {
public:
    explicit SleepingClock(VirtualClock& clock) : clock_(clock) { InstallClock(this); }
    ~SleepingClock() override { InstallClock(&clock_); }

    uint64_t Now64() override { return clock_.Now64(); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); clock_.Sleep(ms); }
    void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs) override { clock_.StartTimer(wnd, id, periodMs); }
    void StopTimer(HWND wnd, UINT_PTR id) override { clock_.StopTimer(wnd, id); }

private:
    VirtualClock& clock_;
};

class LampTest : public ProgramTest {
protected:
    // The machine's lamps on the serial box ("Lamp RS232" in the board's
    // flash record) or on the board's outputs.
    void StartWithLamps(bool serialBox)
    {
        Start([serialBox] { WriteItemToSimFlash(1096, {.byteValue = static_cast<uint8_t>(serialBox ? 2 : 0)}); });
    }
    HWND OpenDialog()
    {
        Press(IDC_LAMP);
        return g_lampDlg;
    }
    void Tick() { h.Clock().Advance(kTimerMs); }
    // Each move of the technician's, then one tick of the dialog's timer.
    void MoveSlider(HWND dialog, int channel, int level)
    {
        SendDlgItemMessageW(dialog, kSliders[channel], TBM_SETPOS, TRUE, level);
        Tick();
    }
    void TypeLevel(HWND dialog, int channel, const std::wstring& text) { TypeText(dialog, kFields[channel], text); Tick(); }
    void SetBox(HWND dialog, int id, bool checked) { CheckDlgButton(dialog, id, checked); Tick(); }
    static int SliderPosition(HWND dialog, int channel)
    {
        return static_cast<int>(SendDlgItemMessageW(dialog, kSliders[channel], TBM_GETPOS, 0, 0));
    }

    SleepingClock clock{h.Clock()};
};

} // namespace lamp_test
