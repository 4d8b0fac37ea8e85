#pragma once
// The machine-description file (AXBSIM_CONFIG): an INI text that changes
// parts of the factory machine. Every key is listed in README.md. The parser
// is strict, so that a mistyped key is reported instead of being ignored.
#include "machine.h"

#include <string>
#include <string_view>

// Applies the description in `text` to `machine`. On the first bad line it
// returns false with a message naming the line; `machine` may then be
// partly changed, so callers pass a copy.
bool ApplyMachineIni(std::string_view text, MachineDescription& machine, std::string& error);
