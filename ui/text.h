// The text catalogue: every visible word by text identifier, in the current language.
#pragma once

#include <cstdint>

using TextId = uint16_t;
inline constexpr TextId TXT_NONE = 65535;
inline constexpr TextId TXT_COUNT = 395;
inline constexpr uint16_t TXT_BUFFER_SIZE = 1212;
inline constexpr uint8_t TXT_LANGUAGE_COUNT = 19;

void TXT_Init();
void TXT_SetLanguage(uint8_t index);
uint8_t TXT_GetLanguage();
