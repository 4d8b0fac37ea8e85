#include "lamp/lamp_test_sequence.h"

#include "core/external_outputs.h"
#include "driver/axb400.h"
#include "lamp/lamp_channels.h"

namespace {

constexpr int kTicksPerStep = 12;   // 60 ms at the dialog's 5 ms
constexpr int kPhases = 21;
constexpr int kPhaseAllOn = 17;
constexpr int kPhaseAllOff = 19;
constexpr uint16_t kFullLevel = 255;

bool g_running;
int g_tick;
int g_step;

void SetAllBoardLamps(uint16_t level)
{
    for (int c = 0; c < kBoardLampChannelCount; ++c)
        AXB_SetLampLevel(0, c, level);
}

void Step()
{
    ++g_step;
    const int phase = g_step % kPhases;
    const uint8_t outputs = ExternalOutputWithLaser(g_step % 2 != 0);
    if (phase >= 1 && phase <= kBoardLampChannelCount)
        AXB_SetLampLevel(0, phase - 1, 0);
    if (phase < kBoardLampChannelCount)
        AXB_SetLampLevel(0, phase, kFullLevel);
    if (phase >= kBoardLampChannelCount && phase < 2 * kBoardLampChannelCount)
        AXB_SetExternIO(0, outputs, static_cast<uint8_t>(1u << (phase - kBoardLampChannelCount)));
    if (phase == kPhaseAllOn) {
        AXB_SetExternIO(0, outputs, 0);
        SetAllBoardLamps(kFullLevel);
    }
    if (phase == kPhaseAllOff) {
        SetAllBoardLamps(0);
        AXB_SetExternIO(0, outputs, 0xFF);
    }
    if (phase == 0)
        AXB_SetExternIO(0, outputs, 0);
}

} // namespace

void ToggleLampTest()
{
    g_running = !g_running;
    g_tick = 0;
    if (g_running)
        g_step = 0;
}

bool LampTestRunning() { return g_running; }

void LampTestTick()
{
    if (++g_tick % kTicksPerStep == 0)
        Step();
}

void ResetLampTest()
{
    g_running = false;
    g_tick = 0;
    g_step = 0;
}
