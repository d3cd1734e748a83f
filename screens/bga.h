// The basic display: the home of every screen. Each (re-)initialisation decides what the user
// must see now: a pending message, the basic display menu (or its locked variant) or, after
// five minutes without a key, the idle animation.
#pragma once

#include "kernel/hsm.h"

extern const State BGA_Grundanzeige;
extern const State BGA_GrundanzeigeMenue;
extern const State BGA_GrundanzeigeMenueGesperrt;

// BGA_GrundanzeigeMenue once a menu position has been remembered, else BGA_Grundanzeige: where
// screens return to when they go home.
StateHandler BGA_GetMenuState();

// Forgets the remembered menu position; at every panel start.
void BGA_Reset();
