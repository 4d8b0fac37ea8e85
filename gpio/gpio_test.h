#pragma once
// The GPIO loop-back self test ("Test"): with a plug leading every output
// back to its input, each value driven on all eight pins must read back.
// Every mismatch is logged and the test never stops early; afterwards the
// pins get back the direction and levels last sent before it.
void RunGpioTest();
