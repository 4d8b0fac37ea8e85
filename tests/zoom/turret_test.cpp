// The objective turrets as a technician drives them from the Zoom dialog,
// each on its stand-in.
#include "board/board_ready.h"
#include "board/gpio_outputs.h"
#include "driver/turret_libraries.h"
#include "infra/library_loader.h"
#include "driver/axb400.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/lamp_box_stand_in.h"
#include "tests/support/program_test.h"
#include "zoom/zoom.h"
#include "zoom/zoom_dialog.h"

#include <filesystem>
#include <functional>

using ::testing::Each;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

class Turret : public ProgramTest {
protected:
    void Choose(const wchar_t* zoomType)
    {
        WriteSetting(L"stagetune", L"ZoomType", zoomType);
        Start();
        Press(IDC_ZOOM);
        Forget();
    }
    bool Arrived() { return Logged("Zoom finished correctly"); }
    static uint8_t TurretCode()
    {
        uint8_t levels = 0;
        AXB_GetGpio(0, &levels, nullptr);
        return levels & 0x1C;
    }
};

TEST_F(Turret, EveryTurretGotoMakesTheNextReadinessCheckReadTheBoardAgain)
{
    for (const wchar_t* type : {L"1", L"2", L"3", L"4"}) {
        Choose(type);
        g_zoomHomed = true;
        ASSERT_TRUE(ZoomGoto(3));
        EXPECT_FALSE(g_zoomHomed);
        EXPECT_THAT(Calls("AXB_SetAxisPosAbs(0,4,"), IsEmpty());
        IsAXBBoardLoaded(true);
        EXPECT_FALSE(Calls("AXB_GetParam(0,511,").empty()) << "the parameters read again";
    }
}

TEST_F(Turret, GpioTurretStepsTheShorterWayWithALowPulseUntilItArrives)
{
    Choose(L"3");
    // Pins 0 and 1 are the GPIO dialog's: the turret keeps them.
    SendGpioOutputs({.direction = 0x03, .levels = 0x01});
    const std::string kIdle = "AXB_SetGpio(0,195,193)=1";
    struct Row {
        int from, button, asked;
        const char* pulse;   // the levels sent: 0x40 (0x80 low) back, 0x80 (0x40 low) on
        uint8_t arrivedCode;
        int steps;
    };
    constexpr Row kRows[] = {
        {1, IDC_ZOOM_GOTO_5, 5, "AXB_SetGpio(0,195,65)=1", 0x08, 1},
        {4, IDC_ZOOM_GOTO_5, 5, "AXB_SetGpio(0,195,129)=1", 0x08, 1},
        {3, IDC_ZOOM_GOTO_9, 9, "AXB_SetGpio(0,195,129)=1", 0x08, 2},
        {5, IDC_ZOOM_HOME, 1, "AXB_SetGpio(0,195,129)=1", 0x0C, 1},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.from);
        AxbSim_SetTurret(1, 200, row.from);
        Forget();
        PressButton(g_zoomDlg, row.button);
        ASSERT_TRUE(RunUntil([&] { return Arrived(); })) << ::testing::PrintToString(Calls("AXB_"));
        EXPECT_TRUE(Logged("mMoveFunc=0"));
        EXPECT_TRUE(Logged("OLYMPUS_GoToPosition(" + std::to_string(row.asked) + ")"));
        EXPECT_EQ(TurretCode(), row.arrivedCode);
        auto gpio = Calls("AXB_SetGpio(");
        ASSERT_FALSE(gpio.empty());
        EXPECT_EQ(gpio.back(), kIdle) << "each pulse ends high again";
        std::erase(gpio, kIdle);
        EXPECT_EQ(gpio, std::vector<std::string>(row.steps, row.pulse));
    }
}

} // namespace

class SerialTurret : public Turret {
protected:
    // The box stand-in hangs on the tests' one mapped COM port.
    void Choose()
    {
        WriteSetting(L"Zoom", L"CommPort", std::to_wstring(LampBoxStandIn::kComPort).c_str());
        Turret::Choose(L"2");
    }
};

