// A tiny font for the graphics tests: every printable ASCII character is a 4 x 6 block in an
// 8-pixel cell (advance 5), the blank advances 3, and a wide "W" advances 9. Nothing else is
// in the font, so other characters are skipped.
#pragma once

#include <array>

#include "gfx/font.h"

namespace testfont {

inline constexpr uint8_t HEIGHT = 8;
inline constexpr uint8_t LINE_DISTANCE = 10;
inline constexpr uint8_t ADVANCE = 5;
inline constexpr uint8_t BLANK_ADVANCE = 3;
inline constexpr uint8_t WIDE_ADVANCE = 9;

// Rows 1 to 6 of the cell set in the glyph's columns.
inline constexpr std::array<uint8_t, HEIGHT> BLOCK{0x00, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0x00};
inline constexpr std::array<uint8_t, HEIGHT> WIDE{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
inline constexpr std::array<uint8_t, HEIGHT> NOTHING{};

inline constexpr std::array<GFX_Glyph, 0x7F - 0x20> makeGlyphs()
{
    std::array<GFX_Glyph, 0x7F - 0x20> g{};
    for (size_t i = 0; i < g.size(); ++i)
        g[i] = {4, ADVANCE, 1, BLOCK.data()};
    g[0] = {0, BLANK_ADVANCE, 1, NOTHING.data()};
    g['W' - 0x20] = {8, WIDE_ADVANCE, 1, WIDE.data()};
    return g;
}
inline constexpr std::array<GFX_Glyph, 0x7F - 0x20> GLYPHS = makeGlyphs();
inline constexpr GFX_GlyphRange ASCII{0x20, 0x7E, GLYPHS.data(), nullptr};
inline constexpr GFX_Font FONT{HEIGHT, LINE_DISTANCE, 1, 1, 7, 4, 6, &ASCII};

} // namespace testfont
