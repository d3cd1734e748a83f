// Texts that name the state of a heating circuit, for the header and the information screens.
#pragma once

#include <cstdint>

#include "display/text.h"

// Bits of the circuit's mode word that the controller sets for states the panel only shows.
inline constexpr uint16_t TXT_MODE_SCREED = 1u << 12;         // screed drying function runs
inline constexpr uint16_t TXT_MODE_HEATING_NORMAL = 1u << 8;  // heating at the normal set value
inline constexpr uint16_t TXT_MODE_HEATING_REDUCED = 1u << 9; // heating at the reduced value

// What governs circuit 1 or 2 now (screed function, external hook-up, holiday programme,
// external programme, party, economy, then the operating programme), TXT_NONE when nothing.
TextId TXT_CircuitProgramState(uint8_t circuit);
// "Normaler Heizbetrieb", "Reduzierter Betrieb" or "Abschaltbetrieb" for circuit 1 or 2.
TextId TXT_CircuitHeatingState(uint8_t circuit);
// "Heizkreis 2" when circuit 2 is the current circuit, else "Heizkreis 1".
TextId TXT_CircuitName();
// "HK1" / "HK2" for the current circuit where the header must tell the circuits apart, else
// TXT_NONE.
TextId TXT_CircuitLabel();
