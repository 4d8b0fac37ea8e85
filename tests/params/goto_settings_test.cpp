// zoom.ini: per-axis goto target, velocity percent and joystick switch.
#include "core/motion_state.h"
#include "infra/program_folder.h"
#include "params/goto_settings.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <fstream>

using namespace ::testing;

namespace {

class GotoSettings : public ProgramTest {
protected:
    std::filesystem::path ZoomIni() const { return h.File(L"zoom.ini"); }
    std::wstring Stored(int axis, const wchar_t* key) const
    {
        wchar_t text[256] = {};
        GetPrivateProfileStringW((L"CNC AXIS " + std::to_wstring(axis)).c_str(), key, L"<missing>", text, 256,
                                 ZoomIni().c_str());
        return text;
    }
};

// A value that is no finite number leaves the program's value: on a first
// start the targets and percents are the defaults (5 mm, 100 %), so that the
// default stays. Axis 2: 127 zeros fill the value buffer and the 1 after
// them is cut off.
TEST_F(GotoSettings, ValuesThatAreNoFiniteNumberKeepTheDefaultAndHugePercentsSaturate)
{
    std::ofstream(ZoomIni(), std::ios::binary)
        << "[CNC AXIS 0]\r\nTarget mm=12.5\r\nVel Nominal Percent=5e9\r\nJoystick Enabled=7\r\n"
        << "[CNC AXIS 1]\r\nTarget mm=abc\r\nVel Nominal Percent=-5e9\r\nJoystick Enabled=99999999999\r\n"
        << "[CNC AXIS 2]\r\nTarget mm=inf\r\nVel Nominal Percent=1e999\r\nJoystick Enabled=" << std::string(127, '0')
        << "1\r\n[CNC AXIS 3]\r\nTarget mm=nan\r\nVel Nominal Percent=nan\r\n"
        << "[CNC AXIS 4]\r\nTarget mm= -3.25mm\r\nVel Nominal Percent=40\r\nJoystick Enabled=0\r\n";
    Start();
    EXPECT_THAT(g_targetMm, ElementsAre(12.5f, 5.0f, 5.0f, 5.0f, -3.25f));
    EXPECT_THAT(g_velPercent, ElementsAre(5e9f, -5e9f, 100.0f, 100.0f, 40.0f));
    EXPECT_THAT(g_joystickEnabled, ElementsAre(true, false, false, true, false));
    EXPECT_EQ(Text(main, IDC_VEL_PERCENT), "2147483647");
    ChooseAxis(IDC_AXIS_Y);
    EXPECT_EQ(Text(main, IDC_VEL_PERCENT), "-2147483648");
    // Read again (as Reset does), what did not parse keeps what the program
    // has; a key that is missing gives the default.
    g_targetMm[1] = 2.5f;
    g_velPercent[2] = 55.0f;
    g_joystickEnabled[1] = true;
    g_joystickEnabled[3] = false;
    Forget();
    LoadZoomIniSettings();
    EXPECT_EQ(std::filesystem::path(ZoomIniPath()), ZoomIni());
    const std::string folder = Narrow(ProgramFolder());
    EXPECT_THAT(h.Log().Lines(), ElementsAre(folder + "zoom.ini8", "filename is now " + folder + "zoom.ini"));
    EXPECT_THAT(g_targetMm, ElementsAre(12.5f, 2.5f, 5.0f, 5.0f, -3.25f));
    EXPECT_EQ(g_velPercent[2], 55.0f);
    EXPECT_THAT(g_joystickEnabled, ElementsAre(true, true, false, true, false));
    g_targetMm[3] = 0.125f;
    SaveZoomIniSettings();
    EXPECT_EQ(Stored(0, L"Joystick Enabled"), L"1");
    EXPECT_EQ(Stored(3, L"Target mm"), L"0.125");
}

TEST_F(GotoSettings, NothingIsSavedBeforeTheSettingsWereLoaded)
{
    Start([] { AxbSim_SetOpenFailures(-1); });   // without a board they are never loaded
    SaveZoomIniSettings();
    EXPECT_FALSE(std::filesystem::exists(ZoomIni()));
}

} // namespace
