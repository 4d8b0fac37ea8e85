#pragma once
// The board's software fences, switched off around saves so that the fence
// parameters are stored in their off state, and on again afterwards.

// Set once a homing run found its reference.
extern bool g_homeRefFound;

void DisableSoftwareFences();
void EnableSoftwareFences();

void ResetFences();
