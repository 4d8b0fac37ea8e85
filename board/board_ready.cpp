#include "board/board_ready.h"

#include "board/board_lock.h"
#include "board/board_versions.h"
#include "board/flash_store.h"
#include "board/param_io.h"
#include "core/flash_items.h"
#include "core/joystick_word.h"
#include "core/param_table.h"
#include "core/version_text.h"
#include "driver/axb400.h"
#include "infra/clock.h"

bool g_fiveButtonJoystick;

namespace {

// A board that answered is not asked again for this long: the check sits in
// front of most driver sequences, so a lost board is noticed at most this
// late while a present one costs one driver call per period.
constexpr uint64_t kBoardTrustMs = 5000;
// The zoom axis answers on every board variant, so it is the one asked.
constexpr int kProbeAxis = kZoomAxis;
constexpr int kRefMarkAxes = kEncoderAxisCount;   // X, Y, Z, Q
constexpr int kRefMarkConfigRegister = 2;
constexpr uint16_t kAnalogRefMarkInvertedBit = 0x0800;

bool g_boardLoaded;
uint64_t g_nextBoardCheckMs;
// The last question found no board (it answered before, or never did).
bool g_boardLost;
// Until then a caller that would take the lock answers from what it knows:
// another program held the lock a moment ago, and waiting it out on every
// tick would stall the program for as long as that program works.
uint64_t g_lockRefusedUntilMs;

bool ReadFiveButtonJoystick()
{
    uint32_t mode = 0;
    uint8_t functions = 0;
    uint8_t state = 0;
    AXB_GetJoyStickMode(0, &mode, &functions, &state);
    return (state & kJoystickFiveButtonBit) != 0;
}

// Everything that may have changed while the board was away (or that was
// never read): the board may have been swapped or reflashed.
void DoConnectionWork()
{
    g_firmwareVersion = ReadFirmwareVersion();
    if (g_firmwareVersion >= kJoystickFiveButtonFirmware)
        g_fiveButtonJoystick = ReadFiveButtonJoystick();
    CheckFlash();
    ConfigureAnalogReferenceMarks();
    ReadAllParamsFromBoard();
    g_velScale = VelScaleFor(g_firmwareVersion);
    g_boardLoaded = true;
}

void ProbeBoard()
{
    g_nextBoardCheckMs = NowMs64() + kBoardTrustMs;
    int32_t position = 0;
    g_boardLost = AXB_GetAxisPosValue(0, kProbeAxis, &position) != 1;
    if (g_boardLost)
        g_boardLoaded = false;
    else if (!g_boardLoaded)
        DoConnectionWork();
}

} // namespace

bool IsAXBBoardLoaded(bool takeLock)
{
    const uint64_t now = NowMs64();
    if (g_boardLoaded && g_nextBoardCheckMs != 0 && now < g_nextBoardCheckMs)
        return true;
    if (!takeLock) {
        ProbeBoard();
        return g_boardLoaded;
    }
    if (now < g_lockRefusedUntilMs)
        return g_boardLoaded;
    BoardLockGuard lock;
    if (lock)
        ProbeBoard();
    else
        g_lockRefusedUntilMs = now + kBoardTrustMs;
    return g_boardLoaded;
}

bool BoardLost() { return g_boardLost; }

void ConfigureAnalogReferenceMarks()
{
    for (int axis = 0; axis < kRefMarkAxes; ++axis) {
        uint16_t reg = 0;
        // A register that could not be read is left alone: writing back a
        // guess would clear its other bits.
        if (AXB_GetAxisReg(0, axis, kRefMarkConfigRegister, &reg) != 1)
            continue;
        const bool wanted = krv_user_box_data.analogRefMarkInverted[axis] != 0;
        const bool current = (reg & kAnalogRefMarkInvertedBit) != 0;
        if (wanted != current)
            AXB_SetAxisReg(0, axis, kRefMarkConfigRegister, static_cast<uint16_t>(reg ^ kAnalogRefMarkInvertedBit));
    }
}

void ForgetBoardLoaded() { g_boardLoaded = false; }

void ResetBoardReadyState()
{
    g_fiveButtonJoystick = false;
    g_boardLoaded = false;
    g_nextBoardCheckMs = 0;
    g_boardLost = false;
    g_lockRefusedUntilMs = 0;
}
