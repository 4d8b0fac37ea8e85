#include "core/external_outputs.h"

uint8_t g_externalOutput;
uint8_t g_lampMask;

void ResetExternalOutputs()
{
    g_externalOutput = 0;
    g_lampMask = 0;
}
