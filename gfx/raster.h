// Inside the graphics core: the drawing state, clipping and row spans that the operations in
// gfx*.cpp share. Not for use outside gfx/.
#pragma once

#include <cstddef>
#include <cstdint>

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

State& state();
inline uint8_t* row(int y) { return GFX_Memory() + y * GFX_WIDTH; }

inline GFX_Rect intersect(const GFX_Rect& a, const GFX_Rect& b)
{
    return {a.x0 > b.x0 ? a.x0 : b.x0, a.y0 > b.y0 ? a.y0 : b.y0, a.x1 < b.x1 ? a.x1 : b.x1,
            a.y1 < b.y1 ? a.y1 : b.y1};
}
inline bool empty(const GFX_Rect& r) { return r.x0 > r.x1 || r.y0 > r.y1; }

// memset of a row span, kept out of line: inlined, the compiler turns short spans whose length
// it can bound into a string instruction that costs several times the library call.
[[gnu::noinline]] void fillBytes(uint8_t* p, uint8_t value, size_t count);

// Row spans clipped to the clip rectangle: write one value, invert, or paint in the draw mode
// (normal writes the foreground, XOR inverts).
inline void writeSpan(int y, int x0, int x1, uint8_t value)
{
    const GFX_Rect& c = state().clip;
    if (y < c.y0 || y > c.y1) return;
    if (x0 < c.x0) x0 = c.x0;
    if (x1 > c.x1) x1 = c.x1;
    if (x0 <= x1) fillBytes(row(y) + x0, value, static_cast<size_t>(x1 - x0 + 1));
}

inline void invertSpan(int y, int x0, int x1)
{
    const GFX_Rect& c = state().clip;
    if (y < c.y0 || y > c.y1) return;
    if (x0 < c.x0) x0 = c.x0;
    if (x1 > c.x1) x1 = c.x1;
    uint8_t* p = row(y);
    for (int x = x0; x <= x1; ++x)
        p[x] = p[x] ? 0 : 1;
}

inline void paintSpan(int y, int x0, int x1)
{
    if (state().drawMode == GfxDrawMode::Xor)
        invertSpan(y, x0, x1);
    else
        writeSpan(y, x0, x1, state().fg);
}

inline void paintPixel(int x, int y) { paintSpan(y, x, x); }

// Visible-text bookkeeping (gfx_visible.cpp).
void visibleClearAll();
void visibleCover(const GFX_Rect& area); // area already clipped
void visibleAdd(const GFX_Rect& box, const char* text, int32_t bytes);

} // namespace gfx
