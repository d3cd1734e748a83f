// The hot-water set temperature, within the controller's limits: edited at the panel, or only
// shown when a remote control holds it.
#pragma once

#include "kernel/hsm.h"

extern const State BWW_Warmwasser;
extern const State BWW_TemperaturDialog;
extern const State BWW_Fernbedienung;
extern const State BWW_Feedback;

// At every panel start: the return state is forgotten.
void BWW_Reset();
