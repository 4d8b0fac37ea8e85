#pragma once
// The board's software fences. They mean something only relative to a known
// zero, so they stay wide open until auto-home has found it, and are opened
// around parameter saves so that stored parameters never carry fences that
// depend on this run's zero.
#include "core/auto_home_state.h"

// Opens the fences of X, Y, Z and Q.
void DisableSoftwareFences();
// Sets the fences of X, Y and Z from "SW Fence + (c)" / "SW Fence - (c)"
// for each axis with "SW Fence Enabled" and its zero found, relative to the
// zero; opens the others. Q is not touched.
void EnableSoftwareFences();
