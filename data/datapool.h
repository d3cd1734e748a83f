// The data pool: every value the panel shows or changes.
#pragma once

#include <cstdint>

#include "ui/text.h"

// Start-up and clearing: with reason 2 (3 o'clock restart) the pool is kept; otherwise it is
// cleared and filled with the simulated plant values.
void DAT_ClearAll(uint8_t reason);

uint8_t DAT_GetBrightnessOperation();
uint8_t DAT_GetBrightnessIdle();

// StatusBlock byte 5: test-state flags that the simulation commands set.
bool DAT_GetCalibrationActive();
void DAT_SetCalibrationActive(bool on);
bool DAT_GetParametrisationActive();
void DAT_SetParametrisationActive(bool on);

// Circuit label of text 116 (circuit 1) or 117 (circuit 2) as UTF-8 when one is stored in the
// current language: at most size - 1 bytes, cut at a character boundary, always terminated;
// returns its length, 0 when the catalogue text applies.
uint16_t DAT_GetCircuitLabel(TextId id, char* buffer, uint16_t size);
