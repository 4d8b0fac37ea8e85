#include "lamp/lamp_outputs.h"

uint8_t g_externalOutput;
uint8_t g_lampMask;

void ResetLampOutputs()
{
    g_externalOutput = 0;
    g_lampMask = 0;
}
