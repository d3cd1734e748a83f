// Bitmap fonts of the graphics core. A glyph is as high as its font; its bitmap has one bit a
// pixel, rows top to bottom, each row starting on a new byte, most significant bit leftmost.
#pragma once

#include <cstdint>

struct GFX_Glyph {
    uint8_t width;   // bitmap width in pixels
    uint8_t advance; // pen movement in pixels
    uint8_t bytesPerRow;
    const uint8_t* bitmap;
};

// Code points first..last, one glyph each; ranges are searched in chain order.
struct GFX_GlyphRange {
    uint16_t first;
    uint16_t last;
    const GFX_Glyph* glyphs;
    const GFX_GlyphRange* next;
};

struct GFX_Font {
    uint8_t height;       // glyph height in pixels
    uint8_t lineDistance; // pixels from one text line to the next
    uint8_t magX;
    uint8_t magY;
    uint8_t baseline;    // row of the baseline, counted from the top
    uint8_t lowerHeight; // height of lower-case letters
    uint8_t capHeight;   // height of capitals
    const GFX_GlyphRange* ranges;
};

// The glyph of a code point, or null when the font has none (not drawn, advances by nothing).
inline const GFX_Glyph* GFX_FindGlyph(const GFX_Font& font, uint16_t codePoint)
{
    for (const GFX_GlyphRange* r = font.ranges; r != nullptr; r = r->next)
        if (codePoint >= r->first && codePoint <= r->last) return &r->glyphs[codePoint - r->first];
    return nullptr;
}
