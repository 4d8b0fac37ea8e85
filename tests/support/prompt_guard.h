#pragma once
// A message box or file dialog that a test did not expect would block the
// run until its time-out; these answers fail the test and close it at once.
void FailOnUnexpectedPrompts();
