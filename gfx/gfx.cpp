#include "gfx/gfx.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "gfx/raster.h"
#include "sim/hal/ticks.h"

namespace gfx {
uint8_t memory[GFX_HEIGHT][GFX_BYTES_PER_ROW];
State drawing{};
} // namespace gfx

using namespace gfx;

namespace {

State& current = drawing;

uint8_t pixelValue(GfxColour c) { return c == GfxColour::White ? 1 : 0; }
GfxColour colourOf(uint8_t value) { return value ? GfxColour::White : GfxColour::Black; }

// Clips a rectangle given in any corner order to the clip rectangle.
GFX_Rect clipped(int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    return intersect({x0, y0, x1, y1}, current.clip);
}

// One pen dot: a square of the pen size around the point.
void penDot(int x, int y)
{
    const int size = current.penSize > 1 ? current.penSize : 1;
    const int before = (size - 1) / 2;
    for (int dy = -before; dy < size - before; ++dy)
        paintSpan(y + dy, x - before, x - before + size - 1);
}

// On/off pattern of the line styles, one bit a step, the lowest bit first.
constexpr uint8_t LINE_PATTERNS[] = {0xFF, 0x0F, 0x55};

} // namespace

uint8_t* GFX_Memory() { return &memory[0][0]; }

bool GFX_GetPixel(int16_t x, int16_t y)
{
    if (x < 0 || y < 0 || x >= GFX_WIDTH || y >= GFX_HEIGHT) return false;
    return pixelIn(row(y), x);
}

void GFX_Init(const GFX_Font* font)
{
    current = State{};
    current.font = font;
    memset(memory, 0, sizeof memory);
    visibleForgetAll();
}

// The host services its windows on other threads; the panel just waits its time.
void GFX_Delay(uint32_t ms) { SIM_Delay(ms); }

const GFX_Font* GFX_SetFont(const GFX_Font* font)
{
    const GFX_Font* previous = current.font;
    current.font = font;
    return previous;
}

const GFX_Font* GFX_GetFont() { return current.font; }

GfxColour GFX_SetForeground(GfxColour colour)
{
    const GfxColour previous = colourOf(current.fg);
    current.fg = pixelValue(colour);
    return previous;
}

GfxColour GFX_SetBackground(GfxColour colour)
{
    const GfxColour previous = colourOf(current.bg);
    current.bg = pixelValue(colour);
    return previous;
}

GfxDrawMode GFX_SetDrawMode(GfxDrawMode mode)
{
    const GfxDrawMode previous = current.drawMode;
    current.drawMode = mode;
    return previous;
}

uint8_t GFX_SetTextMode(uint8_t mode)
{
    const uint8_t previous = current.textMode;
    current.textMode = mode;
    return previous;
}

uint8_t GFX_SetLineStyle(uint8_t style)
{
    const uint8_t previous = current.lineStyle;
    current.lineStyle = style;
    return previous;
}

uint8_t GFX_SetPenSize(uint8_t size)
{
    const uint8_t previous = current.penSize;
    current.penSize = size;
    return previous;
}

GFX_Point GFX_TextPosition() { return current.textPos; }

void GFX_SetClipRect(const GFX_Rect& r) { current.clip = intersect(r, DISPLAY); }
void GFX_ResetClipRect() { current.clip = DISPLAY; }

void GFX_Clear()
{
    memset(memory, current.bg ? 0xFF : 0x00, sizeof memory);
    current.textPos = {0, 0};
    visibleClearAll();
}

void GFX_ClearRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    const GFX_Rect r = clipped(x0, y0, x1, y1);
    if (empty(r)) return;
    rectOp(r, current.bg ? SET : CLEAR);
    visibleCover(r);
}

void GFX_ClearRect(const GFX_Rect& r) { GFX_ClearRect(r.x0, r.y0, r.x1, r.y1); }

void GFX_FillRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    const GFX_Rect r = clipped(x0, y0, x1, y1);
    if (empty(r)) return;
    rectOp(r, paintOp());
    visibleCover(r);
}

void GFX_FillRect(const GFX_Rect& r) { GFX_FillRect(r.x0, r.y0, r.x1, r.y1); }

void GFX_InvertRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    rectOp(clipped(x0, y0, x1, y1), INVERT);
}

void GFX_InvertRect(const GFX_Rect& r) { GFX_InvertRect(r.x0, r.y0, r.x1, r.y1); }

void GFX_DrawHLine(int16_t y, int16_t x0, int16_t x1)
{
    if (x0 > x1) std::swap(x0, x1);
    paintSpan(y, x0, x1);
}

void GFX_DrawVLine(int16_t x, int16_t y0, int16_t y1)
{
    if (y0 > y1) std::swap(y0, y1);
    if (y0 < 0) y0 = 0;
    if (y1 >= GFX_HEIGHT) y1 = GFX_HEIGHT - 1;
    for (int y = y0; y <= y1; ++y)
        paintSpan(y, x, x);
}

void GFX_DrawFrame(int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    GFX_DrawHLine(y0, x0, x1);
    if (y1 == y0) return;
    GFX_DrawHLine(y1, x0, x1);
    if (y1 - y0 < 2) return;
    GFX_DrawVLine(x0, static_cast<int16_t>(y0 + 1), static_cast<int16_t>(y1 - 1));
    if (x1 != x0) GFX_DrawVLine(x1, static_cast<int16_t>(y0 + 1), static_cast<int16_t>(y1 - 1));
}

void GFX_DrawFrame(const GFX_Rect& r) { GFX_DrawFrame(r.x0, r.y0, r.x1, r.y1); }

void GFX_DrawPixel(int16_t x, int16_t y) { paintPixel(x, y); }

void GFX_DrawLine(int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    const uint8_t pattern =
        current.lineStyle < sizeof LINE_PATTERNS ? LINE_PATTERNS[current.lineStyle] : 0xFF;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    for (unsigned step = 0;; ++step) {
        if (pattern & (1u << (step & 7))) penDot(x, y);
        if (x == x1 && y == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void GFX_DrawBitmap(const GFX_Bitmap& bitmap, int16_t x, int16_t y)
{
    if (bitmap.bitsPerPixel != 1 || bitmap.bits == nullptr) return;
    const GFX_Rect area = intersect({x, y, static_cast<int16_t>(x + bitmap.width - 1),
                                     static_cast<int16_t>(y + bitmap.height - 1)},
                                    current.clip);
    if (empty(area)) return;
    const bool xorMode = current.drawMode == GfxDrawMode::Xor;
    for (int py = area.y0; py <= area.y1; ++py) {
        const uint8_t* bits = bitmap.bits + (py - y) * bitmap.bytesPerRow;
        uint8_t* out = row(py);
        for (int px = area.x0; px <= area.x1; ++px) {
            const bool set = pixelIn(bits, px - x);
            if (xorMode) {
                if (set) flipPixel(out, px);
            } else {
                putPixel(out, px, set ? current.fg : current.bg);
            }
        }
    }
    visibleCover(area);
}
