// The reduced room set temperature of the current heating circuit, reached from the
// heating-circuit menu and always returning there.
#pragma once

#include "kernel/hsm.h"

extern const State BRN_RaumtemperaturNacht;
extern const State BRN_TemperaturDialog;
extern const State BRN_Feedback;
