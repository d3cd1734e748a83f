// The start-up display: a progress bar while the link to the boiler controller starts, with
// the window in which the factory test programmes can be started.
#pragma once

#include "kernel/hsm.h"

extern const State BLA_Laufbalkenanzeige;
extern const State BLA_PruefprogrammStart;
extern const State BLA_KommunikationStart;
