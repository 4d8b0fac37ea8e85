#pragma once

// Every subsystem's process-wide state back to how a new process starts:
// tests call it between cases, as if the program were started again. A new
// subsystem adds its reset here.
void ResetAllProgramState();
