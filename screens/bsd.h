// The fault dialog: fetches the current fault list from the controller, shows it and lets
// the user acknowledge the fault alarm.
#pragma once

#include "kernel/hsm.h"

extern const State BSD_Stoerungsdialog;
extern const State BSD_AufStoerungsdatenWarten;
extern const State BSD_StoerungsdatenMenue;
extern const State BSD_KeineStoerung;
// Beside the dialog under the menu monitor, so that Back returns to the list.
extern const State BSD_QuittierungsAbfrage;
extern const State BSD_QuittierungsFeedback;

// Forgets the return state and the list position; at every panel start.
void BSD_Reset();
