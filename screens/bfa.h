// The feedback display that names the heating circuit just chosen with Left or Right.
#pragma once

#include "kernel/hsm.h"

extern const State BFA_Feedbackanzeige;

// Forgets the return state; at every panel start.
void BFA_Reset();
