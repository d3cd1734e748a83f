// The choice of heating circuit 1 or 2 for a function that needs one first. The opener enters
// BHKW_HKWahl with reason 3 and then sends SIG_SET_NEXT_STATE with the function's state
// (HSM_StateToPar) to its own machine:
//
//   UI_Open(me, &BHKW_HKWahl);
//   EVT_Send(&me, SIG_SET_NEXT_STATE, HSM_StateToPar(&BHKG_HKGrundeinstellung));
//
// With one heating circuit the function opens at once; coming back from it (reason 4) leaves
// the selection too, back to the opener.
#pragma once

#include "kernel/hsm.h"

extern const State BHKW_HKWahl;

// At every panel start: function, return state and list position are forgotten.
void BHKW_Reset();
