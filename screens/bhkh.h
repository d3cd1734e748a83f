// The heating curve of the current heating circuit: its slope ("Neigung") and level
// ("Niveau"), each edited with the curve drawn as it would be stored.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State BHKH_NeigungNiveauMenue;
extern const State BHKH_NeigungDialog;
extern const State BHKH_NiveauDialog;
extern const State BHKH_FeedbackNeigung;
extern const State BHKH_FeedbackNiveau;

// The flow temperature the controller aims at for outside temperature `outside` (°C), with
// the room set temperature `room` (°C), the slope in tenths and the level in kelvin; limited
// to 0 ... 100.
float BHKH_FlowTemperature(float room, float outside, uint8_t slopeTenths, int8_t level);

// The curve with its axes and the guides at 10, 0, -10 and -20 °C into (0, 28)-(239, 106),
// for the stored room set temperature and in the display unit.
void BHKH_DrawCurve(uint8_t slopeTenths, int8_t level);

// At every panel start: the working values and the list position are forgotten.
void BHKH_Reset();
