// The service menu ("Service") that Menu+OK opens in service mode, and the way out of service
// mode: the question "Service beenden?" and its feedback.
#pragma once

#include "kernel/hsm.h"

extern const State BSVM_Servicemenue;
extern const State BSVM_BeendenAbfrage;
extern const State BSVM_ServiceBeendenFeedback;

// At every panel start: the saved position is forgotten.
void BSVM_Reset();
