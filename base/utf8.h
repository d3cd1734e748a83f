// UTF-8 <-> UCS-2 conversion of the graphics core. Texts come from the catalogue, the flash
// image and the controller's circuit labels, so every decoder stops at the terminator or at
// the end of the given bytes and never reads past either, whatever the bytes are.
#pragma once

#include <cstdint>

// Decodes the character at text[i] (i < length, or up to the terminating zero when length is
// negative) and advances i past it. A malformed or truncated sequence yields U+FFFD and
// advances by one byte; code points above U+FFFF (not drawable) also yield U+FFFD. Returns 0 at
// the end.
uint16_t GFX_DecodeUtf8(const char* text, int32_t length, int32_t& i);

// Number of characters converted; at most maxChars are written.
uint16_t GFX_Utf8ToUcs2(const char* utf8, uint16_t byteCount, uint16_t* dest, uint16_t maxChars);
// Number of bytes written; stops before a character whose encoding would exceed maxBytes. The
// result is not terminated.
uint16_t GFX_Ucs2ToUtf8(const uint16_t* ucs2, uint16_t count, char* dest, uint16_t maxBytes);
// Bytes of the longest prefix of text (length bytes) that ends on a character boundary.
uint16_t GFX_Utf8Prefix(const char* text, uint16_t length);
