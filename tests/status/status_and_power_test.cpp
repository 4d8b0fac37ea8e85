// The Status and Power dialogs as a technician watches them: status words in
// hexadecimal with their bits as boxes, faults shown on the next 100 ms tick,
// nothing rewritten that did not change, encoder errors cleared on request,
// supplies averaged over the last 100 readings across reopening, one of each.
#include "core/power_samples.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "status/power_dialog.h"
#include "status/status_dialog.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>

#include <cstdio>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int kAxes = 5;
constexpr int kErrorFields[kAxes] = {1084, 1088, 1093, 1098, 1131};
// The error byte's bits and the box of each axis that shows it: Motion
// Monitor, Following Error, Over Current, Touch Probe Retract, E-Stop.
struct ErrorBox { uint8_t bit; int boxes[kAxes]; };
constexpr ErrorBox kErrorBoxes[] = {
    {0x01, {1524, 1534, 1540, 1546, 1561}}, {0x02, {1522, 1532, 1539, 1544, 1558}},
    {0x04, {1526, 1536, 1541, 1549, 1565}}, {0x08, {1529, 1545, 1547, 1553, 1569}},
    {0x80, {1528, 1537, 1542, 1552, 1568}},
};
// System status bit -> box; bit 7 has none.
constexpr int kSystemBoxes[16] = {1585, 1588, 1591, 1594, 1596, 1598, 1600, 0,
                                  1602, 1604, 1606, 1608, 1610, 1612, 1614, 1616};

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// Top-level windows of this thread with exactly this caption.
int WindowsCaptioned(const wchar_t* caption)
{
    int found = 0;
    for (HWND wnd = nullptr; (wnd = FindWindowExW(nullptr, wnd, nullptr, caption)) != nullptr;)
        found += GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId();
    return found;
}

// The ids of the dialog's controls sent a text (WM_SETTEXT) or a check
// state (BM_SETCHECK) while this lives.
class ControlWrites {
public:
    explicit ControlWrites(HWND dialog)
        : dialog_(dialog), hook_(SetWindowsHookExW(WH_CALLWNDPROC, &Seen, nullptr, GetCurrentThreadId()))
    {
        active_ = this;
    }
    ~ControlWrites() { UnhookWindowsHookEx(hook_); }
    ControlWrites(const ControlWrites&) = delete;
    ControlWrites& operator=(const ControlWrites&) = delete;

    std::vector<int> texts, checks;

private:
    static LRESULT CALLBACK Seen(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && GetParent(sent.hwnd) == active_->dialog_) {
            if (sent.message == WM_SETTEXT)
                active_->texts.push_back(GetDlgCtrlID(sent.hwnd));
            else if (sent.message == BM_SETCHECK)
                active_->checks.push_back(GetDlgCtrlID(sent.hwnd));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline ControlWrites* active_ = nullptr;
    HWND dialog_;
    HHOOK hook_;
};

class StatusDialog : public ::testing::Test {
protected:
    // The program started on the simulated board, its start-up's driver calls forgotten.
    void Open()
    {
        h.StartProgram();
        AxbSim_ClearCallLog();
        dlg = OpenStatusDialog();
    }
    void Tick(int periods = 1) { h.Clock().Advance(100u * static_cast<uint32_t>(periods)); }
    std::string Text(int id, HWND dialog = nullptr) { return Narrow(ControlText(dialog ? dialog : dlg, id)); }
    bool Checked(int id) { return IsChecked(dlg, id); }

