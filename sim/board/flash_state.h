#pragma once
// What the board keeps over a power cycle: the parameters last saved to
// flash and the committed words of the flash user area. The state file
// (AXBSIM_STATE) holds them as text, one value a line, so a person can read
// it; anything that is not exactly that format is rejected as corrupt.
#include "machine.h"

#include <string>
#include <string_view>

struct FlashState {
    std::array<uint32_t, kParamCount> params{};
    std::array<uint32_t, kFlashWordCount> words{};
};

std::string FormatFlashState(const FlashState& state);
bool ParseFlashState(std::string_view text, FlashState& state, std::string& error);
