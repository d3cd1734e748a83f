// Inside the graphics core: the drawing state, clipping and row spans that the operations in
// gfx*.cpp share. Not for use outside gfx/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gfx/gfx.h"

namespace gfx {

inline constexpr GFX_Rect DISPLAY{0, 0, GFX_WIDTH - 1, GFX_HEIGHT - 1};

// The drawing state as after start-up: white on black, normal modes, solid lines, pen 1.
struct State {
    const GFX_Font* font = nullptr;
    uint8_t fg = 1; // pixel value of the foreground
    uint8_t bg = 0;
    GfxDrawMode drawMode = GfxDrawMode::Normal;
    uint8_t textMode = GFX_TEXT_NORMAL;
    uint8_t lineStyle = GFX_LINE_SOLID;
    uint8_t penSize = 1;
    GFX_Point textPos{0, 0};
    GFX_Rect clip = DISPLAY; // always inside the display
};

// The one drawing state and the display memory (gfx.cpp).
extern State drawing;
extern uint8_t memory[GFX_HEIGHT][GFX_BYTES_PER_ROW];
inline State& state() { return drawing; }
inline uint8_t* row(int y) { return memory[y]; }
inline uint8_t bitOf(int x) { return static_cast<uint8_t>(0x80 >> (x & 7)); }
inline bool pixelIn(const uint8_t* r, int x) { return (r[x >> 3] & bitOf(x)) != 0; }
inline void putPixel(uint8_t* r, int x, uint8_t value)
{
    if (value)
        r[x >> 3] |= bitOf(x);
    else
        r[x >> 3] &= static_cast<uint8_t>(~bitOf(x));
}
inline void flipPixel(uint8_t* r, int x) { r[x >> 3] ^= bitOf(x); }

inline GFX_Rect intersect(const GFX_Rect& a, const GFX_Rect& b)
{
    return {a.x0 > b.x0 ? a.x0 : b.x0, a.y0 > b.y0 ? a.y0 : b.y0, a.x1 < b.x1 ? a.x1 : b.x1,
            a.y1 < b.y1 ? a.y1 : b.y1};
}
inline bool empty(const GFX_Rect& r) { return r.x0 > r.x1 || r.y0 > r.y1; }

// The bits of columns x0..x1 (inside one row) byte by byte: the first and the last byte
// partly, the bytes between whole.
struct SpanBytes {
    int first, last;
    uint8_t firstMask, lastMask; // the same byte when first == last: both masks apply
};
inline SpanBytes spanBytes(int x0, int x1)
{
    return {x0 >> 3, x1 >> 3, static_cast<uint8_t>(0xFF >> (x0 & 7)),
            static_cast<uint8_t>(0xFF << (7 - (x1 & 7)))};
}

// What a span does to its pixels, as two masks: the bits it clears, then the bits it flips.
// Setting clears and flips, clearing only clears, inverting only flips.
struct SpanOp {
    uint8_t clears, flips;
    bool operator==(const SpanOp&) const = default;
};
inline constexpr SpanOp SET{0xFF, 0xFF};
inline constexpr SpanOp CLEAR{0xFF, 0x00};
inline constexpr SpanOp INVERT{0x00, 0xFF};

inline void applyByte(uint8_t& byte, uint8_t mask, SpanOp op)
{
    byte = static_cast<uint8_t>((byte & ~(mask & op.clears)) ^ (mask & op.flips));
}

inline void applySpan(uint8_t* r, const SpanBytes& b, SpanOp op)
{
    if (b.first == b.last) {
        applyByte(r[b.first], b.firstMask & b.lastMask, op);
        return;
    }
    applyByte(r[b.first], b.firstMask, op);
    for (int i = b.first + 1; i < b.last; ++i)
        applyByte(r[i], 0xFF, op);
    applyByte(r[b.last], b.lastMask, op);
}

// The same for a wide span: the whole bytes between eight at a time.
inline void applyWideSpan(uint8_t* r, const SpanBytes& b, SpanOp op)
{
    if (b.first == b.last) {
        applyByte(r[b.first], b.firstMask & b.lastMask, op);
        return;
    }
    applyByte(r[b.first], b.firstMask, op);
    int i = b.first + 1;
    const uint64_t clears = op.clears * 0x0101010101010101ull;
    const uint64_t flips = op.flips * 0x0101010101010101ull;
    for (; i + 8 <= b.last; i += 8) {
        uint64_t word;
        memcpy(&word, r + i, sizeof word);
        word = (word & ~clears) ^ flips;
        memcpy(r + i, &word, sizeof word);
    }
    for (; i < b.last; ++i)
        applyByte(r[i], 0xFF, op);
    applyByte(r[b.last], b.lastMask, op);
}

// A span on a row inside the clip rectangle, clipped to its columns.
inline void spanInRow(uint8_t* r, int x0, int x1, SpanOp op)
{
    const GFX_Rect& c = state().clip;
    if (x0 < c.x0) x0 = c.x0;
    if (x1 > c.x1) x1 = c.x1;
    if (x0 <= x1) applySpan(r, spanBytes(x0, x1), op);
}

// A row span clipped to the clip rectangle.
inline void spanOp(int y, int x0, int x1, SpanOp op)
{
    const GFX_Rect& c = state().clip;
    if (y < c.y0 || y > c.y1) return;
    spanInRow(row(y), x0, x1, op);
}

// The same span on every row of a rectangle, clipped to the clip rectangle.
inline void rectOp(const GFX_Rect& r, SpanOp op)
{
    const GFX_Rect a = intersect(r, state().clip);
    if (empty(a)) return;
    const SpanBytes b = spanBytes(a.x0, a.x1);
    if (b.last - b.first <= 8) {
        for (int y = a.y0; y <= a.y1; ++y)
            applySpan(row(y), b, op);
        return;
    }
    for (int y = a.y0; y <= a.y1; ++y)
        applyWideSpan(row(y), b, op);
}

// Normal mode paints the foreground, XOR inverts.
inline SpanOp paintOp()
{
    if (state().drawMode == GfxDrawMode::Xor) return INVERT;
    return state().fg ? SET : CLEAR;
}

inline void paintSpan(int y, int x0, int x1) { spanOp(y, x0, x1, paintOp()); }

inline void paintPixel(int x, int y) { paintSpan(y, x, x); }

// Visible-text bookkeeping (gfx_visible.cpp).
void visibleClearAll();                  // display memory cleared: its texts are no longer drawn
void visibleForgetAll();                 // start-up: nothing is drawn or shown
void visibleCover(const GFX_Rect& area); // area already clipped
void visibleAdd(const GFX_Rect& box, const char* text, int32_t bytes);

} // namespace gfx
