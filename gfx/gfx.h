// Graphics operations on the 240 x 160 display memory. Every operation clips to the display;
// drawing outside it changes nothing. All drawing happens on the main task.
#pragma once

#include <cstdint>

#include "gfx/font.h"

inline constexpr int16_t GFX_WIDTH = 240;
inline constexpr int16_t GFX_HEIGHT = 160;
inline constexpr int16_t GFX_BYTES_PER_ROW = GFX_WIDTH / 8;
inline constexpr uint16_t GFX_MEMORY_BYTES = GFX_BYTES_PER_ROW * GFX_HEIGHT; // 4800

struct GFX_Rect {
    int16_t x0, y0, x1, y1; // inclusive
};

// One bit a pixel, rows top to bottom, each row starting on a new byte, most significant bit
// leftmost; a set bit is foreground. Only one bit per pixel is drawn.
struct GFX_Bitmap {
    uint16_t width;
    uint16_t height;
    uint16_t bytesPerRow;
    uint16_t bitsPerPixel;
    const uint8_t* bits;
};

enum class GfxColour : uint8_t { Black = 0, White = 1 };
enum class GfxDrawMode : uint8_t { Normal = 0, Xor = 1 };

inline constexpr uint8_t GFX_TEXT_NORMAL = 0;      // glyph and its background
inline constexpr uint8_t GFX_TEXT_TRANSPARENT = 2; // only the set glyph pixels
inline constexpr uint8_t GFX_TEXT_REVERSE = 4;     // glyph in background on foreground

inline constexpr uint8_t GFX_LINE_SOLID = 0;
inline constexpr uint8_t GFX_LINE_DASHED = 1;
inline constexpr uint8_t GFX_LINE_DOTTED = 2;

// Alignment flags of text in a rectangle.
inline constexpr uint8_t GFX_ALIGN_LEFT = 0;
inline constexpr uint8_t GFX_ALIGN_RIGHT = 1;
inline constexpr uint8_t GFX_ALIGN_HCENTER = 2;
inline constexpr uint8_t GFX_ALIGN_TOP = 0;
inline constexpr uint8_t GFX_ALIGN_BOTTOM = 4;
inline constexpr uint8_t GFX_ALIGN_VCENTER = 12;
inline constexpr uint8_t GFX_ALIGN_LEFT_CENTER = GFX_ALIGN_LEFT | GFX_ALIGN_VCENTER;   // 12
inline constexpr uint8_t GFX_ALIGN_RIGHT_CENTER = GFX_ALIGN_RIGHT | GFX_ALIGN_VCENTER; // 13
inline constexpr uint8_t GFX_ALIGN_CENTER = GFX_ALIGN_HCENTER | GFX_ALIGN_VCENTER;     // 14

inline constexpr uint8_t GFX_WRAP_WORDS = 1;
// Longest text a text operation draws, in characters.
inline constexpr int32_t GFX_MAX_TEXT_CHARS = 32767;

// Display memory as the display holds it: one bit a pixel, rows top to bottom of
// GFX_BYTES_PER_ROW bytes each, the most significant bit leftmost; a set bit is foreground.
uint8_t* GFX_Memory();
// Whether the pixel is set; false outside the display.
bool GFX_GetPixel(int16_t x, int16_t y);

// Clears the display and resets the drawing state: the given font (the panel starts in its
// normal font), white on black, normal draw and text modes, solid lines, pen 1, text position
// (0, 0); no text is drawn or shown.
void GFX_Init(const GFX_Font* font);
void GFX_Delay(uint32_t ms);

// Drawing state; each setter returns the previous value.
const GFX_Font* GFX_SetFont(const GFX_Font* font);
const GFX_Font* GFX_GetFont();
GfxColour GFX_SetForeground(GfxColour colour);
GfxColour GFX_SetBackground(GfxColour colour);
GfxDrawMode GFX_SetDrawMode(GfxDrawMode mode);
uint8_t GFX_SetTextMode(uint8_t mode);
uint8_t GFX_SetLineStyle(uint8_t style);
uint8_t GFX_SetPenSize(uint8_t size);

