// The Power dialog: motor currents as the board reports them, the three
// supplies averaged over the last 100 readings, and a history that survives
// closing and reopening the window.
#include "driver/axb400.h"
#include "homing/power_dialog.h"
#include "homing/power_samples.h"
#include "homing/status_dialog.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/status/dialog_fixture.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

class PowerDialog : public StatusDialogTest {
protected:
    // Steady supplies, so that every average is exact.
    void StartSteady()
    {
        Start();
        AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 241, 0);
        AxbSim_SetSupplyVoltage(AXBSIM_INTERPOLATOR_SUPPLY, 50, 0);
        AxbSim_SetSupplyVoltage(AXBSIM_ENCODER_SUPPLY, 505, 0);
    }
    // As the technician gets there: the Status dialog's "Power Status".
    HWND Open()
    {
        if (!IsWindow(g_statusDlg))
            OpenStatusDialog();
        PressButton(g_statusDlg, IDC_STATUS_POWER);
        power = g_powerDlg;
        return power;
    }
    std::string Text(int id) { return StatusDialogTest::Text(power, id); }
    void Ticks(int n) { h.Clock().Advance(100u * static_cast<uint32_t>(n)); }

    HWND power = nullptr;
};

TEST_F(PowerDialog, FirstReadingIsTheAverageAndEachTickMovesItByAHundredth)
{
    StartSteady();
    Open();
    ASSERT_TRUE(IsWindow(power));
    EXPECT_EQ(h.Clock().TimerPeriod(power, IDT_POWER), 100u);

    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "24.100");
    EXPECT_EQ(Text(IDC_POWER_INTERPOLATOR), "5.000");
    EXPECT_EQ(Text(IDC_POWER_ENCODER), "5.050");

    AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 251, 0);
    AxbSim_SetSupplyVoltage(AXBSIM_INTERPOLATOR_SUPPLY, 60, 0);
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "24.110");
    EXPECT_EQ(Text(IDC_POWER_INTERPOLATOR), "5.010");
    Ticks(4);
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "24.150");
    Ticks(94);
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "25.090") << "the first reading is still one of the hundred";
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "25.100");
    EXPECT_EQ(Text(IDC_POWER_INTERPOLATOR), "6.000");
    EXPECT_EQ(Text(IDC_POWER_ENCODER), "5.050");
    EXPECT_EQ(g_powerSamples.Count(), 101u);
}

TEST_F(PowerDialog, ReopeningContinuesTheSampleCounterAndTheRings)
{
    StartSteady();
    Open();
    Tick();   // fills every ring with 24.1 V
    AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 261, 0);
    Tick();   // ring slot 1 holds 26.1 V
    PressButton(power, IDC_POWER_OK);
    EXPECT_FALSE(IsWindow(power));
    EXPECT_EQ(g_powerDlg, nullptr);
    EXPECT_EQ(h.Clock().TimerPeriod(power, IDT_POWER), 0u);

    AxbSim_SetSupplyVoltage(AXBSIM_POWER_SUPPLY, 241, 0);
    Ticks(5);   // closed: nothing is sampled
    EXPECT_EQ(g_powerSamples.Count(), 2u);
    Open();
    ASSERT_TRUE(IsWindow(power));
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "24.120") << "an average that started over would read 24.100";
    Ticks(98);   // slots 3..99 and 0: slot 1 still holds 26.1 V
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "24.120");
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "24.100");
    EXPECT_EQ(g_powerSamples.Count(), 102u);
}

TEST_F(PowerDialog, MotorCurrentsFollowTheBoardInMilliamps)
{
    StartSteady();
    AxbSim_SetMotorCurrent(1, 123456);
    Open();
    // Read once on opening: the holding currents of the factory machine
    // (5 % of 3000 mA on X, of 1000 mA on the zoom) and Y's fixed reading.
    EXPECT_EQ(Text(IDC_POWER_CURRENT_X), "150.000");
    EXPECT_EQ(Text(IDC_POWER_CURRENT_Y), "1234.560");
    EXPECT_EQ(Text(IDC_POWER_CURRENT_ZOOM), "50.000");

    AxbSim_SetMotorCurrent(1, -1);
    AXB_SetAxisPosAbs(0, 0, 200000);
    Tick();
    EXPECT_GT(std::stod(Text(IDC_POWER_CURRENT_X)), 1000.0) << "an accelerating axis draws more";
    EXPECT_EQ(Text(IDC_POWER_CURRENT_Y), "150.000");
    Ticks(50);   // at rest again
    EXPECT_EQ(Text(IDC_POWER_CURRENT_X), "150.000");
}

TEST_F(PowerDialog, ExistsAtMostOnceAndOutlivesTheStatusDialog)
{
    StartSteady();
    HWND first = Open();
    EXPECT_EQ(Open(), first);
    EXPECT_EQ(WindowsCaptioned(L"Power"), 1);

    PressButton(g_statusDlg, IDC_STATUS_EXIT);
    ASSERT_TRUE(IsWindow(first));
    Tick();
    EXPECT_EQ(Text(IDC_POWER_SUPPLY), "24.100");

    SendMessageW(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(g_powerDlg, nullptr);
    EXPECT_EQ(WindowsCaptioned(L"Power"), 0);
}

TEST_F(PowerDialog, TheBoardsRippleAveragesOut)
{
    Start();
    std::set<uint16_t> readings;
    for (int i = 0; i < 50; ++i) {
        uint16_t supply = 0;
        AXB_GetSupplyVoltage(0, &supply);
        readings.insert(supply);
    }
    EXPECT_GT(readings.size(), 1u) << "a real supply has ripple";
    EXPECT_GE(*readings.begin(), 240);
    EXPECT_LE(*readings.rbegin(), 242);

    Open();
    Ticks(200);
    const double average = std::stod(Text(IDC_POWER_SUPPLY));
    EXPECT_NEAR(average, 24.1, 0.05);
    EXPECT_NEAR(std::stod(Text(IDC_POWER_ENCODER)), 5.05, 0.01);
}

} // namespace