    ProgramHarness h;
    HWND dlg = nullptr;
};

TEST_F(StatusDialog, AxesAtTheEndsOfTravelCheckTheirLimitBoxes)
{
    // X beyond its + fence on the upper switch, Y beyond its - fence on the lower one.
    AxbSim_PokeParam(68, 300000);
    AxbSim_PlaceAxis(0, 350000);
    AxbSim_PokeParam(109, static_cast<uint32_t>(-40000));
    AxbSim_PlaceAxis(1, -50000);
    Open();
    EXPECT_EQ(Text(1066), "0x55");
    EXPECT_EQ(Text(1071), "0xA5");
    // "SW Limit+", "SW Limit -", "HW Limit +", "HW Limit -" of each axis.
    constexpr int kLimitBoxes[kAxes][4] = {{1470, 1486, 1517, 1520}, {1474, 1489, 1572, 1530},
                                           {1477, 1492, 1575, 1538}, {1480, 1495, 1579, 1543},
                                           {1483, 1497, 1582, 1555}};
    constexpr bool kChecked[kAxes][4] = {{true, false, true, false}, {false, true, false, true}};
    for (int a = 0; a < kAxes; ++a)
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(Checked(kLimitBoxes[a][b]), kChecked[a][b]) << "axis " << a << " box " << kLimitBoxes[a][b];
}

TEST_F(StatusDialog, EachErrorBitChecksItsOwnBoxOnTheNextTick)
{
    Open();
    for (int a = 0; a < kAxes; ++a) {
        for (const ErrorBox& fault : kErrorBoxes) {
            AxbSim_SetErrorByte(a, fault.bit);
            EXPECT_FALSE(Checked(fault.boxes[a])) << "shown before the timer ran";
            Tick();
            EXPECT_EQ(Text(kErrorFields[a]), Hex(fault.bit));
            for (const ErrorBox& other : kErrorBoxes)
                EXPECT_EQ(Checked(other.boxes[a]), other.bit == fault.bit)
                    << "axis " << a << " error byte " << Hex(fault.bit) << " box " << other.boxes[a];
        }
        AxbSim_SetErrorByte(a, 0);
    }
}

TEST_F(StatusDialog, SystemStatusBitsCheckTheirBoxesAndBit7HasNone)
{
    Open();
    std::vector<uint32_t> statuses = {0x180};
    for (int bit = 0; bit < 16; ++bit)
        statuses.push_back(1u << bit);
    for (uint32_t status : statuses) {
        AxbSim_SetSystemStatus(status);
        Tick();
        EXPECT_EQ(Text(1102), Hex(status));
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
    EXPECT_EQ(Text(1114), "0x08");
    EXPECT_TRUE(!Checked(1446) && Checked(1460));
    EXPECT_EQ(Text(1119), "0x10");
    EXPECT_TRUE(Checked(1449) && !Checked(1463));

    AxbSim_ClearCallLog();
    PressButton(dlg, IDC_STATUS_CLEAR_ENCODER);
    EXPECT_THAT(SimCalls(), ElementsAre("AXB_ResetAxisError(0,0,0)=1", "AXB_ResetAxisError(0,1,0)=1",
                                        "AXB_ResetAxisError(0,2,0)=1", "AXB_ResetAxisError(0,3,0)=1",
                                        "AXB_ResetAxisError(0,4,0)=1", "AXB_ClearEncoderErrors(0,15)=1"));
    Tick();
    EXPECT_EQ(Text(1114) + Text(1119), "0x000x00");
    EXPECT_FALSE(Checked(1460) || Checked(1449));
}

TEST_F(StatusDialog, ARefreshRewritesOnlyWhatChanged)
{
    Open();
    Tick();
    ControlWrites writes(dlg);
    Tick(10);
    EXPECT_TRUE(writes.texts.empty() && writes.checks.empty());

    AxbSim_SetErrorByte(0, 0x01);
    Tick();
    EXPECT_THAT(writes.texts, ElementsAre(IDC_STATUS_ERROR_X));
    EXPECT_THAT(writes.checks, ElementsAre(IDC_STATUS_MONITOR_X));
    // Flash faults change their items (shown signed) and, with them, the system status.
    AxbSim_SetFlashStatus(241, 3);
    AxbSim_SetFlashStatus(246, 0xFFFFFFFF);
    Tick();
    EXPECT_THAT(writes.texts, ElementsAre(IDC_STATUS_ERROR_X, IDC_STATUS_SYSTEM, 1111, 1123));
    EXPECT_THAT(writes.checks,
                ElementsAre(IDC_STATUS_MONITOR_X, IDC_STATUS_SYS_FLASH_USER, IDC_STATUS_SYS_FLASH_SYS_B));
    EXPECT_EQ(Text(1111) + " " + Text(1123), "3 -1");
}

TEST_F(StatusDialog, EachDialogExistsAtMostOnceAndPowerOutlivesStatus)
{
    Open();
    EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 100u);
    EXPECT_EQ(OpenStatusDialog(), dlg);
    PressButton(dlg, IDC_STATUS_POWER);
    HWND power = g_powerDlg;
    PressButton(dlg, IDC_STATUS_POWER);
    EXPECT_EQ(g_powerDlg, power);
    EXPECT_EQ(WindowsCaptioned(L"Status") + WindowsCaptioned(L"Power"), 2);

    PressButton(dlg, IDC_STATUS_EXIT);
    EXPECT_TRUE(!IsWindow(dlg) && g_statusDlg == nullptr);
    EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_TICK), 0u);
    EXPECT_TRUE(IsWindow(power));
    SendMessageW(OpenStatusDialog(), WM_CLOSE, 0, 0);
    SendMessageW(power, WM_CLOSE, 0, 0);
    EXPECT_EQ(WindowsCaptioned(L"Status") + WindowsCaptioned(L"Power"), 0);
}

