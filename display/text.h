// The text catalogue: every visible word by text identifier, in the current language. The
// identifiers go by their names (TXT_HEIZKREIS_1, generated from texts/ids.list).
#pragma once

#include <cstdint>

#include "display/text_id.h"
#include "text_names.h"

inline constexpr uint16_t TXT_BUFFER_SIZE = 1212;
inline constexpr uint8_t TXT_LANGUAGE_COUNT = 19;

// The circuit labels that replace "Heizkreis 1" and "Heizkreis 2": the data pool's labels,
// connected at start-up. The source writes the label in the current language into buffer and
// returns its length, or 0 when the circuit has none (the catalogue's text is shown).
using TXT_LabelSource = uint16_t (*)(TextId id, char* buffer, uint16_t size);
void TXT_SetLabelSource(TXT_LabelSource source);

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
