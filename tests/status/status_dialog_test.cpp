// The Status dialog as a technician watches it: every word in hexadecimal
// with its bits as boxes, faults appearing on the next 100 ms tick, nothing
// rewritten that did not change, encoder errors cleared on request, and one
// window at most.
#include "app/app_state.h"
#include "driver/axb400.h"
#include "homing/power_dialog.h"
#include "homing/status_dialog.h"
#include "infra/clock.h"
#include "infra/control_text.h"
#include "infra/user_prompts.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/status/dialog_fixture.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

constexpr int kAxes = 5;
constexpr int kMoveFields[kAxes] = {1066, 1071, 1077, 1081, 1127};
constexpr int kErrorFields[kAxes] = {1084, 1088, 1093, 1098, 1131};
constexpr int kCounterFields[4] = {1105, 1109, 1114, 1119};
constexpr int kFlashFields[8] = {1108, 1111, 1116, 1121, 1113, 1118, 1123, 1125};

// Per axis: "SW Limit+", "SW Limit -", "HW Limit +", "HW Limit -".
constexpr int kLimitBoxes[kAxes][4] = {
    {1470, 1486, 1517, 1520}, {1474, 1489, 1572, 1530}, {1477, 1492, 1575, 1538},
    {1480, 1495, 1579, 1543}, {1483, 1497, 1582, 1555}};

// The error byte's bits and the box of each axis that shows it.
struct ErrorBox {
    uint8_t bit;
    int boxes[kAxes];
};
constexpr ErrorBox kErrorBoxes[] = {
    {0x01, {1524, 1534, 1540, 1546, 1561}},   // Motion Monitor
    {0x02, {1522, 1532, 1539, 1544, 1558}},   // Following Error
    {0x04, {1526, 1536, 1541, 1549, 1565}},   // Over Current
    {0x08, {1529, 1545, 1547, 1553, 1569}},   // Touch Probe Retract
    {0x80, {1528, 1537, 1542, 1552, 1568}},   // E-Stop
};

// "Encoder Freq Error", "Encoder Signal Error" of X..Q.
constexpr int kFreqBoxes[4] = {1440, 1442, 1446, 1449};
constexpr int kSignalBoxes[4] = {1454, 1457, 1460, 1463};

// System status bit -> box; bit 7 has none.
constexpr int kSystemBoxes[16] = {1585, 1588, 1591, 1594, 1596, 1598, 1600, 0,
                                  1602, 1604, 1606, 1608, 1610, 1612, 1614, 1616};

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

uint8_t BoardMoveStatus(int axis)
{
    uint8_t status = 0;
    uint8_t errors = 0;
    AXB_GetMoveStatus(0, axis, &status, &errors);
    return status;
}

// Each call up to its first out-parameter: "AXB_GetMoveStatus(0,0,".
std::vector<std::string> CallHeads()
{
    std::vector<std::string> heads;
    for (const std::string& call : SimCalls())
        heads.push_back(call.substr(0, call.find('&')));
    return heads;
}

class StatusDialog : public StatusDialogTest {
protected:
    HWND Open()
    {
        Start();
        dlg = OpenStatusDialog();
        return dlg;
    }
    std::string Text(int id) { return StatusDialogTest::Text(dlg, id); }
    bool Checked(int id) { return IsChecked(dlg, id); }
    std::vector<int> CheckedSystemBoxes()
    {
        std::vector<int> checked;
        for (int box : kSystemBoxes)
            if (box && Checked(box))
                checked.push_back(box);
        return checked;
    }

    HWND dlg = nullptr;
};

