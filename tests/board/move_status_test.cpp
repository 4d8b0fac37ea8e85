// The move-status poll: what counts as done and as an error for the axes of
// the mask and for the others, the settings that change that, the system
// stop lines and the touch probe.
#include "core/auto_home_state.h"
#include "infra/settings.h"
#include "tests/board/board_fixture.h"

namespace {

struct Poll { bool ok, done, error; MoveStatusRecord record; };

Poll PollStatus(uint32_t axisMask, bool logAlways = false, const char* tag = "AutoHomeTimer")
{
    Poll p{};
    p.ok = CncGetMoveStatus(logAlways, p.done, p.error, p.record, axisMask, tag);
    return p;
}

using MoveStatus = BoardTest;

TEST_F(MoveStatus, ReadsEveryAxisOnlyTheAxesOfTheMaskHoldTheMoveOpenAndSystemStopsAreLogged)
{
    AxbSim_SetAxisStatus(2, 0x18);
    AxbSim_SetSystemStatus(0x40);   // not one of the six stop causes
    ASSERT_EQ(AXB_SetAxisPosAbs(0, 1, 100000), 1);   // Y on its way
    Poll p = PollStatus(0x1D, true);
    ASSERT_TRUE(p.ok && p.done && !p.error) << "Y is outside the mask";
    EXPECT_EQ(p.record.axisStatus[2], 0x18u);
    EXPECT_EQ(p.record.systemStatus, 0x40u);
    EXPECT_TRUE(h.Log().Lines().empty()) << "no stop to report, even when always logging";
    EXPECT_TRUE(LockIsFree()) << "every acquire released";
    p = PollStatus(0x02);
    EXPECT_FALSE(p.done || p.error);
    h.Clock().Advance(20000);
    EXPECT_TRUE(PollStatus(0x02).done);
    // The six stop causes, logged in bit order with the caller's tag.
    AxbSim_SetSystemStatus(0x7F);
    p = PollStatus(0x01, false, "ZoomTimer");
    EXPECT_TRUE(p.ok && p.error && !p.done);
    EXPECT_THAT(h.Log().Lines(),
                ElementsAre("**SS ZoomTimer Watchdog timer 1 underflow", "**SS ZoomTimer Emergency stop activated",
                            "**SS ZoomTimer Air stop activated", "**SS ZoomTimer Joystick override",
                            "**SS ZoomTimer Trackball override", "**SS ZoomTimer Heart beat monitor underflow"));
}

TEST_F(MoveStatus, ErrorRulesByAxisMaskHomingStageAndSettings)
{
    struct Case { int axis; uint32_t moveStatus, errorBits; int8_t homingStage; uint32_t axisMask; bool error; };
    constexpr Case kCases[] = {
        // Motion monitor, following, over current, probe retract; the emergency stop counts elsewhere.
        {0, 0x05, 0x01, 0, 0x01, true}, {0, 0x05, 0x02, 0, 0x01, true}, {0, 0x05, 0x04, 0, 0x01, true},
        {0, 0x05, 0x08, 0, 0x01, true}, {0, 0x05, 0x80, 0, 0x01, false},
        // Homing runs into a stop on purpose, so a following error is expected then.
        {0, 0x05, 0x02, 4, 0x01, false}, {0, 0x05, 0x01, 4, 0x01, true}, {0, 0x05, 0x04, 4, 0x01, true},
        {0, 0x05, 0x08, 4, 0x01, true},
        // An inactive axis; Q outside and inside the mask; the zoom, which has no probe.
        {0, 0x01, 0x0F, 0, 0x01, false}, {3, 0x05, 0x02, 0, 0x07, false}, {3, 0x05, 0x02, 0, 0x08, true},
        {4, 0x05, 0x08, 0, 0x10, false}, {4, 0x05, 0x02, 0, 0x10, true}, {4, 0x05, 0x04, 0, 0x0F, false},
        // Hardware and software limits of X..Q count in the mask or not; the zoom's are its own business.
        {3, 0x45, 0, 0, 0x01, true}, {3, 0x85, 0, 0, 0x01, true}, {2, 0x15, 0, 0, 0x01, true},
        {2, 0x25, 0, 0, 0x01, true}, {4, 0xF5, 0, 0, 0x1F, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - kCases);
        uint32_t moveStatus[kAxisCount] = {0x05, 0x05, 0x05, 0x05, 0x05};
        uint32_t errorBits[kAxisCount] = {};
        moveStatus[c.axis] = c.moveStatus;
        errorBits[c.axis] = c.errorBits;
        ResetAutoHomeState();
        if (c.homingStage)
            g_homingStage[c.axis] = c.homingStage;
        EXPECT_EQ(IsMoveError(moveStatus, errorBits, 0, c.axisMask), c.error);
    }
    // Q on its + switch, Z at its + fence; both settings were read above.
    constexpr uint32_t kHardware[kAxisCount] = {0x05, 0x05, 0x05, 0x45, 0x05};
    constexpr uint32_t kSoftware[kAxisCount] = {0x05, 0x05, 0x15, 0x05, 0x05};
    constexpr uint32_t kNoErrors[kAxisCount] = {};
    WriteSettingString(L"CNC", L"SetupSequencerActive", L"1");
    EXPECT_FALSE(IsMoveError(kHardware, kNoErrors, 0, 0x01)) << "read on every check";
    WriteSettingString(L"CNC", L"CheckSoftwareLimitErrors", L"0");
    EXPECT_TRUE(IsMoveError(kSoftware, kNoErrors, 0, 0x01)) << "the value read first stays for the life of the process";
    ResetMoveStatus();   // as after a restart
    EXPECT_FALSE(IsMoveError(kSoftware, kNoErrors, 0, 0x01));
}

TEST_F(MoveStatus, RetractingOrDeflectedProbeHoldsTheMoveFromFirmware0x0002040C)
{
    struct Case { uint32_t firmware; uint8_t probe; bool done; size_t probeReads; const char* line; };
    constexpr Case kCases[] = {
        {0x0002040C, 4, false, 2, "IsTPRetracting is true: status bit 3 (value 4) is set"},
        {0x0002040C, 2, false, 2, "IsTPRetracting is true: status bit 2 (value 2) is set"},
        {0x0002040C, 6, false, 2, "IsTPRetracting is true: status bit 3 (value 4) is set"},
        // Nothing to report; before 0x0002040C only the record's retract bit holds the move.
        {0x0002040C, 0, true, 2, nullptr}, {0x0002040B, 2, true, 1, nullptr}, {0x0002040B, 4, false, 1, nullptr},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - kCases);
        SetFirmwareVersion(c.firmware);
        AxbSim_SetProbeStatus(c.probe);
        Forget();
        EXPECT_EQ(PollStatus(0x1F).done, c.done);
        EXPECT_EQ(Calls("AXB_GetProbeStatus(").size(), c.probeReads);
        EXPECT_EQ(h.Log().Lines(), c.line ? std::vector<std::string>{c.line} : std::vector<std::string>{});
    }
    ASSERT_EQ(AXB_CloseDrv(), 1);   // without the board the check answers false and forgets the firmware
    h.Clock().Advance(5000);
    EXPECT_FALSE(IsTPRetracting());
    EXPECT_EQ(g_firmwareVersion, 0u);
}

} // namespace
