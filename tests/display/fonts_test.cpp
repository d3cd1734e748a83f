#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "display/fonts.h"

namespace {

using Ranges = std::vector<std::pair<uint16_t, uint16_t>>;

const Ranges LETTERS = {{0x20, 0x7E},   {0xA0, 0x17F},  {0x401, 0x40C}, {0x40E, 0x44F},
                        {0x451, 0x45C}, {0x45E, 0x45F}, {0x490, 0x493}, {0x496, 0x497},
                        {0x49A, 0x49D}, {0x4A2, 0x4A3}, {0x4AE, 0x4B3}, {0x4B8, 0x4BB},
                        {0x4D8, 0x4D9}, {0x4E8, 0x4E9}};

Ranges withBlank(Ranges r, bool keySymbols)
{
    r.insert(r.begin(), {0x1B, 0x1B});
    if (keySymbols) r.push_back({0x266C, 0x2674});
    return r;
}

struct FontCase {
    const char* name;
    const GFX_Font& (*get)();
    uint8_t height;
    uint8_t baseline;
    uint8_t lowerHeight;
    uint8_t capHeight;
    Ranges ranges;
    size_t glyphs;
    uint8_t digitAdvance;
    uint8_t spaceAdvance;
};

const FontCase FONTS[] = {
    {"small",
     FNT_GetSmall,
     8,
     7,
     5,
     0,
     {{0x20, 0x7E},
      {0xA0, 0xEC},
      {0xEE, 0x17E},
      {0x401, 0x40C},
      {0x40E, 0x44F},
      {0x451, 0x45C},
      {0x45E, 0x45F}},
     409,
     6,
     3},
    {"normal", FNT_GetNormal, 20, 16, 10, 13, withBlank(LETTERS, true), 447, 11, 5},
    {"large", FNT_GetLarge, 32, 26, 15, 20, withBlank(LETTERS, false), 438, 15, 8},
};

std::vector<uint16_t> decode(const std::string& utf8)
{
    std::vector<uint16_t> out;
    for (size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        uint16_t cp = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(cp);
        i += 1 + extra;
    }
    return out;
}

int width(const GFX_Font& font, const std::string& utf8)
{
    int w = 0;
    for (uint16_t cp : decode(utf8))
        if (const GFX_Glyph* g = GFX_FindGlyph(font, cp)) w += g->advance;
    return w;
}

bool pixel(const GFX_Glyph& g, int x, int y)
{
    return (g.bitmap[y * g.bytesPerRow + x / 8] >> (7 - x % 8)) & 1;
}

// First and last row with a set pixel, {-1, -1} for a blank glyph.
std::pair<int, int> inkRows(const GFX_Font& font, const GFX_Glyph& g)
{
    int first = -1, last = -1;
    for (int y = 0; y < font.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (pixel(g, x, y)) {
                if (first < 0) first = y;
                last = y;
            }
    return {first, last};
}

class Fonts : public ::testing::TestWithParam<FontCase> {};

TEST_P(Fonts, RecordHasTheFontsMetrics)
{
    const FontCase& c = GetParam();
    const GFX_Font& f = c.get();
    EXPECT_EQ(f.height, c.height);
    EXPECT_EQ(f.lineDistance, c.height);
    EXPECT_EQ(f.magX, 1);
    EXPECT_EQ(f.magY, 1);
    EXPECT_EQ(f.baseline, c.baseline);
    EXPECT_EQ(f.lowerHeight, c.lowerHeight);
    EXPECT_EQ(f.capHeight, c.capHeight);
}

TEST_P(Fonts, LettersHaveTheHeightsTheRecordClaims)
{
    const FontCase& c = GetParam();
    const GFX_Font& f = c.get();
    struct Probe {
        uint16_t cp;
        uint8_t height;
    };
    for (Probe p : {Probe{'x', f.lowerHeight}, Probe{'H', f.capHeight}}) {
        if (p.height == 0) continue;
        auto [first, last] = inkRows(f, *GFX_FindGlyph(f, p.cp));
        EXPECT_EQ(last, f.baseline - 1) << static_cast<char>(p.cp) << " stands on the baseline";
        EXPECT_EQ(last - first + 1, p.height) << static_cast<char>(p.cp);
    }
}

TEST_P(Fonts, ChainHoldsExactlyTheListedRangesInOrder)
{
    const FontCase& c = GetParam();
    Ranges chain;
    size_t glyphs = 0;
    for (const GFX_GlyphRange* r = c.get().ranges; r != nullptr; r = r->next) {
        chain.push_back({r->first, r->last});
        glyphs += r->last - r->first + 1u;
        ASSERT_NE(r->glyphs, nullptr);
    }
    EXPECT_EQ(chain, c.ranges);
    EXPECT_EQ(glyphs, c.glyphs);
}

TEST_P(Fonts, EveryBitmapFitsItsRecord)
{
    const FontCase& c = GetParam();
    const GFX_Font& f = c.get();
    for (const GFX_GlyphRange* r = f.ranges; r != nullptr; r = r->next)
        for (uint32_t cp = r->first; cp <= r->last; ++cp) {
            const GFX_Glyph& g = r->glyphs[cp - r->first];
            SCOPED_TRACE(testing::Message() << c.name << " U+" << std::hex << cp);
            ASSERT_NE(g.bitmap, nullptr);
            EXPECT_EQ(g.bytesPerRow, (g.width + 7) / 8);
            EXPECT_LE(g.width, g.advance);
            // Bits right of the width would be drawn by a renderer that works in whole bytes.
            for (int y = 0; y < f.height; ++y)
                for (int x = g.width; x < g.bytesPerRow * 8; ++x)
                    EXPECT_FALSE(pixel(g, x, y));
        }
}

TEST_P(Fonts, DigitsShareOneAdvanceAndSpaceHasItsOwn)
{
    const FontCase& c = GetParam();
    const GFX_Font& f = c.get();
    for (uint16_t d = '0'; d <= '9'; ++d)
        EXPECT_EQ(GFX_FindGlyph(f, d)->advance, c.digitAdvance) << char(d);
    EXPECT_EQ(GFX_FindGlyph(f, ' ')->advance, c.spaceAdvance);
    EXPECT_EQ(width(f, "-12,5"), width(f, "-88,8"));
}

// Two glyphs side by side keep a blank column between their ink when the smallest left bearing
// of the font and its smallest right bearing add up to at least one column.
TEST_P(Fonts, NeighboursNeverTouch)
{
    const FontCase& c = GetParam();
    const GFX_Font& f = c.get();
    struct Bearing {
        int columns = 255;
        uint32_t cp = 0;
    } left, right;
    for (const GFX_GlyphRange* r = f.ranges; r != nullptr; r = r->next)
        for (uint32_t cp = r->first; cp <= r->last; ++cp) {
            const GFX_Glyph& g = r->glyphs[cp - r->first];
            int first = g.width, last = -1;
            for (int y = 0; y < f.height; ++y)
                for (int x = 0; x < g.width; ++x)
                    if (pixel(g, x, y)) {
                        first = std::min(first, x);
                        last = std::max(last, x);
                    }
            if (last < 0) continue; // blanks
            if (first < left.columns) left = {first, cp};
            if (g.advance - 1 - last < right.columns) right = {g.advance - 1 - last, cp};
        }
    EXPECT_GE(left.columns + right.columns, 1)
        << c.name << ": U+" << std::hex << right.cp << " touches U+" << left.cp;
}

INSTANTIATE_TEST_SUITE_P(AllThree, Fonts, ::testing::ValuesIn(FONTS),
                         [](const testing::TestParamInfo<FontCase>& i) { return i.param.name; });

// Lines are set at the font height: if some letter reaches the top row and another the bottom
// row, an accent would touch a descender of the line above. Eight rows leave the small font no
// row to spare; the key symbols have fixed pictures.
TEST(LineSpacing, AccentsNeverTouchDescendersOfTheLineAbove)
{
    for (const GFX_Font* f : {&FNT_GetNormal(), &FNT_GetLarge()}) {
        bool top = false, bottom = false;
        for (const GFX_GlyphRange* r = f->ranges; r != nullptr; r = r->next)
            for (uint32_t cp = r->first; cp <= r->last && cp < 0x266C; ++cp) {
                auto [first, last] = inkRows(*f, r->glyphs[cp - r->first]);
                top = top || first == 0;
                bottom = bottom || last == f->height - 1;
            }
        EXPECT_FALSE(top && bottom) << "font of height " << int{f->height};
    }
}

TEST(DigitBlank, IsBlankAndExactlyOneDigitWide)
{
    for (const GFX_Font* f : {&FNT_GetNormal(), &FNT_GetLarge()}) {
        const GFX_Glyph* blank = GFX_FindGlyph(*f, 0x1B);
        ASSERT_NE(blank, nullptr);
        EXPECT_EQ(blank->advance, GFX_FindGlyph(*f, '0')->advance);
        // Drawn opaque it must clear the whole digit position.
        EXPECT_EQ(blank->width, blank->advance);
        EXPECT_EQ(inkRows(*f, *blank).first, -1);
        EXPECT_EQ(width(*f, "7\x1b"
                            "5"),
                  width(*f, "785"));
    }
}

TEST(SmallFont, LacksDotlessAccentedIAndLongS)
{
    const GFX_Font& small = FNT_GetSmall();
    EXPECT_EQ(GFX_FindGlyph(small, 0xED), nullptr);
    EXPECT_EQ(GFX_FindGlyph(small, 0x17F), nullptr);
    EXPECT_EQ(width(small, "Sí"), width(small, "S"));
    EXPECT_NE(GFX_FindGlyph(FNT_GetNormal(), 0xED), nullptr);
}

struct KeySymbol {
    uint16_t cp;
    uint8_t advance;
    int firstRow;
    int lastRow;
};

// Advances and the rows each picture covers.
const KeySymbol KEY_SYMBOLS[] = {
    {0x266C, 8, 4, 15},  {0x266D, 8, 4, 15},  {0x266E, 16, 4, 15},
    {0x266F, 14, 2, 17}, {0x2670, 23, 1, 19}, {0x2671, 20, 1, 18},
    {0x2672, 20, 1, 18}, {0x2673, 19, 3, 15}, {0x2674, 15, 5, 14},
};

TEST(KeySymbols, HaveTheirAdvancesAndRowsInTheNormalFontOnly)
{
    const GFX_Font& normal = FNT_GetNormal();
    for (const KeySymbol& k : KEY_SYMBOLS) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << k.cp);
        const GFX_Glyph* g = GFX_FindGlyph(normal, k.cp);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->advance, k.advance);
        EXPECT_EQ(inkRows(normal, *g), std::make_pair(k.firstRow, k.lastRow));
        EXPECT_EQ(GFX_FindGlyph(FNT_GetLarge(), k.cp), nullptr);
        EXPECT_EQ(GFX_FindGlyph(FNT_GetSmall(), k.cp), nullptr);
    }
}

TEST(KeySymbols, CircuitBracketsAddSixteenPixels)
{
    const GFX_Font& normal = FNT_GetNormal();
    EXPECT_EQ(width(normal, "♬HK♭"), width(normal, "HK") + 16);
}

} // namespace
