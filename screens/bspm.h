// The service-pin message ("Service-Message"): asks the controller's LON communication module
// to send its identification message and says so; it closes by itself after 4 s.
#pragma once

#include "kernel/hsm.h"

// Opened from the service functions, to which it returns.
extern const State BSPM_ServicePinMessage;

// At every panel start: the screen it returns to is forgotten.
void BSPM_Reset();
