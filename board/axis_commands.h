#pragma once
// The axis commands every feature sends the same way: the absolute move, the
// velocity percent, and the stop of every axis.
#include <cstdint>

// The one way the system starts a single-axis absolute move. Logs "    goto
// target", remembers the target relative to the user zero and sends the
// move; the driver's result.
int GotoTarget(int axis, int32_t target);

// A position relative to the user zero (machine zero offset plus software
// zero) as the axis's own count, wrapping at 32 bits as the board does.
int32_t UserToRawCounts(int axis, int32_t userCounts);

// Whether a goto target in millimetres fits the axis's 32-bit counter once
// the user zero is added (GotoRawCounts); a target that does not is refused
// with a log line naming the axis, and no command goes out.
bool GotoTargetFits(int axis, float mm);

// The one velocity sender: the whole percent becomes g_cmdVelPercent of the
// axis and goes to the board times g_velScale, held at the largest word
// (700 % at scale 100 is 65535, not the crawl of 4464 a wrap would give).
void SendVelocityPercent(int axis, int32_t percent);
// The same, only when the whole percent differs from the one last sent.
void SendVelocityPercentIfChanged(int axis, int32_t percent);

// AXB_StopAxis for axes 0 .. count-1.
void StopAxes(int count);
