// Text rendering: UTF-8 lines of glyphs in the current font, aligned in rectangles, optionally
// wrapped at blanks, clipped to the rectangle and the clip rectangle.
#include <cstdint>

#include "base/utf8.h"
#include "gfx/gfx.h"
#include "gfx/raster.h"

using namespace gfx;

namespace {

// One line of a text: bytes [start, end), the next line at `next` (-1 when this was the last).
struct Line {
    int32_t start, end, next;
    int32_t width;
};

// Counts the characters of one text operation so that no text draws more than the maximum.
struct Budget {
    int32_t left = GFX_MAX_TEXT_CHARS;
};

int16_t advanceOf(uint16_t c)
{
    const GFX_Font* font = state().font;
    if (font == nullptr) return 0;
    const GFX_Glyph* g = GFX_FindGlyph(*font, c);
    return g != nullptr ? g->advance : 0;
}

// Lays out the line starting at pos. With maxWidth >= 0 a line that would be wider is broken
// at the last blank that fits (the blank is dropped), or, when no blank fits, before the first
// character that does not fit, keeping at least one character a line.
Line nextLine(const char* text, int32_t pos, int32_t maxWidth, Budget& budget)
{
    int32_t i = pos;
    int32_t width = 0;
    Line atBlank{-1, -1, -1, 0};
    int32_t budgetAtBlank = 0;
    for (;;) {
        const int32_t at = i;
        const uint16_t c = budget.left > 0 ? GFX_DecodeUtf8(text, -1, i) : 0;
        if (c == 0) return {pos, at, -1, width};
        if (c == '\n') {
            --budget.left;
            return {pos, at, i, width};
        }
        const int16_t adv = advanceOf(c);
        if (maxWidth >= 0 && width + adv > maxWidth) {
            if (c == ' ') {
                --budget.left;
                return {pos, at, i, width};
            }
            if (atBlank.start >= 0) {
                budget.left = budgetAtBlank; // the rest is read again for the next line
                return atBlank;
            }
            if (at > pos) return {pos, at, at, width};
        }
        --budget.left;
        if (c == ' ') {
            atBlank = {pos, at, i, width};
            budgetAtBlank = budget.left;
        }
        width += adv;
    }
}

// A position of a very long line held in a rectangle coordinate: beyond the display either way
// it only needs to stay beyond it.
int16_t coordinate(int v)
{
    return static_cast<int16_t>(v < -30000 ? -30000 : v > 30000 ? 30000 : v);
}

bool isBlank(uint16_t c) { return c == ' ' || c == 0x1B || c == 0xA0; }

void drawGlyph(const GFX_Glyph& g, int x, int y, int height)
{
    const State& s = state();
    const GFX_Rect& clip = s.clip;
    const bool transparent = s.textMode == GFX_TEXT_TRANSPARENT;
    const bool reverse = s.textMode == GFX_TEXT_REVERSE;
    const bool xorMode = s.drawMode == GfxDrawMode::Xor;
    const uint8_t ink = reverse ? s.bg : s.fg;
    const uint8_t paper = reverse ? s.fg : s.bg;
    const int cellWidth = g.advance > g.width ? g.advance : g.width;
    for (int r = 0; r < height; ++r) {
        const int py = y + r;
        if (py < clip.y0 || py > clip.y1) continue;
        const uint8_t* bits = g.bitmap + r * g.bytesPerRow;
        uint8_t* out = row(py);
        for (int col = 0; col < cellWidth; ++col) {
            const int px = x + col;
            if (px < clip.x0 || px > clip.x1) continue;
            const bool set = col < g.width && pixelIn(bits, col);
            if (xorMode) {
                if (set) flipPixel(out, px);
            } else if (set) {
                putPixel(out, px, ink);
            } else if (!transparent && col < g.advance) {
                putPixel(out, px, paper);
            }
        }
    }
}

// Draws bytes [start, end) of text as one line with its top-left at (x, y) and registers it
// as visible text; returns the x after its last advance.
int drawLine(const char* text, int32_t start, int32_t end, int x, int y)
{
    const GFX_Font* font = state().font;
    if (font == nullptr) return x;
    const int x0 = x;
    bool readable = false;
    for (int32_t i = start; i < end;) {
        const uint16_t c = GFX_DecodeUtf8(text, end, i);
        const GFX_Glyph* g = GFX_FindGlyph(*font, c);
        if (g == nullptr) continue;
        if (!isBlank(c)) readable = true;
        x += g->advance;
    }
    if (x == x0) return x;
    const GFX_Rect box = intersect(
        {coordinate(x0), coordinate(y), coordinate(x - 1), coordinate(y + font->height - 1)},
        state().clip);
    if (empty(box)) return x;
    visibleCover(box);
    int pen = x0;
    for (int32_t i = start; i < end;) {
        const uint16_t c = GFX_DecodeUtf8(text, end, i);
        const GFX_Glyph* g = GFX_FindGlyph(*font, c);
        if (g == nullptr) continue;
        if (pen <= box.x1 && pen + g->advance > box.x0) drawGlyph(*g, pen, y, font->height);
        pen += g->advance;
    }
    if (readable) visibleAdd(box, text + start, end - start);
    return x;
}

// Draws the lines of a text in a rectangle; maxWidth < 0 means no wrapping.
void textInRect(const char* text, const GFX_Rect& r, uint8_t align, int32_t maxWidth)
{
    const GFX_Font* font = state().font;
    if (text == nullptr || font == nullptr) return;
    int lines = 0;
    Budget counting;
    for (int32_t pos = 0; pos >= 0; pos = nextLine(text, pos, maxWidth, counting).next)
        ++lines;
    const int blockHeight = (lines - 1) * font->lineDistance + font->height;
    int y = r.y0;
    if (align & 8)
        y = r.y0 + (r.y1 - r.y0 + 1 - blockHeight) / 2;
    else if (align & 4)
        y = r.y1 - blockHeight + 1;

    const GFX_Rect savedClip = state().clip;
    state().clip = intersect(r, savedClip);
    if (!empty(state().clip)) {
        Budget drawing;
        int lastX = r.x0, lastY = y;
        for (int32_t pos = 0; pos >= 0;) {
            const Line line = nextLine(text, pos, maxWidth, drawing);
            int x = r.x0;
            if (align & 2)
                x = r.x0 + (r.x1 - r.x0 + 1 - line.width) / 2;
            else if (align & 1)
                x = r.x1 - line.width + 1;
            lastX = drawLine(text, line.start, line.end, x, y);
            lastY = y;
            y += font->lineDistance;
            pos = line.next;
        }
        state().textPos = {coordinate(lastX), coordinate(lastY)};
    }
    state().clip = savedClip;
}

} // namespace

