// The reset of the current heating circuit to its basic setting, asked first; reached through
// the circuit selection BHKW_HKWahl and returning there.
#pragma once

#include "kernel/hsm.h"

extern const State BHKG_HKGrundeinstellung;
extern const State BHKG_Feedback;
