#include "gfx/gfx.h"

#include <cstring>

#include "sim/ticks.h"

namespace {
uint8_t memory[GFX_HEIGHT][GFX_WIDTH];
}

uint8_t* GFX_Memory() { return &memory[0][0]; }

void GFX_Init() { memset(memory, 0, sizeof memory); }

// The host services its windows on other threads; the panel just waits its time.
void GFX_Delay(uint32_t ms) { SIM_Delay(ms); }
