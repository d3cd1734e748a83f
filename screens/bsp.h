// Economy mode of the current heating circuit: entering the function switches it on or off at
// once and shows the result; it ends party mode. While the circuit does not heat it cannot be
// switched on.
#pragma once

#include "kernel/hsm.h"

extern const State BSP_SparbetriebFeedback;

// At every panel start: the return state and the last result are forgotten.
void BSP_Reset();
