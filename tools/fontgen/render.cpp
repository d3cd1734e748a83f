// Rendering of the source fonts into panel cells: monochrome hinted outlines for the normal and
// large fonts, a fixed-cell bitmap font for the small one.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "fontgen.h"

namespace {

constexpr uint32_t DIGIT_BLANK = 0x1B;
constexpr uint32_t FIRST_SYMBOL = 0x266C;
constexpr uint32_t LAST_SYMBOL = 0x2674;

// A glyph before it is fitted into its cell: pixels relative to the pen on the baseline,
// x to the right, row 0 the first row above the baseline.
struct Ink {
    int left = 0; // column of px's first column
    int top = 0;  // rows above the baseline of px's first row
    int advance = 0;
    Cell px;
};

bool isDigit(uint32_t cp) { return cp >= '0' && cp <= '9'; }
bool isSpace(uint32_t cp) { return cp == 0x20 || cp == 0xA0; }

Ink fromFreeType(const FT_GlyphSlot slot)
{
    const FT_Bitmap& b = slot->bitmap;
    Ink ink;
    ink.left = slot->bitmap_left;
    ink.top = slot->bitmap_top;
    ink.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    ink.px = Cell(static_cast<int>(b.width), static_cast<int>(b.rows));
    for (int y = 0; y < ink.px.height; ++y)
        for (int x = 0; x < ink.px.width; ++x)
            ink.px.at(x, y) = (b.buffer[y * b.pitch + x / 8] >> (7 - x % 8)) & 1;
    return ink;
}

// Drops empty border rows and columns so that the fit below sees only real pixels.
Ink trim(const Ink& in)
{
    int x0 = 0, x1 = in.px.width - 1, y0 = 0, y1 = in.px.height - 1;
    while (x0 <= x1 && in.px.columnEmpty(x0))
        ++x0;
    while (x1 >= x0 && in.px.columnEmpty(x1))
        --x1;
    while (y0 <= y1 && in.px.rowEmpty(y0))
        ++y0;
    while (y1 >= y0 && in.px.rowEmpty(y1))
        --y1;
    Ink out;
    out.advance = in.advance;
    if (x0 > x1) return out; // blank glyph
    out.left = in.left + x0;
    out.top = in.top - y0;
    out.px = Cell(x1 - x0 + 1, y1 - y0 + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            out.px.at(x - x0, y - y0) = in.px.at(x, y);
    return out;
}

Cell removeRow(const Cell& c, int row)
{
    Cell out(c.width, c.height - 1);
    for (int y = 0, o = 0; y < c.height; ++y) {
        if (y == row) continue;
        for (int x = 0; x < c.width; ++x)
            out.at(x, o) = c.at(x, y);
        ++o;
    }
    return out;
}

bool sameRow(const Cell& c, int a, int b)
{
    for (int x = 0; x < c.width; ++x)
        if (c.at(x, a) != c.at(x, b)) return false;
    return true;
}

// A glyph that is too tall loses rows where that costs least. A mark that stands alone (a
// spacing accent, a superscript) moves down. Otherwise blank rows of the gap under the accent
// go first, one always staying; then a capital gives up a repeated row of its body, so that
// accent and strokes keep their shape; a lower-case letter gives up its last gap row, so that
// it keeps its x-height.
bool shrinkFromTop(const FontSpec& recipe, Ink& ink)
{
    const int rowsAbove = recipe.baseline - (recipe.lineGap == LineGap::TopRow ? 1 : 0);
    if (ink.top > rowsAbove && ink.top - ink.px.height > 0) {
        ink.top = std::max(rowsAbove, ink.px.height);
        return ink.top == rowsAbove;
    }
    while (ink.top > rowsAbove) {
        const Cell& c = ink.px;
        int gapStart = -1, gapLength = 0;
        for (int y = 1; y < c.height && gapStart < 0; ++y) {
            if (!c.rowEmpty(y)) continue;
            gapStart = y;
            while (gapStart + gapLength < c.height && c.rowEmpty(gapStart + gapLength))
                ++gapLength;
        }
        int bodyTop = gapStart < 0 ? 0 : gapStart + gapLength;
        int bodyHeight = ink.top - bodyTop;
        int drop = -1;
        if (gapLength >= 2) {
            drop = gapStart;
        } else if (bodyHeight > recipe.lowerHeight) {
            // The lowest repeated row: the middle of a stem is where it shows least.
            for (int y = c.height - 2; y > bodyTop && drop < 0; --y)
                if (!c.rowEmpty(y) && sameRow(c, y, y + 1)) drop = y;
        } else if (gapLength == 1) {
            drop = gapStart;
        }
        if (drop < 0) return false;
        ink.px = removeRow(c, drop);
        --ink.top;
    }
    return true;
}

// A descender that is too deep loses the rows just under the baseline, so its end (the hook of
// g, j and y, the tail of a cedilla) stays. A mark wholly under the baseline moves up.
bool shrinkFromBottom(Ink& ink, int rowsBelow)
{
    if (ink.top <= 0 && ink.px.height - ink.top > rowsBelow && ink.px.height <= rowsBelow) {
        ink.top = ink.px.height - rowsBelow;
        return true;
    }
    while (ink.px.height - ink.top > rowsBelow) {
        int firstBelow = ink.top; // index of the first row under the baseline
        if (firstBelow < 0 || firstBelow >= ink.px.height - 1) return false;
        ink.px = removeRow(ink.px, firstBelow);
    }
    return true;
}

// Places trimmed ink into a cell of the font. Outline letters keep the font's own advance and
// side bearings, but ink never starts in the pen's column: such ink moves right into the
// glyph's own right bearing, so that a blank column always parts two letters. Only ink wider
// than its advance allows widens the advance.
Cell place(const FontSpec& recipe, uint32_t cp, const Ink& ink)
{
    int advance = ink.advance;
    int left = recipe.kind == SourceKind::Bitmap ? std::max(ink.left, 0) : ink.left;
    if (recipe.kind == SourceKind::Outline && ink.px.width > 0) left = std::max(left, 1);
    if (isSpace(cp)) advance = recipe.spaceAdvance;
    if (isDigit(cp) && ink.px.width > 0) {
        advance = recipe.digitAdvance;
        if (left + ink.px.width > advance) left = (advance - ink.px.width) / 2;
    }
    if (left + ink.px.width > advance) advance = left + ink.px.width;
    Cell cell(advance, recipe.height);
    for (int y = 0; y < ink.px.height; ++y)
        for (int x = 0; x < ink.px.width; ++x)
            if (int row = recipe.baseline - ink.top + y;
                ink.px.at(x, y) && row >= 0 && row < recipe.height)
                cell.at(left + x, row) = 1; // rows outside are only left by a reported misfit
    return cell;
}

bool fitVertically(const FontSpec& recipe, uint32_t cp, Ink& ink)
{
    if (ink.px.width == 0) return true;
    int rowsBelow =
        recipe.height - recipe.baseline - (recipe.lineGap == LineGap::BottomRow ? 1 : 0);
    bool ok = shrinkFromTop(recipe, ink) && shrinkFromBottom(ink, rowsBelow);
    if (!ok)
        std::fprintf(stderr, "%s: U+%04X does not fit %d rows\n", recipe.name, cp, recipe.height);
    return ok;
}

// A fixed-cell bitmap font becomes proportional: every glyph is cut to its ink and followed
// by one blank column; digits keep the full cell so that numbers do not move.
Ink proportional(const FontSpec& recipe, uint32_t cp, const Ink& cellInk)
{
    Ink ink = trim(cellInk);
    if (isDigit(cp)) {
        ink.advance = recipe.digitAdvance;
        return ink;
    }
    ink.left = 0;
    ink.advance = ink.px.width + 1;
    return ink;
}

bool load(const FontSpec& recipe, FT_Face face, FT_UInt index)
{
    FT_Int32 flags = FT_LOAD_TARGET_MONO | (recipe.autohint ? FT_LOAD_FORCE_AUTOHINT : 0);
    if (FT_Load_Glyph(face, index, flags) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && recipe.emboldenX > 0)
        FT_Outline_EmboldenXY(&slot->outline, recipe.emboldenX, 0);
    return FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0;
}

// Rows of ink of a glyph: first and last.
std::pair<int, int> inkRows(const Cell& c)
{
    int top = 0, bottom = c.height - 1;
    while (top < c.height && c.rowEmpty(top))
        ++top;
    while (bottom >= 0 && c.rowEmpty(bottom))
        --bottom;
    return {top, bottom};
}

// The heights the font record claims must be the ones the letters have.
bool checkHeights(const FontSpec& recipe, const GlyphSet& glyphs)
{
    struct Probe {
        uint32_t cp;
        int height;
    };
    bool ok = true;
    for (Probe p : {Probe{'x', recipe.lowerHeight}, Probe{'H', recipe.capHeight}}) {
        if (p.height == 0) continue;
        auto [top, bottom] = inkRows(glyphs.at(p.cp));
        if (bottom != recipe.baseline - 1 || bottom - top + 1 != p.height) {
            std::fprintf(stderr, "%s: '%c' has rows %d..%d, wanted %d rows on the baseline\n",
                         recipe.name, static_cast<char>(p.cp), top, bottom, p.height);
            ok = false;
        }
    }
    return ok;
}

} // namespace

bool FG_Render(const FontSpec& recipe, GlyphSet& glyphs)
{
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) != 0 || FT_New_Face(lib, recipe.sourceFile, 0, &face) != 0) {
        std::fprintf(stderr, "%s: cannot open %s\n", recipe.name, recipe.sourceFile);
        return false;
    }
    // At 72 dpi a point is a pixel, and the size takes 1/64 pixel.
    if (recipe.kind == SourceKind::Outline)
        FT_Set_Char_Size(face, std::lround(recipe.xPpem * 64), std::lround(recipe.yPpem * 64), 72,
                         72);
    else
        FT_Select_Size(face, 0);

    bool ok = true;
    for (const CodeRange& r : recipe.ranges) {
        for (uint32_t cp = r.first; cp <= r.last; ++cp) {
            if (cp >= FIRST_SYMBOL && cp <= LAST_SYMBOL) continue; // drawn, not rendered
            if (cp == DIGIT_BLANK) {
                glyphs[cp] = Cell(recipe.digitAdvance, recipe.height);
                continue;
            }
            if (Cell drawn; FG_DrawnLetter(recipe, cp, drawn)) {
                if (recipe.kind == SourceKind::Bitmap) {
                    Ink ink;
                    ink.top = recipe.baseline;
                    ink.px = drawn;
                    drawn = place(recipe, cp, proportional(recipe, cp, ink));
                }
                glyphs[cp] = drawn;
                continue;
            }
            FT_UInt index = FT_Get_Char_Index(face, cp);
            if (index == 0 || !load(recipe, face, index)) {
                std::fprintf(stderr, "%s: U+%04X missing in %s\n", recipe.name, cp,
                             recipe.sourceFile);
                ok = false;
                continue;
            }
            Ink ink = fromFreeType(face->glyph);
            ink = recipe.kind == SourceKind::Bitmap ? proportional(recipe, cp, ink) : trim(ink);
            if (!fitVertically(recipe, cp, ink)) ok = false;
            glyphs[cp] = place(recipe, cp, ink);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return ok && checkHeights(recipe, glyphs);
}
