// The idle animation of the basic display: two quarter arcs turning slowly.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State BRA_RuheAnimation;

// The angle of the next frame; angles above 180 give 0. The figure repeats itself after half a
// turn.
void BRA_SetAngle(uint16_t angle);
uint16_t BRA_GetAngle();
