// Party mode of the current heating circuit: asks for the party room temperature when it is
// off, and is switched off at once when it is on. It ends economy mode.
#pragma once

#include "kernel/hsm.h"

extern const State BPB_Partybetrieb;
extern const State BPB_PartybetriebRaumtemperatur;
extern const State BPB_PartybetriebFeedback;
extern const State BPB_PartybetriebReset;

// At every panel start: the return state is forgotten.
void BPB_Reset();
