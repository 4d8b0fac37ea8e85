// The Status and Power dialogs as a technician watches them: status words in
// hexadecimal with their bits as boxes, faults shown on the next 100 ms tick,
// nothing rewritten that did not change, encoder errors cleared on request,
// supplies averaged over the last 100 readings across reopening, one of each.
// Box and field numbers are the dialogs' fixed control ids.
#include "core/power_samples.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "status/power_dialog.h"
#include "status/status_dialog.h"
#include "tests/support/program_test.h"

#include <cstdio>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// The ids of the dialog's controls sent a text or a check state while the
// hook is in.
struct ControlWrites {
    static LRESULT CALLBACK Seen(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        const bool write = sent.message == WM_SETTEXT || sent.message == BM_SETCHECK;
        if (code == HC_ACTION && write && GetParent(sent.hwnd) == dialog)
            (sent.message == WM_SETTEXT ? texts : checks).push_back(GetDlgCtrlID(sent.hwnd));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline HWND dialog;
    static inline std::vector<int> texts, checks;
};

class StatusDialog : public ProgramTest {
protected:
    // The program on the simulated board, Status opened from its button.
    void Open(const std::function<void()>& board = {})
    {
        Start(board);
        Press(IDC_STATUS);
        dlg = g_statusDlg;
    }
    void Tick(int periods = 1) { h.Clock().Advance(100u * static_cast<uint32_t>(periods)); }
    bool Checked(int id) const { return IsChecked(dlg, id); }

    HWND dlg = nullptr;
};

// Each bit of a word checks its own box alone, on the next tick after it changed.
TEST_F(StatusDialog, EachBitChecksItsOwnBox)
{
    // X beyond its + fence on the upper switch, Y beyond its - fence on the lower one.
    Open([] {
        AxbSim_PokeParam(68, 300000);
        AxbSim_PlaceAxis(0, 350000);
        AxbSim_PokeParam(109, static_cast<uint32_t>(-40000));
        AxbSim_PlaceAxis(1, -50000);
    });
    EXPECT_EQ(Text(dlg, 1066) + " " + Text(dlg, 1071), "0x55 0xA5");
    // "SW Limit+", "SW Limit -", "HW Limit +", "HW Limit -" of X and Y.
    constexpr int kLimitBoxes[2][4] = {{1470, 1486, 1517, 1520}, {1474, 1489, 1572, 1530}};
    for (int b = 0; b < 4; ++b)
        EXPECT_TRUE(Checked(kLimitBoxes[0][b]) == (b % 2 == 0) && Checked(kLimitBoxes[1][b]) == (b % 2 == 1)) << b;

    // X's and the zoom's Motion Monitor, Following Error, Over Current, Touch
    // Probe Retract and E-Stop.
    constexpr std::pair<uint8_t, std::pair<int, int>> kErrorBoxes[] = {
        {0x01, {1524, 1561}}, {0x02, {1522, 1558}}, {0x04, {1526, 1565}}, {0x08, {1529, 1569}}, {0x80, {1528, 1568}}};
    for (const auto& [bit, boxes] : kErrorBoxes) {
        AxbSim_SetErrorByte(0, bit);
        AxbSim_SetErrorByte(4, bit);
        EXPECT_FALSE(Checked(boxes.first)) << "shown before the timer ran";
        Tick();
        EXPECT_EQ(Text(dlg, 1084) + " " + Text(dlg, 1131), Hex(bit) + " " + Hex(bit));
        for (const auto& [other, otherBoxes] : kErrorBoxes)
            EXPECT_TRUE(Checked(otherBoxes.first) == (other == bit) && Checked(otherBoxes.second) == (other == bit))
                << "error byte " << Hex(bit) << " boxes " << otherBoxes.first << ", " << otherBoxes.second;
    }

    // System status bits 0..15, 0x180 and then each bit alone; bit 7 has no box.
    constexpr int kSystemBoxes[16] = {1585, 1588, 1591, 1594, 1596, 1598, 1600, 0,
                                      1602, 1604, 1606, 1608, 1610, 1612, 1614, 1616};
    for (uint32_t status = 0x180, next = 1; next <= 0x10000; status = next, next <<= 1) {
        AxbSim_SetSystemStatus(status);
        Tick();
        EXPECT_EQ(Text(dlg, 1102), Hex(status));
        for (int bit = 0; bit < 16; ++bit)
            EXPECT_EQ(kSystemBoxes[bit] && Checked(kSystemBoxes[bit]), kSystemBoxes[bit] && (status >> bit & 1))
                << Hex(status) << " bit " << bit;
    }
}

TEST_F(StatusDialog, EncoderErrorsShowAndClearEncoderErrorsClearsEveryAxis)
{
    Open();
    AxbSim_InjectEncoderErrors(2, 1, 0);
    AxbSim_InjectEncoderErrors(3, 0, 1);
    Tick();
    // Z's and Q's "Counter Status", "Encoder Freq Error" and "Encoder Signal Error".
    EXPECT_EQ(Text(dlg, 1114) + " " + Text(dlg, 1119), "0x08 0x10");
    EXPECT_TRUE(!Checked(1446) && Checked(1460) && Checked(1449) && !Checked(1463));

    Forget();
    PressButton(dlg, IDC_STATUS_CLEAR_ENCODER);
    EXPECT_THAT(Calls("AXB_"), ElementsAre("AXB_ResetAxisError(0,0,0)=1", "AXB_ResetAxisError(0,1,0)=1",
                                           "AXB_ResetAxisError(0,2,0)=1", "AXB_ResetAxisError(0,3,0)=1",
                                           "AXB_ResetAxisError(0,4,0)=1", "AXB_ClearEncoderErrors(0,15)=1"));
    Tick();
    EXPECT_EQ(Text(dlg, 1114) + " " + Text(dlg, 1119), "0x00 0x00");
    EXPECT_FALSE(Checked(1460) || Checked(1449));
}

TEST_F(StatusDialog, ARefreshRewritesOnlyWhatChanged)
{
    Open();
    Tick();
    ControlWrites::dialog = dlg;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &ControlWrites::Seen, nullptr, GetCurrentThreadId());
    const auto& texts = ControlWrites::texts;
    const auto& checks = ControlWrites::checks;
    Tick(10);
    EXPECT_TRUE(texts.empty() && checks.empty());

