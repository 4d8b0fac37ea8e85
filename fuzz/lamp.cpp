// The lamp box's commands and the Lamp Dialog's figures from any numbers:
// every command fits its buffer and ends with its line feed, the current
// caption fits whatever buffer it is given, levels and limits stay in range.
//
// Input: int32 channel, level, switch mask, limit, full scale; uint8 caption
// buffer size; uint32 LUX400 parameter; uint8 mode; the rest is a box answer.
#include "core/lamp_commands.h"
#include "fuzz/fuzz_support.h"

#include <cstring>

namespace {

void CheckCommand(const LampCommand& command)
{
    const size_t length = strnlen(command.text, kLampCommandSize);
    FUZZ_CHECK(length < kLampCommandSize);
    FUZZ_CHECK(length > 0 && command.text[length - 1] == '\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const auto channel = in.Take<int32_t>();
    const auto number = in.Take<int32_t>();
    const auto mask = in.Take<int32_t>();
    const auto limit = in.Take<int32_t>();
    const auto fullScale = in.Take<int32_t>();
    const size_t captionSize = 1 + in.Take<uint8_t>() % 32;
    const auto param = in.Take<uint32_t>();
    const bool mode = in.Take<uint8_t>() & 1;

    // A level reaches the box as its field gives it: held within 0..255.
    const int level = ClampLampLevel(number);
    FUZZ_CHECK(level >= 0 && level <= kLampMaxLevel);
    FUZZ_CHECK(level == number || number < 0 || number > kLampMaxLevel);
    CheckCommand(LampLevelCommand(channel, level));
    CheckCommand(LampLevelCommand(channel, number));
    CheckCommand(LampSwitchCommand(mask));

    GuardedText<32> caption;
    FormatLuxCurrent(caption.text, captionSize, limit, fullScale);
    caption.Written(captionSize);

    const uint32_t lux = WithLux(param, limit, mode);
    FUZZ_CHECK(LuxLimit(lux) == (limit < 0 ? 0 : limit > kLuxMaxLimit ? kLuxMaxLimit : limit));
    FUZZ_CHECK(LuxMode(lux) == mode);
    FUZZ_CHECK((lux & 0xFE00FFFFu) == (param & 0xFE00FFFFu));

    IsLampPowerUpAnswer(in.Rest());
    return 0;
}
