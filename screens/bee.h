// The end-user menu: the short heating menu of the basic display's "Heizung", with the
// picture and value of the selected item and the choice of the heating circuit.
#pragma once

#include "kernel/hsm.h"

extern const State BEE_Endbenutzermenue;

// Forgets the remembered position; at every panel start.
void BEE_Reset();
