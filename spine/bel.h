// The display illumination task (priority 2): turns brightness requests into backlight
// states.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State BEL_BeleuchtungTask;

// The brightness last applied.
uint8_t BEL_GetLevel();
