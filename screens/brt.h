// The normal room set temperature of the current heating circuit: edited at the panel, or
// only shown when a remote control of the circuit holds it.
#pragma once

#include "kernel/hsm.h"

extern const State BRT_RaumtemperaturTag;
extern const State BRT_TemperaturDialog;
extern const State BRT_Fernbedienung;
extern const State BRT_Feedback;

// At every panel start: the return state is forgotten.
void BRT_Reset();