void GFX_TextInRect(const char* text, const GFX_Rect& r, uint8_t align)
{
    textInRect(text, r, align, -1);
}

void GFX_TextInRectWrap(const char* text, const GFX_Rect& r, uint8_t align, uint8_t wrapMode)
{
    textInRect(text, r, align, wrapMode == GFX_WRAP_WORDS ? r.x1 - r.x0 + 1 : -1);
}

void GFX_TextAt(const char* text, int16_t x, int16_t y)
{
    const GFX_Font* font = state().font;
    if (text == nullptr || font == nullptr) return;
    Budget budget;
    int lastX = x, lineY = y, lastY = y;
    for (int32_t pos = 0; pos >= 0; lineY += font->lineDistance) {
        const Line line = nextLine(text, pos, -1, budget);
        lastX = drawLine(text, line.start, line.end, x, lineY);
        lastY = lineY;
        pos = line.next;
    }
    state().textPos = {coordinate(lastX), coordinate(lastY)};
}

void GFX_TextAtTransparent(const char* text, int16_t x, int16_t y)
{
    const uint8_t previous = GFX_SetTextMode(GFX_TEXT_TRANSPARENT);
    GFX_TextAt(text, x, y);
    GFX_SetTextMode(previous);
}

void GFX_CharAt(uint16_t character, int16_t x, int16_t y)
{
    char utf8[3];
    const uint16_t bytes = GFX_Ucs2ToUtf8(&character, 1, utf8, sizeof utf8);
    const int end = drawLine(utf8, 0, bytes, x, y);
    state().textPos = {coordinate(end), y};
}

int16_t GFX_CharWidth(uint16_t character) { return advanceOf(character); }

int16_t GFX_TextWidth(const char* text)
{
    if (text == nullptr) return 0;
    Budget budget;
    int32_t widest = 0;
    for (int32_t pos = 0; pos >= 0;) {
        const Line line = nextLine(text, pos, -1, budget);
        if (line.width > widest) widest = line.width;
        pos = line.next;
    }
    return static_cast<int16_t>(widest < INT16_MAX ? widest : INT16_MAX);
}
