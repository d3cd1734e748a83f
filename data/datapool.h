// The data pool: every value the panel shows or changes.
#pragma once

#include <cstdint>

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