TEST_F(StatusDialog, OpensWithEveryWordReadOnceAndRefreshesEvery100Ms)
{
    Open();
    ASSERT_TRUE(IsWindow(dlg));
    EXPECT_EQ(g_statusDlg, dlg);
    EXPECT_EQ(h.Clock().TimerPeriod(dlg, IDT_STATUS), 100u);

    // The zoom has no counter status: no axis status read for axis 4.
    EXPECT_THAT(CallHeads(),
                ElementsAre("AXB_GetMoveStatus(0,0,", "AXB_GetAxisStatus(0,0,", "AXB_GetMoveStatus(0,1,",
                            "AXB_GetAxisStatus(0,1,", "AXB_GetMoveStatus(0,2,", "AXB_GetAxisStatus(0,2,",
                            "AXB_GetMoveStatus(0,3,", "AXB_GetAxisStatus(0,3,", "AXB_GetMoveStatus(0,4,",
                            "AXB_GetSystemStatus(0,", "AXB_GetFlashStatus(0,240,", "AXB_GetFlashStatus(0,241,",
                            "AXB_GetFlashStatus(0,242,", "AXB_GetFlashStatus(0,243,", "AXB_GetFlashStatus(0,244,",
                            "AXB_GetFlashStatus(0,245,", "AXB_GetFlashStatus(0,246,", "AXB_GetFlashStatus(0,247,"));
    for (int a = 0; a < kAxes; ++a) {
        EXPECT_EQ(Text(kMoveFields[a]), Hex(BoardMoveStatus(a))) << "axis " << a;
        EXPECT_EQ(Text(kErrorFields[a]), "0x00");
    }
    for (int field : kCounterFields)
        EXPECT_EQ(Text(field), "0x00");
    EXPECT_EQ(Text(IDC_STATUS_SYSTEM), "0x00");
    for (int field : kFlashFields)
        EXPECT_EQ(Text(field), "0");

    // The main window polls the board too; the flash items are the
    // dialog's own.
    AxbSim_SetFlashStatus(241, 3);
    AxbSim_SetFlashStatus(246, 0xFFFFFFFF);
    AxbSim_ClearCallLog();
    h.Clock().Advance(99);
    EXPECT_THAT(SimCallsStartingWith("AXB_GetFlashStatus("), IsEmpty());
    h.Clock().Advance(1);
    EXPECT_EQ(SimCallsStartingWith("AXB_GetFlashStatus(").size(), 8u);
    EXPECT_EQ(Text(IDC_STATUS_FLASH_241), "3");
    EXPECT_EQ(Text(IDC_STATUS_FLASH_246), "-1");
}

TEST_F(StatusDialog, AxesAtTheEndsOfTravelCheckTheirLimitBoxes)
{
    Start();
    // X beyond its + fence on the upper switch, Y beyond its - fence on the
    // lower switch: move status 0x50 and 0xA0 on top of active and ended.
    AxbSim_PokeParam(68, 300000);
    AxbSim_PlaceAxis(0, 350000);
    AxbSim_PokeParam(69 + 40, static_cast<uint32_t>(-40000));
    AxbSim_PlaceAxis(1, -50000);
    dlg = OpenStatusDialog();

    EXPECT_EQ(Text(IDC_STATUS_MOVE_X), "0x55");
    EXPECT_TRUE(Checked(IDC_STATUS_SW_PLUS_X));
    EXPECT_FALSE(Checked(IDC_STATUS_SW_MINUS_X));
    EXPECT_TRUE(Checked(IDC_STATUS_HW_PLUS_X));
    EXPECT_FALSE(Checked(IDC_STATUS_HW_MINUS_X));

    EXPECT_EQ(Text(IDC_STATUS_MOVE_Y), "0xA5");
    EXPECT_FALSE(Checked(IDC_STATUS_SW_PLUS_Y));
    EXPECT_TRUE(Checked(IDC_STATUS_SW_MINUS_Y));
    EXPECT_FALSE(Checked(IDC_STATUS_HW_PLUS_Y));
    EXPECT_TRUE(Checked(IDC_STATUS_HW_MINUS_Y));

    for (int a : {2, 3, 4})
        for (int box : kLimitBoxes[a])
            EXPECT_FALSE(Checked(box)) << "axis " << a << " box " << box;
}