TEST_F(StatusDialog, WithoutABoardShowsNothingAndPowerStatusOnlyExplains)
{
    AxbSim_SetOpenFailures(-1);
    Open();
    Tick(5);
    EXPECT_THAT(SimCalls(), IsEmpty());
    for (int id : {1066, 1131, 1119, 1102, 1125})
        EXPECT_EQ(Text(id), "") << id;

    h.AnswerNextMessageBox(IDOK);
    PressButton(dlg, IDC_STATUS_POWER);
    ASSERT_EQ(h.MessageBoxesSeen().size(), 1u);
    EXPECT_EQ(h.MessageBoxesSeen()[0].text, L"This button does not do anything with no hardware attached");
    EXPECT_EQ(h.MessageBoxesSeen()[0].caption, L"Power");
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

    HWND power = nullptr;
};

TEST_F(PowerDialog, FirstReadingIsTheAverageAndEachTickMovesItByAHundredth)
{
    AxbSim_SetMotorCurrent(1, 123456);
    OpenPower();
    EXPECT_EQ(Text(IDC_POWER_CURRENT_Y, power), "1234.560") << "read on opening, in hundredths of a milliamp";
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY, power), "24.100");
    EXPECT_EQ(Text(IDC_POWER_INTERPOLATOR, power), "5.000");
    EXPECT_EQ(Text(IDC_POWER_ENCODER, power), "5.050");

    AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 251, 0);
    AxbSim_SetSupplyVoltage(AXBSIM_INTERPOLATOR_SUPPLY, 60, 0);
    Tick(5);
    EXPECT_EQ(Text(IDC_POWER_SUPPLY, power), "24.150");
    Tick(94);
    EXPECT_EQ(Text(IDC_POWER_SUPPLY, power), "25.090") << "the first reading is still one of the hundred";
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY, power), "25.100");
    EXPECT_EQ(Text(IDC_POWER_INTERPOLATOR, power), "6.000");
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
    EXPECT_EQ(Text(IDC_POWER_SUPPLY, power), "24.120") << "an average that started over would read 24.100";
    Tick(98);   // slots 3..99 and 0: slot 1 still holds 26.1 V
    EXPECT_EQ(Text(IDC_POWER_SUPPLY, power), "24.120");
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY, power), "24.100");
    EXPECT_EQ(g_powerSamples.Count(), 102u);
}

} // namespace
