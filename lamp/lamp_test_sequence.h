#pragma once
// The tester's output test ("Test", tester mode only): a light runs across
// the board's eight lamp channels and switch bits, then all of them go on
// and off, and the laser bit blinks with each step, over and over.
void ToggleLampTest();
bool LampTestRunning();
// One tick of the Lamp Dialog's timer while the test runs.
void LampTestTick();

void ResetLampTest();
