// The display illumination task (priority 2): turns brightness requests into backlight
// states.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State BEL_BeleuchtungTask;

// The brightness last applied.
uint8_t BEL_GetLevel();

// Host-private signal, not part of the panel's catalogue: a simulation command's change of
// a status bit, applied on the main task (par: bit 1 selects the bit of StatusBlock byte 5,
// bit 0 set or clear).
inline constexpr Signal SIG_SIM_STATUS_BIT = 100;