TEST_F(SerialTurret, TheBoxIsAskedOnceAndEveryGotoSendsItsPositionUnchecked)
{
    LampBoxStandIn box("answer", "--device olympus");
    Choose();
    PressButton(g_zoomDlg, IDC_ZOOM_GOTO_9);
    PressButton(g_zoomDlg, IDC_ZOOM_HOME);
    ASSERT_TRUE(box.WaitForCommands(3));
    EXPECT_EQ(box.CommandTexts(), (std::vector<std::string>{"OB?\\x0D", "OB9\\x0D", "OB1\\x0D"}));
    EXPECT_TRUE(box.WaitForEvent("line settings 9600 8N1"));
    EXPECT_EQ(LinesStartingWith({"Trying", "The box", "OLYMPUS"}),
              (std::vector<std::string>{"Trying to open com 2", "The box responded", "OLYMPUS_GoToPosition(9)",
                                        "OLYMPUS_GoToPosition(1)"}));
    // Nothing tells when the turret is there.
    h.Clock().Advance(1000);
    EXPECT_FALSE(Arrived());
}

TEST_F(SerialTurret, AnErrorNoOrAnEndlessReplyStillLeavesTheBoxReady)
{
    const std::pair<const char*, const char*> kModes[] = {
        {"error", "The Olymous Box Returned an Error"},
        {"silent", "The Box did not respond to OB?"},
        {"garbage", "The Box did not respond to OB?"},
    };
    for (const auto& [mode, line] : kModes) {
        SCOPED_TRACE(mode);
        LampBoxStandIn box(mode, "--device olympus --garbage-rate 100000");
        Choose();
        PressButton(g_zoomDlg, IDC_ZOOM_GOTO_3);
        EXPECT_TRUE(Logged(line));
        PressButton(g_zoomDlg, IDC_ZOOM_GOTO_4);
        ASSERT_TRUE(box.WaitForCommands(3));
        EXPECT_EQ(box.CommandTexts(), (std::vector<std::string>{"OB?\\x0D", "OB3\\x0D", "OB4\\x0D"}));
    }
}

// A turret behind a vendor library: the stand-in beside the test, which the
// test also drives through its control exports.
class LibraryTurret : public Turret {
protected:
    explicit LibraryTurret(const wchar_t* name) : name_(name) {}
    void SetUp() override
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        folder_ = std::filesystem::path(self).parent_path().wstring();
        library_ = LoadLibraryW((folder_ + L"\\" + name_).c_str());
        ASSERT_NE(library_, nullptr);
        SetLibraryFolder(folder_);
    }
    void TearDown() override
    {
        Turret::TearDown();
        SetLibraryFolder(L"");
        FreeLibrary(library_);
    }
    template <typename Function>
    Function Export(const char* name)
    {
        return FindLibraryExport<Function>(library_, name);
    }
    const wchar_t* name_;
    std::wstring folder_;
    HMODULE library_ = nullptr;
};

class NikonTurret : public LibraryTurret {
protected:
    NikonTurret() : LibraryTurret(L"ObjTurret.dll") {}
    void Place(int position, int failing = 0)
    {
        Export<void (*)(int, uint32_t, int)>("ObjTurretSim_Set")(position, 300, failing);
    }
    int Position()
    {
        uint64_t position = 0;
        Export<KrvCmdFunction>("KrvCmd")(kKrvPosition, reinterpret_cast<intptr_t>(&position));
        return static_cast<int>(position);
    }
};

TEST_F(NikonTurret, StepsTheShorterWayUntilTheLibraryReportsTheTarget)
{
    Choose(L"4");
    struct Row {
        int from, button, target;
        const char* way;
        int steps;
    };
    constexpr Row kRows[] = {
        {4, IDC_ZOOM_GOTO_1, 1, "TurretNikonMovePlus", 2},
        {2, IDC_ZOOM_GOTO_9, 5, "TurretNikonMoveMinus", 2},
        {3, IDC_ZOOM_GOTO_4, 4, "TurretNikonMovePlus", 1},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.from);
        Place(row.from);
        Forget();
        PressButton(g_zoomDlg, row.button);
        ASSERT_TRUE(RunUntil([&] { return Arrived(); }));
        EXPECT_EQ(Position(), row.target);
        EXPECT_EQ(LinesStartingWith({"TurretNikonMoveP", "TurretNikonMoveM"}),
                  std::vector<std::string>(row.steps, row.way));
        EXPECT_TRUE(Logged("TurretNikonMove2=" + std::to_string(row.from)));
        EXPECT_TRUE(Logged("TurretIsNikonMoving today pos=0")) << "seen moving";
        EXPECT_TRUE(Logged("mMoveFunc=0"));
    }
}

