// The main menu ("Menü") that the Menu key opens.
#pragma once

#include "kernel/hsm.h"

extern const State BGM_Grundmenue;

// Forgets the remembered position; at every panel start.
void BGM_Reset();
