// The operating programme of the current heating circuit: "Heizen und Warmwasser", "Nur
// Warmwasser" or "Abschaltbetrieb", chosen from a list and sent to the controller at once.
// While an external switch-over or an external programme holds the circuit, the family says
// so instead of offering the list.
#pragma once

#include "kernel/hsm.h"

extern const State BetriebsartEinstellen;
extern const State ExterneAufschaltung;
extern const State ExternesProgramm;
extern const State BetriebsartMenue;
extern const State BBE_BetriebsartFeedback;

// At every panel start: return state, list position and the open question are forgotten.
void BBE_Reset();