TEST_F(NikonTurret, AMissingOrFailingLibraryStepsNothingAndTimesOut)
{
    const std::wstring empty = (std::filesystem::temp_directory_path() / L"no-turret-library").wstring();
    std::filesystem::create_directories(empty);
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing);
        SetLibraryFolder(missing ? empty : folder_);
        Place(2, missing ? 0 : 1);
        Choose(L"4");
        PressButton(g_zoomDlg, IDC_ZOOM_GOTO_3);
        ASSERT_TRUE(RunUntil([&] { return Logged("ZoomTimer ERROR: Timeout"); }, 6000));
        EXPECT_TRUE(Logged("TurretIsNikonMoving FAIL"));
        EXPECT_EQ(Logged("ObjTurretTest unable to load ObjTurret.dll"), missing);
        EXPECT_THAT(LinesStartingWith({"TurretNikonMove"}), IsEmpty()) << "always moving: no step";
    }
    std::filesystem::remove_all(empty);
}

class RevolverTurret : public LibraryTurret {
protected:
    RevolverTurret() : LibraryTurret(L"Revolver_Dll.dll") {}
    void Configure(int port, int32_t stateResult = 0, int fullFirmwareText = 0, int noDllVersion = 0)
    {
        Export<void (*)(int, uint32_t, int32_t, int, int)>("RevolverSim_Set")(port, 400, stateResult,
                                                                               fullFirmwareText, noDllVersion);
    }
    int StatePolls() { return Export<int (*)()>("RevolverSim_GetStateCalls")(); }
};

TEST_F(RevolverTurret, FindsTheDeviceShowsItsVersionsAndPollsOnlyWhileItMoves)
{
    struct Row {
        int fullFirmwareText, noDllVersion;
        std::string dllLine, firmwareLine;
    };
    const Row kRows[] = {
        {0, 0, "Dll......Ver. REV-SIM 1.0", "Firmware Ver. FW 2.1"},
        {1, 1, "Dll......Ver. ", "Firmware Ver. " + std::string(127, 'F')},
    };
    for (const Row& row : kRows) {
        Configure(4, 0, row.fullFirmwareText, row.noDllVersion);
        Choose(L"1");
        PressButton(g_zoomDlg, IDC_ZOOM_GOTO_3);
        EXPECT_TRUE(Logged("device found on com: 4"));
        EXPECT_TRUE(Logged(row.dllLine));
        EXPECT_TRUE(Logged(row.firmwareLine));
        EXPECT_TRUE(Logged("TCZR_GoToPosition(3)"));
        ASSERT_TRUE(RunUntil([&] { return Logged("TCZR zoom complete"); }));
        EXPECT_TRUE(Logged("mMoveFunc is NULL"));
        const int polls = StatePolls();
        h.Clock().Advance(500);
        EXPECT_EQ(StatePolls(), polls) << "an idle turret is not asked";
    }
}

TEST_F(RevolverTurret, TheLibraryIsLoadedOnceAndADeviceNotFoundIsSearchedAgain)
{
    Configure(0);
    Choose(L"1");
    PressButton(g_zoomDlg, IDC_ZOOM_GOTO_2);
    PressButton(g_zoomDlg, IDC_ZOOM_GOTO_5);
    EXPECT_EQ(LinesStartingWith({"DLL open", "device not found"}),
              (std::vector<std::string>{"DLL open succesfully", "device not found program exit",
                                        "device not found program exit"}));
    h.Clock().Advance(200);
    EXPECT_EQ(StatePolls(), 0) << "nothing to ask without the device";
}

TEST_F(RevolverTurret, StateErrorsAreLoggedAndTheMoveStaysOutstanding)
{
    for (const auto& [result, line] : {std::pair{-1, "timeout error"}, std::pair{-2, "Checksum error"}}) {
        Configure(7, result);
        Choose(L"1");
        PressButton(g_zoomDlg, IDC_ZOOM_GOTO_1);
        h.Clock().Advance(30);
        EXPECT_TRUE(Logged(line));
        EXPECT_TRUE(Logged("press a key to continue"));
        const int polls = StatePolls();
        h.Clock().Advance(30);
        EXPECT_GT(StatePolls(), polls);
    }
    SetLibraryFolder(std::filesystem::temp_directory_path().wstring());
    Choose(L"1");
    PressButton(g_zoomDlg, IDC_ZOOM_GOTO_1);
    EXPECT_TRUE(Logged("Error 1 Init DLL"));
}
