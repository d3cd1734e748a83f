// The message screens the basic display opens for a pending message: fault, burner lock-out,
// maintenance, running procedures, the clock to be set; and the notice that operation is
// locked.
#pragma once

#include "kernel/hsm.h"

// Children of BGA_Grundanzeige.
extern const State BMA_Stoerung;
extern const State BMA_Feuerungsautomat;
extern const State BMA_Wartung;
extern const State BMA_KalibrationAktiv;
extern const State BMA_ParametrierungFaAktiv;
extern const State BMA_BefuellungAktiv;
extern const State BMA_EntlueftungAktiv;
extern const State BMA_UhrzeitStellen;

// Under the menu monitor: goes back to the screen it was opened from after 4 s or at a key.
extern const State BMA_BedienungGesperrt;
extern const State BMA_BedienungGesperrtAnzeige;

// Forgets the blink phase and the return state of the lock notice; at every panel start.
void BMA_Reset();
