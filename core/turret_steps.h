#pragma once
// The objective turrets' arithmetic: the position code the Olympus turret
// puts on three input lines, which way round a five-position turret is
// shorter, and the Olympus box's command texts. No window and no driver.
#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr int kTurretPositions = 5;
// No valid position: a code outside the table, or a library that cannot say.
inline constexpr int kNoTurretPosition = 99;

// The Olympus turret's position lines (pins 2..4, by bit value) and its two
// step lines 0x40 and 0x80: a low pulse on one turns it one position, on
// 0x40 forward, on 0x80 back.
inline constexpr uint8_t kTurretInputMask = 0x1C;   // all three high: turning
inline constexpr uint8_t kTurretStepLines = 0xC0;

// Position 1..5 for the input levels (masked with kTurretInputMask), else
// kNoTurretPosition; the turning code is no position either.
int TurretPositionFromInputs(uint8_t inputs);
// n held within 1..5.
constexpr int LimitTurretTarget(int n) { return n < 1 ? 1 : n > kTurretPositions ? kTurretPositions : n; }

// The shorter way round from pos to target: forward when the target is at
// most two positions ahead, or three or more behind. Position 99 steps
// forward.
bool TurretStepsForward(int pos, int target);
// The step lines' levels during a step that way: the line pulsed low is
// the one not set.
constexpr uint8_t OlympusStepValue(bool forward) { return forward ? 0x80 : 0x40; }

inline constexpr std::string_view kOlympusQuery = "OB?\r\n";
inline constexpr size_t kOlympusCommandSize = 32;
struct OlympusCommand {
    char text[kOlympusCommandSize];
    std::string_view View() const { return text; }
};
// "OB<n>\r\n", n as given: the box judges it.
OlympusCommand OlympusGotoCommand(int n);

enum class OlympusReply { None, Ok, Error };
// What the box's answer to "OB?" says: "OB" then "!" is an error, "OB"
// otherwise a valid reply; anything else is no reply (yet).
OlympusReply ClassifyOlympusReply(std::string_view bytes);