    AxbSim_SetErrorByte(0, 0x01);
    Tick();
    EXPECT_THAT(texts, ElementsAre(IDC_STATUS_ERROR_X));
    EXPECT_THAT(checks, ElementsAre(IDC_STATUS_MONITOR_X));
    // Flash faults change their items (shown signed) and, with them, the system status.
    AxbSim_SetFlashStatus(241, 3);
    AxbSim_SetFlashStatus(246, 0xFFFFFFFF);
    Tick();
    UnhookWindowsHookEx(hook);
    EXPECT_THAT(texts, ElementsAre(IDC_STATUS_ERROR_X, IDC_STATUS_SYSTEM, 1111, 1123));
    EXPECT_THAT(checks, ElementsAre(IDC_STATUS_MONITOR_X, IDC_STATUS_SYS_FLASH_USER, IDC_STATUS_SYS_FLASH_SYS_B));
    EXPECT_EQ(Text(dlg, 1111) + " " + Text(dlg, 1123), "3 -1");
}

TEST_F(StatusDialog, EachDialogExistsAtMostOnceAndPowerOutlivesStatus)
{
    // Top-level windows of this thread with either caption.
    auto windows = [] {
        int found = 0;
        for (const wchar_t* caption : {L"Status", L"Power"})
            for (HWND wnd = nullptr; (wnd = FindWindowExW(nullptr, wnd, nullptr, caption)) != nullptr;)
                found += GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId();
        return found;
    };
    Open();
    EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 100u);
    Press(IDC_STATUS);
    PressButton(dlg, IDC_STATUS_POWER);
    const HWND power = g_powerDlg;
    PressButton(dlg, IDC_STATUS_POWER);
    EXPECT_EQ(g_powerDlg, power);
    EXPECT_EQ(windows(), 2);

    PressButton(dlg, IDC_STATUS_EXIT);
    EXPECT_TRUE(!IsWindow(dlg) && g_statusDlg == nullptr && IsWindow(power));
    EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 0u);
    SendMessageW(OpenStatusDialog(), WM_CLOSE, 0, 0);
    SendMessageW(power, WM_CLOSE, 0, 0);
    EXPECT_EQ(windows(), 0);
}

