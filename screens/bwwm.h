// The hot-water menu: the hot-water set temperature and the hot-water and circulation time
// programs.
#pragma once

#include "kernel/hsm.h"

extern const State BWWM_WWMenue;

// At every panel start: the saved list position is forgotten.
void BWWM_Reset();
