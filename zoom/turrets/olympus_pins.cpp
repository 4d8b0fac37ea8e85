// The Olympus turret wired to the board's GPIO pins: three input lines carry
// its position code, a low pulse on one of two step lines turns it one
// position. Each goto and each tick of a move sends at most one step.
#include "board/board_lock.h"
#include "board/gpio_outputs.h"
#include "core/turret_steps.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "zoom/turrets/turret_kinds.h"
#include "zoom/zoom.h"

namespace {

// Pins 0 and 1 stay as the GPIO dialog set them; 2..5 are inputs.
constexpr uint8_t kKeptPins = 0x03;
constexpr uint32_t kStepPulseMs = 10;

uint8_t g_turretReady;
uint8_t g_olympusTarget;
bool g_olympusRunning;
// A step pulse is low until this time; it ends on the first tick after it,
// so that no tick waits the pulse out.
bool g_pulseLow;
uint32_t g_pulseStart;

void SetTurretOutputs(uint8_t value)
{
    GpioOutputs outputs = LastSentGpioOutputs();
    outputs.direction = (outputs.direction & kKeptPins) | kTurretStepLines;
    outputs.levels = static_cast<uint8_t>((outputs.levels & ~kTurretStepLines) | (value & kTurretStepLines));
    BoardLockGuard lock;
    if (lock)
        SendGpioOutputs(outputs);
}

uint8_t ReadTurretInputs()
{
    BoardLockGuard lock;
    uint8_t levels = 0, states = 0;
    if (!lock)
        return 0;
    AXB_GetGpio(0, &levels, &states);
    return levels & kTurretInputMask;
}

void EndStepPulse()
{
    if (!g_pulseLow || NowMs() - g_pulseStart < kStepPulseMs)
        return;
    g_pulseLow = false;
    SetTurretOutputs(kTurretStepLines);
}

// The code is read again until it held still over two reads: a read that
// sees the turret turning answers 99.
int ReadPosition()
{
    if (ReadTurretInputs() == kTurretInputMask)
        return kNoTurretPosition;
    return TurretPositionFromInputs(ReadTurretInputs());
}

void SendOlympusStep(int8_t n)
{
    g_olympusTarget = static_cast<uint8_t>(LimitTurretTarget(n));
    // Turning already: the step it takes now is the one to wait for.
    if (g_pulseLow || ReadTurretInputs() == kTurretInputMask || ReadTurretInputs() == kTurretInputMask)
        return;
    const int pos = ReadPosition();
    if (pos == g_olympusTarget)
        return;
    SetTurretOutputs(OlympusStepValue(TurretStepsForward(pos, g_olympusTarget)));
    g_pulseLow = true;
    g_pulseStart = NowMs();
}

} // namespace

void SetUpOlympusPins()
{
    if (g_turretReady)
        return;
    g_turretReady = 1;
    SetTurretOutputs(kTurretStepLines);
}

void OlympusPinsGoto(int8_t n)
{
    if (!g_olympusRunning || LimitTurretTarget(n) != g_olympusTarget)
        StartTurretMoveClock();
    LogPrintf(g_log, "OLYMPUS_GoToPosition(%d)\n", n);
    SendOlympusStep(n);
    g_olympusRunning = true;
}

void OlympusPinsPoll()
{
    EndStepPulse();
    if (!g_olympusRunning || g_pulseLow)
        return;
    const int pos = ReadTurretInputs() == kTurretInputMask ? kNoTurretPosition : ReadPosition();
    if (pos == g_olympusTarget) {
        g_log.Write("Zoom finished correctly\n");
        g_log.Write("mMoveFunc=0\n");
        g_olympusRunning = false;
        return;
    }
    ZoomGoto(static_cast<int8_t>(g_olympusTarget));
    if (TurretMoveTimedOut())
        g_olympusRunning = false;
}

void ResetOlympusPins()
{
    g_turretReady = 0;
    g_olympusTarget = 0;
    g_olympusRunning = false;
    g_pulseLow = false;
}