// Drawing confined to a rectangle (cut to the display) until it is reset; GFX_Clear still
// clears the whole display. The idle animation redraws only the part of its figure that
// changes.
void GFX_SetClipRect(const GFX_Rect& r);
void GFX_ResetClipRect();

struct GFX_Point {
    int16_t x, y;
};
// Where the last text or character ended (top-left of the next character).
GFX_Point GFX_TextPosition();

// Areas.
void GFX_Clear();
void GFX_ClearRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1);
void GFX_ClearRect(const GFX_Rect& r);
void GFX_FillRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1);
void GFX_FillRect(const GFX_Rect& r);
void GFX_InvertRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1);
void GFX_InvertRect(const GFX_Rect& r);

// Lines and shapes. Frames and horizontal/vertical lines are one pixel wide; straight lines
// and arcs use the pen size, straight lines also the line style.
void GFX_DrawFrame(int16_t x0, int16_t y0, int16_t x1, int16_t y1);
void GFX_DrawFrame(const GFX_Rect& r);
void GFX_DrawHLine(int16_t y, int16_t x0, int16_t x1);
void GFX_DrawVLine(int16_t x, int16_t y0, int16_t y1);
void GFX_DrawLine(int16_t x0, int16_t y0, int16_t x1, int16_t y1);
void GFX_DrawPixel(int16_t x, int16_t y);
// Angles in degrees, counter-clockwise from three o'clock, from start to end; radii up to
// 8191 pixels.
void GFX_DrawArc(int16_t cx, int16_t cy, int16_t rx, int16_t ry, int16_t startAngle,
                 int16_t endAngle);
// A rectangle around every pixel that GFX_DrawArc with the current pen paints between the two
// angles (a little larger than the smallest one), cut to the display.
GFX_Rect GFX_ArcBounds(int16_t cx, int16_t cy, int16_t rx, int16_t ry, int16_t startAngle,
                       int16_t endAngle);
void GFX_DrawBitmap(const GFX_Bitmap& bitmap, int16_t x, int16_t y);

// Text (UTF-8, line breaks start a new line one line distance lower).
void GFX_TextInRect(const char* text, const GFX_Rect& r, uint8_t align);
void GFX_TextInRectWrap(const char* text, const GFX_Rect& r, uint8_t align, uint8_t wrapMode);
void GFX_TextAt(const char* text, int16_t x, int16_t y);
void GFX_TextAtTransparent(const char* text, int16_t x, int16_t y);
void GFX_CharAt(uint16_t character, int16_t x, int16_t y);
int16_t GFX_CharWidth(uint16_t character);
// Width of the widest line.
int16_t GFX_TextWidth(const char* text);

// The text lines on the panel, for scripted checks of what a user would read: one entry per
// drawn line once a refresh has transferred it (GFX_TextsRefreshed); gone once something is
// cleared, filled or drawn over it and that is refreshed too. Inverting, lines, frames, pixels
// and arcs leave it.
inline constexpr uint16_t GFX_VISIBLE_TEXT_SLOTS = 96;
inline constexpr uint16_t GFX_VISIBLE_TEXT_BYTES = 200; // a longer line keeps its beginning
struct GFX_VisibleText {
    GFX_Rect rect;    // the cells its glyphs occupy, clipped
    const char* text; // valid until the next drawing operation
};
// Called by the display driver for every refreshed rectangle: what display memory holds there
// is now on the panel.
void GFX_TextsRefreshed(const GFX_Rect& area);
uint16_t GFX_VisibleTextCount();
// In display order: top to bottom, then left to right; past the end an empty text.
GFX_VisibleText GFX_GetVisibleText(uint16_t index);
