#pragma once
// The Olympus turret box's side of its serial line, for the serial box
// stand-in (sim/lampbox, --device olympus).
#include "lamp_box.h"

// "OB?" (with or without its carriage return) is answered "OB\r\n", or
// "OB!\r\n" in error mode; "OB<n>" turns the turret and is not answered.
std::string OlympusAnswer(std::string_view command, BoxMode mode);
