#pragma once
// The product family's programs must not run side by side: each holds the
// same four named mutexes for its lifetime.

// Creates the four markers (always all four, kept open until process exit);
// true when any of them already existed or could not be made.
bool AnotherInstanceRunning();

void ShowAlreadyRunningMessage();
