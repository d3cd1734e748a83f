// Key scan (20 ms tick) and key task (priority 3): debounce, key combinations with hold
// delays, auto-repeat with acceleration.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State TAS_TastaturTask;
extern const State TAS_Idle;
extern const State TAS_Pressed;
extern const State TAS_RepeatDelay;
extern const State TAS_Repeat;
extern const State TAS_FastRepeat;
extern const State TAS_LongPress;

// Key indices of the key table.
inline constexpr uint8_t KEY_UP = 0;
inline constexpr uint8_t KEY_OK = 1;
inline constexpr uint8_t KEY_DOWN = 2;
inline constexpr uint8_t KEY_BACK = 3;
inline constexpr uint8_t KEY_MENU = 4;
inline constexpr uint8_t KEY_LEFT = 5;
inline constexpr uint8_t KEY_RIGHT = 6;
inline constexpr uint8_t KEY_HELP = 7;
inline constexpr uint8_t KEY_OK_UP = 8;
inline constexpr uint8_t KEY_OK_DOWN = 9;
inline constexpr uint8_t KEY_MENU_OK = 10;
inline constexpr uint8_t KEY_MENU_DOWN = 11;
inline constexpr uint8_t KEY_OK_BACK = 12;
inline constexpr uint8_t KEY_NONE = 13;
inline constexpr uint8_t KEY_INVALID = 14;

// The 20 ms key scan, called by the CPU tick with interrupts disabled.
void TAS_Scan();

// Key index of a pattern read from the matrix (KEY_NONE for 0, KEY_INVALID if not in the table).
uint8_t TAS_KeyOfPattern(uint32_t pattern);