TEST_F(StatusDialog, ALimitSwitchShowsOnTheTickTheAxisReachesIt)
{
    Start();
    AxbSim_PlaceAxis(0, 330000);
    dlg = OpenStatusDialog();
    AXB_SetAxisPosAbs(0, 0, 400000);   // runs into the upper switch at 350000

    int ticks = 0;
    bool reached = false;
    while (!reached && ticks < 50) {
        const bool before = Checked(IDC_STATUS_HW_PLUS_X);
        Tick();
        ++ticks;
        const uint8_t status = BoardMoveStatus(0);
        ASSERT_EQ(Text(IDC_STATUS_MOVE_X), Hex(status)) << "tick " << ticks;
        ASSERT_EQ(Checked(IDC_STATUS_HW_PLUS_X), (status & 0x40) != 0) << "tick " << ticks;
        reached = Checked(IDC_STATUS_HW_PLUS_X);
        if (reached) {
            EXPECT_FALSE(before);
        }
    }
    EXPECT_TRUE(reached);
    EXPECT_GT(ticks, 1) << "the axis needs time to get there";
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
        // Bits without a meaning show in the value only.
        AxbSim_SetErrorByte(a, 0x70);
        Tick();
        EXPECT_EQ(Text(kErrorFields[a]), "0x70");
        for (const ErrorBox& box : kErrorBoxes)
            EXPECT_FALSE(Checked(box.boxes[a]));
        AxbSim_SetErrorByte(a, 0);
    }
}

TEST_F(StatusDialog, SystemStatusBitsCheckTheirBoxesAndBit7HasNone)
{
    Open();
    AxbSim_SetSystemStatus(0x180);
    Tick();
    EXPECT_EQ(Text(IDC_STATUS_SYSTEM), "0x180");
    EXPECT_THAT(CheckedSystemBoxes(), ElementsAre(IDC_STATUS_SYS_FLASH_PAR));

    for (int bit = 0; bit < 16; ++bit) {
        AxbSim_SetSystemStatus(1u << bit);
        Tick();
        EXPECT_EQ(Text(IDC_STATUS_SYSTEM), Hex(1u << bit));
        const std::vector<int> expected =
            kSystemBoxes[bit] ? std::vector<int>{kSystemBoxes[bit]} : std::vector<int>{};
        EXPECT_EQ(CheckedSystemBoxes(), expected) << "bit " << bit;
    }
}

TEST_F(StatusDialog, EncoderErrorsShowAndClearEncoderErrorsClearsEveryAxis)
{
    Open();
    AxbSim_InjectEncoderErrors(2, 1, 0);
    AxbSim_InjectEncoderErrors(3, 0, 1);
    AxbSim_SetErrorByte(4, 0x02);
    Tick();
    EXPECT_EQ(Text(IDC_STATUS_COUNTER_Z), "0x08");
    EXPECT_TRUE(Checked(kSignalBoxes[2]));
    EXPECT_FALSE(Checked(kFreqBoxes[2]));
    EXPECT_EQ(Text(IDC_STATUS_COUNTER_Q), "0x10");
    EXPECT_TRUE(Checked(kFreqBoxes[3]));
    EXPECT_FALSE(Checked(kSignalBoxes[3]));
    EXPECT_TRUE(Checked(IDC_STATUS_FOLLOWING_ZOOM));

    AxbSim_ClearCallLog();
    PressButton(dlg, IDC_STATUS_CLEAR_ENCODER);
    EXPECT_THAT(SimCalls(), ElementsAre("AXB_ResetAxisError(0,0,0)=1", "AXB_ResetAxisError(0,1,0)=1",
                                        "AXB_ResetAxisError(0,2,0)=1", "AXB_ResetAxisError(0,3,0)=1",
                                        "AXB_ResetAxisError(0,4,0)=1", "AXB_ClearEncoderErrors(0,15)=1"));
    Tick();
    EXPECT_EQ(Text(IDC_STATUS_COUNTER_Z), "0x00");
    EXPECT_EQ(Text(IDC_STATUS_COUNTER_Q), "0x00");
    EXPECT_EQ(Text(IDC_STATUS_ERROR_ZOOM), "0x00");
    for (int a = 0; a < 4; ++a) {
        EXPECT_FALSE(Checked(kSignalBoxes[a]));
        EXPECT_FALSE(Checked(kFreqBoxes[a]));
    }
    EXPECT_FALSE(Checked(IDC_STATUS_FOLLOWING_ZOOM));
}

