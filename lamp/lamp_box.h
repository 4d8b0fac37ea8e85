#pragma once
// The serial lamp box: a port opened on the first opening of the Lamp Dialog
// in serial mode, commands at least 20 ms apart, switched off and closed when
// the main window ends or resets.
#include <cstdint>
#include <string_view>

// Commands go to the box only while this is set.
extern bool g_lampBoxActive;

// Opens "\\.\COM<port>", greets the box and marks it active: 0, or the
// failed step (1 open, 2 reading the port state, 3 setting it, 4 setting the
// timeouts, 5 no port) with the box left inactive.
int InitLampRS232(int port);
// True when the text went out: only while the box is active.
bool SendLampCommand(std::string_view text);
// The level command for a channel, 50 ms after the call and at least 20 ms
// after the previous command.
void SetLampRS232Level(int channel, int level);
// The switch mask command, at least 20 ms after the previous command.
void SetLampRS232Switches(uint8_t mask);
// Power down ("$1PD"), then the port is closed and the box inactive, so
// that the next opening of the dialog opens it again. Nothing when the port
// is not open.
void SwitchLampBoxOff();

void ResetLampBox();
