// Shared pieces of the font generator: pixel cells, glyph sets and the font descriptions.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One glyph as the panel stores it: a cell as high as the font and as wide as the advance,
// one byte a pixel while the generator works on it.
struct Cell {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> px;

    Cell() = default;
    Cell(int w, int h) : width(w), height(h), px(static_cast<size_t>(w * h), 0) {}
    uint8_t& at(int x, int y) { return px[static_cast<size_t>(y * width + x)]; }
    uint8_t at(int x, int y) const { return px[static_cast<size_t>(y * width + x)]; }
    bool rowEmpty(int y) const;
    bool columnEmpty(int x) const;
};

using GlyphSet = std::map<uint32_t, Cell>;

struct CodeRange {
    uint32_t first;
    uint32_t last;
};

enum class SourceKind { Outline, Bitmap };

// Lines are set at the font height: a row that no letter uses, at the top or the bottom of the
// cell, keeps the accents of one line off the descenders of the line above.
enum class LineGap { None, TopRow, BottomRow };

struct FontSpec {
    const char* name;   // "small", "normal", "large"
    const char* object; // name of the generated font record
    int height;
    int baseline; // rows above the baseline
    int lowerHeight;
    int capHeight;
    int digitAdvance;
    int spaceAdvance;
    std::vector<CodeRange> ranges;
    SourceKind kind;
    const char* sourceName; // for the notice in the tables
    const char* sourceFile;
    double xPpem; // outline sources only; fractions narrow the letters finely
    double yPpem;
    bool autohint;
    int emboldenX; // 1/64 pixel, added to the ink only: the advance stays the font's own
    LineGap lineGap;
    bool keySymbols;
};

// Key symbols U+266C..U+2674, drawn for a cell of the given height.
void FG_AddKeySymbols(GlyphSet& glyphs, int height);

// A letter drawn by hand, as high as the font: false when the source's own shape is used. The
// small font's drawings are cut to their ink like its other letters; the normal font's are
// whole cells.
bool FG_DrawnLetter(const FontSpec& recipe, uint32_t codePoint, Cell& cell);

// Renders every code point of the font's ranges; reports problems on stderr and returns
// false when a glyph is missing or does not fit its cell.
bool FG_Render(const FontSpec& recipe, GlyphSet& glyphs);

// Writes the constant tables of one font.
bool FG_WriteTables(const FontSpec& recipe, const GlyphSet& glyphs, const std::string& path);

// A sample sheet: for each font its title, optionally every glyph on a grid (cells shaded, the
// baseline row marked), and its sample lines.
struct SheetFont {
    const FontSpec* recipe;
    const GlyphSet* glyphs;
    const std::vector<std::string>* samples;
};
bool FG_WriteSheet(const std::vector<SheetFont>& fonts, const GlyphSet& labelFont, bool allGlyphs,
                   int scale, const std::string& path);

// UTF-8 to code points; tools only ever feed valid text.
std::vector<uint32_t> FG_Decode(const std::string& text);
std::string FG_Encode(uint32_t cp);