TEST_F(StatusDialog, ARefreshRewritesOnlyWhatChanged)
{
    Open();
    // Only the dialog writes: the main window's readouts stand still.
    StopTimer(h.Main(), IDT_MAIN);
    Tick();
    ControlWrites writes(dlg);
    const uint64_t textWrites = ControlTextWrites();
    h.Clock().Advance(1000);
    EXPECT_THAT(writes.Texts(), IsEmpty());
    EXPECT_THAT(writes.Checks(), IsEmpty());
    EXPECT_EQ(ControlTextWrites(), textWrites);

    AxbSim_SetErrorByte(0, 0x01);
    Tick();
    EXPECT_THAT(writes.Texts(), ElementsAre(IDC_STATUS_ERROR_X));
    EXPECT_THAT(writes.Checks(), ElementsAre(IDC_STATUS_MONITOR_X));

    // A flash fault changes its item and, with it, the system status.
    writes.Clear();
    AxbSim_SetFlashStatus(243, 7);
    Tick();
    EXPECT_THAT(writes.Texts(), UnorderedElementsAre(IDC_STATUS_SYSTEM, IDC_STATUS_FLASH_243));
    EXPECT_THAT(writes.Checks(), ElementsAre(IDC_STATUS_SYS_FLASH_ICMQ));
    EXPECT_EQ(Text(IDC_STATUS_SYSTEM), "0x800");
    EXPECT_EQ(Text(IDC_STATUS_FLASH_243), "7");

    writes.Clear();
    h.Clock().Advance(500);
    EXPECT_THAT(writes.Texts(), IsEmpty());
    EXPECT_THAT(writes.Checks(), IsEmpty());
}

TEST_F(StatusDialog, ExistsAtMostOnceAndForgetsItsHandleWhenClosed)
{
    Start();
    HWND first = OpenStatusDialog();
    EXPECT_EQ(OpenStatusDialog(), first);
    EXPECT_EQ(WindowsCaptioned(L"Status"), 1);

    PressButton(first, IDC_STATUS_EXIT);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(g_statusDlg, nullptr);
    EXPECT_EQ(h.Clock().TimerPeriod(first, IDT_STATUS), 0u);

    HWND second = OpenStatusDialog();
    ASSERT_TRUE(IsWindow(second));
    EXPECT_EQ(g_statusDlg, second);
    EXPECT_EQ(WindowsCaptioned(L"Status"), 1);
    SendMessageW(second, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(g_statusDlg, nullptr);
    EXPECT_EQ(WindowsCaptioned(L"Status"), 0);
}

TEST_F(StatusDialog, WithoutABoardShowsNothingAndPowerStatusOnlyExplains)
{
    AxbSim_SetOpenFailures(-1);
    Open();
    h.Clock().Advance(500);
    EXPECT_THAT(SimCalls(), IsEmpty());
    for (int id : {IDC_STATUS_MOVE_X, IDC_STATUS_ERROR_ZOOM, IDC_STATUS_COUNTER_Q, IDC_STATUS_SYSTEM,
                   IDC_STATUS_FLASH_247})
        EXPECT_EQ(Text(id), "") << id;

    HWND owner = nullptr;
    std::wstring text, caption;
    UINT type = 0;
    InstallMessageBoxAnswer([&](HWND o, std::wstring_view t, std::wstring_view c, UINT ty) {
        owner = o;
        text = t;
        caption = c;
        type = ty;
        return IDOK;
    });
    PressButton(dlg, IDC_STATUS_POWER);
    EXPECT_EQ(owner, h.Main());
    EXPECT_EQ(text, L"This button does not do anything with no hardware attached");
    EXPECT_EQ(caption, L"Power");
    EXPECT_EQ(type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(g_powerDlg, nullptr);
    EXPECT_EQ(WindowsCaptioned(L"Power"), 0);
}

} // namespace