TEST_F(StatusDialog, WithoutABoardShowsNothingAndPowerStatusOnlyExplains)
{
    Open([] { AxbSim_SetOpenFailures(-1); });
    Tick(5);
    EXPECT_THAT(Calls("AXB_"), IsEmpty());
    for (int id : {1066, 1131, 1119, 1102, 1125})
        EXPECT_EQ(Text(dlg, id), "") << id;

    h.AnswerNextMessageBox(IDOK);
    PressButton(dlg, IDC_STATUS_POWER);
    ASSERT_EQ(h.MessageBoxesSeen().size(), 1u);
    EXPECT_EQ(Narrow(h.MessageBoxesSeen()[0].caption + L": " + h.MessageBoxesSeen()[0].text),
              "Power: This button does not do anything with no hardware attached");
    EXPECT_EQ(g_powerDlg, nullptr);
}

class PowerDialog : public StatusDialog {
protected:
    // Steady supplies, so that every average is exact; opened as the
    // technician gets there, by the Status dialog's "Power Status".
    void OpenPower()
    {
        Open();
        AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 241, 0);
        AxbSim_SetSupplyVoltage(AXBSIM_INTERPOLATOR_SUPPLY, 50, 0);
        AxbSim_SetSupplyVoltage(AXBSIM_ENCODER_SUPPLY, 505, 0);
        PressButton(dlg, IDC_STATUS_POWER);
        power = g_powerDlg;
    }
    std::string Supply() const { return Text(power, IDC_POWER_SUPPLY); }

    HWND power = nullptr;
};

TEST_F(PowerDialog, FirstReadingIsTheAverageAndEachTickMovesItByAHundredth)
{
    AxbSim_SetMotorCurrent(1, 123456);
    OpenPower();
    EXPECT_EQ(Text(power, IDC_POWER_CURRENT_Y), "1234.560") << "read on opening, in hundredths of a milliamp";
    Tick();
    EXPECT_EQ(Supply() + " " + Text(power, IDC_POWER_INTERPOLATOR) + " " + Text(power, IDC_POWER_ENCODER),
              "24.100 5.000 5.050");

    AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 251, 0);
    AxbSim_SetSupplyVoltage(AXBSIM_INTERPOLATOR_SUPPLY, 60, 0);
    Tick(5);
    EXPECT_EQ(Supply(), "24.150");
    Tick(94);
    EXPECT_EQ(Supply(), "25.090") << "the first reading is still one of the hundred";
    Tick();
    EXPECT_EQ(Supply() + " " + Text(power, IDC_POWER_INTERPOLATOR), "25.100 6.000");
}

TEST_F(PowerDialog, ReopeningContinuesTheSampleCounterAndTheRings)
{
    OpenPower();
    Tick();   // fills every ring with 24.1 V
    AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 261, 0);
    Tick();   // ring slot 1 holds 26.1 V
    PressButton(power, IDC_POWER_OK);
    EXPECT_FALSE(IsWindow(power));
    EXPECT_EQ(h.Clock().TimerPeriod(power, IDT_TICK), 0u);

    AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 241, 0);
    Tick(5);   // closed: nothing is sampled
    power = OpenPowerDialog();
    Tick();
    EXPECT_EQ(Supply(), "24.120") << "an average that started over would read 24.100";
    Tick(98);   // slots 3..99 and 0: slot 1 still holds 26.1 V
    EXPECT_EQ(Supply(), "24.120");
    Tick();
    EXPECT_EQ(Supply(), "24.100");
    EXPECT_EQ(g_powerSamples.Count(), 102u);
}

} // namespace
