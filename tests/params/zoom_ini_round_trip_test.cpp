// zoom.ini gives back exactly what was written to it.
#include "core/motion_state.h"
#include "core/session_state.h"
#include "params/goto_settings.h"
#include "tests/support/program_test.h"

#include <bit>

namespace {

class ZoomIni : public ProgramTest {};

TEST_F(ZoomIni, EveryFloatWrittenIsReadBackBitForBit)
{
    Start();
    // Six digits do not give these back: the reader would refuse or round
    // them, and the next start would run with other values.
    const float values[] = {3.57331e-43f, 1.17549e-38f, 1.0f / 3.0f, 16777217.0f, -0.0f, 12.5f};
    for (float value : values) {
        SCOPED_TRACE(value);
        g_velPercent[0] = value;
        g_targetMm[1] = value;
        SaveZoomIniSettings();
        g_velPercent[0] = 7.0f;
        g_targetMm[1] = 7.0f;
        LoadZoomIniSettings();
        EXPECT_EQ(std::bit_cast<uint32_t>(g_velPercent[0]), std::bit_cast<uint32_t>(value));
        EXPECT_EQ(std::bit_cast<uint32_t>(g_targetMm[1]), std::bit_cast<uint32_t>(value));
    }
}

} // namespace
