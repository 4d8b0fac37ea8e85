#pragma once
// The lamp box's command texts and the arithmetic behind the Lamp Dialog's
// fields. No window and no driver: the box's protocol and the LUX400
// parameter layout are checked here on their own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

inline constexpr int kLampMaxLevel = 255;
inline constexpr size_t kLampCommandSize = 64;

// One command for the box, ending in its line feed.
struct LampCommand {
    char text[kLampCommandSize];
    std::string_view View() const { return text; }
};

inline constexpr std::string_view kLampPowerUp = "$1PU\n";
inline constexpr std::string_view kLampPowerDown = "$1PD\n";
inline constexpr std::string_view kLampAllOff = "$1DO00000\n";

// The box's value 0..1000 for a level 0..255: nearest, ties up. Channel 7
// of the box runs 2.5 times the level (truncated), past 1000. A level
// outside 0..255 counts as the nearest end.
int LampBoxValue(int channel, int level);
// "$<channel>DO<value, five digits>"; channel 0 addresses every output.
LampCommand LampLevelCommand(int channel, int level);
// "$0QD<the four switch bits, five digits>".
LampCommand LampSwitchCommand(int switchMask);
// The box answers the power-up command with text beginning "*1P".
bool IsLampPowerUpAnswer(std::string_view bytes);

// A level or limit field holds the number it starts with, read as "%d" reads
// it but held within +-100000 however many digits follow (far beyond any
// level, and far from overflowing): SaturatedLeadingInteger with this limit.
inline constexpr int32_t kLargestLampFieldNumber = 100000;
constexpr int ClampLampLevel(int number) { return number < 0 ? 0 : number > kLampMaxLevel ? kLampMaxLevel : number; }

// LUX400 lamp driver rows (P026..P032): bits 16..23 hold the current limit
// in percent, bit 24 the light mode.
inline constexpr int kLuxMaxLimit = 100;
int LuxLimit(uint32_t param);
bool LuxMode(uint32_t param);
// The parameter with the limit (clamped to 0..100) and mode put in.
uint32_t WithLux(uint32_t param, int limit, bool mode);
// The current a limit allows a row whose full scale is fullScaleMa, "%gma".
void FormatLuxCurrent(char* text, size_t size, int limit, int fullScaleMa);
