// The heating-circuit menu: everything that belongs to one heating circuit, with the choice
// of the circuit by Left and Right when the plant has two.
#pragma once

#include "kernel/hsm.h"

extern const State BHKM_HKMenue;

// At every panel start: the saved list position is forgotten.
void BHKM_Reset();
