// The coding levels' address browser (BCP_Codierung_1 with a text for the well-known addresses,
// BCP_Codierung_2 with bare addresses), the value editor and its confirmation. The browser asks
// the controller for every address it stops at and keeps the bus to itself while it is open.
#pragma once

#include <cstdint>

#include "display/text.h"
#include "kernel/hsm.h"

extern const State BCP_Codierung_1;
extern const State BCP_Codierung_2;
// Children of the browser of the current coding level.
extern const State BCP_EditValue;
extern const State BCP_EditFeedback;

// The level-1 text of a coding address of a group, TXT_NONE for an address without one.
TextId BCP_AddressText(uint32_t group, uint8_t address);

// At every panel start: address, value and blink phase are forgotten.
void BCP_Reset();
