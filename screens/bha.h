// The help display: a title and a help text for every help code, paged when the text is longer
// than the screen; for the records of the fault list and the fault history the fault's code,
// date and time and its own help text.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State BHA_Hilfeanzeige;

// Help codes (the SIG_INIT parameter of the help display).
inline constexpr uint32_t BHA_GENERAL_HELP = 16;
inline constexpr uint32_t BHA_QUICK_INSTRUCTIONS = 17;
inline constexpr uint32_t BHA_FAULT_LIST_FIRST = 119;    // 119..128: fault list records 0..9
inline constexpr uint32_t BHA_FAULT_HISTORY_FIRST = 130; // 130..139: fault history records 0..9
