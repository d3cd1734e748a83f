// The simulated key matrix: the device picture's hardkeys set the pattern of the key held now,
// which the 20 ms key scan reads through the column select. Hardkeys 13..33 are the
// simulation commands.
#pragma once

#include <cstdint>

// Patterns by key index (the key task's table): Up, OK, Down, Back, Menu, Left, Right, Help,
// then the five combinations OK+Up, OK+Down, Menu+OK, Menu+Down, OK+Back.
inline constexpr uint8_t KEY_PATTERN_BACK = 0x01;
inline constexpr uint8_t KEY_PATTERN_LEFT = 0x02;
inline constexpr uint8_t KEY_PATTERN_RIGHT = 0x04;
inline constexpr uint8_t KEY_PATTERN_UP = 0x08;
inline constexpr uint8_t KEY_PATTERN_DOWN = 0x10;
inline constexpr uint8_t KEY_PATTERN_OK = 0x20;
inline constexpr uint8_t KEY_PATTERN_HELP = 0x40;
inline constexpr uint8_t KEY_PATTERN_MENU = 0x80;

// Hardkey numbers of the device picture.
inline constexpr int HARDKEY_BACK = 0;
inline constexpr int HARDKEY_UP = 1;
inline constexpr int HARDKEY_LEFT = 2;
inline constexpr int HARDKEY_OK = 3;
inline constexpr int HARDKEY_RIGHT = 4;
inline constexpr int HARDKEY_DOWN = 5;
inline constexpr int HARDKEY_HELP = 6;
inline constexpr int HARDKEY_MENU = 7;
inline constexpr int HARDKEY_FIRST_COMBINATION = 8; // 8..12 = key indices 8..12
inline constexpr int HARDKEY_FIRST_COMMAND = 13;    // 13..33 = simulation commands 0..20
inline constexpr int HARDKEY_COUNT = 34;

void KEY_Init();

// What a simulation command (0..20, hardkeys 13..33) does is the panel's business: start-up
// connects the handler, which runs on the caller's thread as an interrupt would.
using KEY_CommandHandler = void (*)(int command);
void KEY_SetCommandHandler(KEY_CommandHandler handler);
uint32_t KEY_ReadMatrix();
void KEY_SelectColumn(uint8_t value);
void KEY_HardkeyCallback(int hardkey, int pressed);

// Host convenience: hold an arbitrary pattern (several keys of a keyboard at once). Patterns
// that are not in the key table are ignored by the key scan, as on the device.
void KEY_SetPattern(uint32_t pattern);

// The hardkey (0..12) whose key or combination has this pattern, -1 if none has.
int KEY_HardkeyForPattern(uint32_t pattern);
