// The text catalogue: every visible word by text identifier, in the current language.
#pragma once

#include <cstdint>

using TextId = uint16_t;
inline constexpr TextId TXT_NONE = 65535;
inline constexpr TextId TXT_COUNT = 395;
inline constexpr uint16_t TXT_BUFFER_SIZE = 1212;
inline constexpr uint8_t TXT_LANGUAGE_COUNT = 19;

// Clears the shared buffer and selects German.
void TXT_Init();
// Values above 18 select German (0).
void TXT_SetLanguage(uint8_t index);
uint8_t TXT_GetLanguage();

// The text of the current language into buffer: at most size - 1 bytes, cut at the last whole
// character, always terminated (size > 0); returns its length. TXT_NONE is the empty text; an
// identifier from TXT_COUNT on is an internal error that restarts the panel (code 129) and also
// yields the empty text.
uint16_t TXT_GetInto(TextId id, char* buffer, uint16_t size);
// The same into the one shared buffer, which the next lookup overwrites.
const char* TXT_Get(TextId id);

// ',' or '.' between the integer and the decimal digit, by the current language.
char TXT_GetDecimalSeparator();
