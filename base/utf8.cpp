#include "base/utf8.h"

namespace {

constexpr uint16_t replacement = 0xFFFD;

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool atEnd(const char* text, int32_t length, int32_t i)
{
    return length < 0 ? text[i] == 0 : i >= length;
}

} // namespace

uint16_t GFX_DecodeUtf8(const char* text, int32_t length, int32_t& i)
{
    if (atEnd(text, length, i)) return 0;
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    uint32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++i;
        return replacement;
    }
    for (int k = 1; k <= extra; ++k) {
        // The terminator (or the end) is never a continuation byte, so this stops there.
        if (atEnd(text, length, i + k) || !continuation(static_cast<unsigned char>(text[i + k]))) {
            ++i;
            return replacement;
        }
        cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    i += extra + 1;
    if (cp < minimum[extra] || cp > 0xFFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return replacement;
    return static_cast<uint16_t>(cp);
}

uint16_t GFX_Utf8ToUcs2(const char* utf8, uint16_t byteCount, uint16_t* dest, uint16_t maxChars)
{
    uint16_t n = 0;
    int32_t i = 0;
    while (n < maxChars) {
        const uint16_t c = GFX_DecodeUtf8(utf8, byteCount, i);
        if (c == 0) break;
        dest[n++] = c;
    }
    return n;
}

uint16_t GFX_Ucs2ToUtf8(const uint16_t* ucs2, uint16_t count, char* dest, uint16_t maxBytes)
{
    uint16_t n = 0;
    for (uint16_t k = 0; k < count; ++k) {
        const uint16_t c = ucs2[k];
        if (c == 0) break;
        const uint16_t size = c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
        if (n + size > maxBytes) break;
        if (size == 1) {
            dest[n++] = static_cast<char>(c);
        } else if (size == 2) {
            dest[n++] = static_cast<char>(0xC0 | c >> 6);
            dest[n++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            dest[n++] = static_cast<char>(0xE0 | c >> 12);
            dest[n++] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
            dest[n++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return n;
}

uint16_t GFX_Utf8Prefix(const char* text, uint16_t length)
{
    // Walk back over continuation bytes to the lead byte of the last character and keep that
    // character only if all of its bytes are inside the length.
    if (length == 0) return 0;
    uint16_t start = length - 1;
    int back = 0;
    while (start > 0 && back < 3 && continuation(static_cast<unsigned char>(text[start]))) {
        --start;
        ++back;
    }
    const auto lead = static_cast<unsigned char>(text[start]);
    const int size = lead < 0x80             ? 1
                     : (lead & 0xE0) == 0xC0 ? 2
                     : (lead & 0xF0) == 0xE0 ? 3
                     : (lead & 0xF8) == 0xF0 ? 4
                                             : 1;
    return start + size <= length ? length : start;
}
