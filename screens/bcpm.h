// The group menus of the two coding levels ("Codierebene 1", "Codierebene 2"), which open the
// address browser of a group, and the reset of every coding to its factory setting
// ("Grundeinstellung") with its feedback.
#pragma once

#include <cstdint>

#include "display/text.h"
#include "kernel/hsm.h"

extern const State BCPM_Codierung_1_Menue;
extern const State BCPM_Codierung_2_Menue;
extern const State BCPM_Grundeinstellung;
extern const State BCPM_Feedback;

// The coding groups by their numbers, as the controller knows them.
inline constexpr uint8_t BCPM_GROUP_BOILER = 1;
inline constexpr uint8_t BCPM_GROUP_DHW = 2;
inline constexpr uint8_t BCPM_GROUP_GENERAL = 3;
inline constexpr uint8_t BCPM_GROUP_CIRCUIT_1 = 4;
inline constexpr uint8_t BCPM_GROUP_CIRCUIT_2 = 5;
inline constexpr uint8_t BCPM_GROUP_SOLAR = 9;

// The header title of a group's browser; TXT_NONE for a number that is no group.
TextId BCPM_GroupTitle(uint32_t group);
// The group menu of coding level 1 or 2.
StateHandler BCPM_GroupMenu(uint8_t level);

// At every panel start: the saved position is forgotten.
void BCPM_Reset();
