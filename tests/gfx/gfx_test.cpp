#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gfx/gfx.h"
#include "gfx/gfx_fixture.h"

namespace {

using Drawing = GfxTest;

TEST_F(Drawing, InvertingTwiceRestoresThePicture)
{
    GFX_TextAt("AB W", 3, 4);
    GFX_DrawFrame(20, 20, 100, 60);
    GFX_FillRect(30, 30, 50, 40);
    const DisplayCopy before = copyDisplay();
    GFX_InvertRect(10, 2, 80, 45);
    EXPECT_NE(copyDisplay(), before);
    GFX_InvertRect(GFX_Rect{10, 2, 80, 45});
    EXPECT_EQ(copyDisplay(), before);
}

TEST_F(Drawing, XorModeInvertsWhatItTouches)
{
    GFX_FillRect(0, 0, 9, 9);
    GFX_SetDrawMode(GfxDrawMode::Xor);
    GFX_FillRect(5, 5, 14, 14);
    EXPECT_FALSE(pixel(7, 7));
    EXPECT_TRUE(pixel(12, 12));
    EXPECT_TRUE(pixel(2, 2));
    GFX_FillRect(5, 5, 14, 14);
    EXPECT_EQ(countSet(), 100);
}

TEST_F(Drawing, AreasAreClippedToTheDisplay)
{
    GFX_FillRect(-5, -5, 2, 2);
    EXPECT_EQ(countSet(), 9);
    GFX_FillRect(GFX_Rect{235, 155, 400, 400});
    EXPECT_EQ(countSet({235, 155, 239, 159}), 25);
    GFX_ClearRect(-100, -100, 0, 0);
    EXPECT_FALSE(pixel(0, 0));
    EXPECT_EQ(countSet(), 9 + 25 - 1);
}

TEST_F(Drawing, NothingOutsideTheDisplayIsTouched)
{
    static const uint8_t bitmapBits[] = {0xFF, 0xFF, 0xFF, 0xFF};
    const GFX_Bitmap bitmap{16, 2, 2, 1, bitmapBits};
    struct Case {
        const char* name;
        std::function<void()> draw;
    };
    const Case cases[] = {
        {"fill left above", [] { GFX_FillRect(-20, -20, -1, -1); }},
        {"fill right", [] { GFX_FillRect(240, 0, 300, 159); }},
        {"clear below", [] { GFX_ClearRect(0, 160, 239, 200); }},
        {"invert left", [] { GFX_InvertRect(-5, 0, -1, 159); }},
        {"hline below", [] { GFX_DrawHLine(160, 0, 239); }},
        {"hline above", [] { GFX_DrawHLine(-1, 0, 239); }},
        {"vline right", [] { GFX_DrawVLine(240, 0, 159); }},
        {"frame above left", [] { GFX_DrawFrame(-10, -10, -2, -2); }},
        {"line above", [] { GFX_DrawLine(-30, -10, 300, -4); }},
        {"thick line above",
         [] {
             GFX_SetPenSize(5);
             GFX_DrawLine(0, -3, 239, -3);
         }},
        {"pixels",
         [] {
             GFX_DrawPixel(-1, 5);
             GFX_DrawPixel(240, 5);
             GFX_DrawPixel(5, 160);
         }},
        {"arc left",
         [] {
             GFX_SetPenSize(7);
             GFX_DrawArc(-40, 80, 30, 30, 0, 360);
         }},
        {"bitmap right", [&] { GFX_DrawBitmap(bitmap, 240, 0); }},
        {"bitmap left", [&] { GFX_DrawBitmap(bitmap, -16, 100); }},
        {"text below", [] { GFX_TextAt("AB", 0, 160); }},
        {"text left", [] { GFX_TextAt("AB", -10, 0); }},
        {"char right", [] { GFX_CharAt('A', 240, 0); }},
        {"text in a rectangle off the display",
         [] {
             GFX_TextInRect("AB", {-50, 0, -1, 20}, GFX_ALIGN_CENTER);
         }},
    };
    for (const Case& c : cases) {
        GFX_Init(&testfont::FONT);
        for (int16_t y = 0; y < GFX_HEIGHT; y += 2)
            GFX_DrawHLine(y, 0, GFX_WIDTH - 1);
        const DisplayCopy before = copyDisplay();
        c.draw();
        EXPECT_EQ(copyDisplay(), before) << c.name;
    }
}

TEST_F(Drawing, LineStylesAndPenSize)
{
    struct Case {
        uint8_t style, pen;
        int pixels;
    };
    const Case cases[] = {
        {GFX_LINE_SOLID, 1, 20},
        {GFX_LINE_DOTTED, 1, 10}, // every second pixel
        {GFX_LINE_DASHED, 1, 12}, // four on, four off
        {GFX_LINE_SOLID, 3, 66},  // the pen's square reaches one pixel past either end
    };
    for (const Case& c : cases) {
        GFX_Init(&testfont::FONT);
        EXPECT_EQ(GFX_SetLineStyle(c.style), GFX_LINE_SOLID);
        EXPECT_EQ(GFX_SetPenSize(c.pen), 1);
        GFX_DrawLine(5, 10, 24, 10);
        EXPECT_EQ(countSet(), c.pixels) << int(c.style) << " pen " << int(c.pen);
        if (c.style == GFX_LINE_DOTTED) {
            EXPECT_TRUE(pixel(5, 10));
            EXPECT_FALSE(pixel(6, 10));
            EXPECT_TRUE(pixel(23, 10));
        }
    }
    GFX_Init(&testfont::FONT);
    GFX_DrawLine(9, 9, 0, 0);
    EXPECT_EQ(countSet(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(pixel(i, i));
}

TEST_F(Drawing, FramesAndLinesAreOnePixelWide)
{
    GFX_DrawFrame(10, 10, 19, 14);
    EXPECT_EQ(countSet(), 2 * 10 + 2 * 3);
    EXPECT_FALSE(pixel(15, 12));
    GFX_Init(&testfont::FONT);
    GFX_DrawHLine(5, 30, 20);
    GFX_DrawVLine(3, 50, 40);
    EXPECT_EQ(countSet(), 11 + 11);
}

TEST_F(Drawing, BitmapsDrawTheirBitsOpaqueAndClipped)
{
    // 10 x 2, two bytes a row.
    static const uint8_t bits[] = {0b10101010, 0b11000000, 0b01010101, 0b00000000};
    const GFX_Bitmap bitmap{10, 2, 2, 1, bits};
    GFX_FillRect(0, 0, 30, 10);
    GFX_DrawBitmap(bitmap, 5, 5);
    const char* rows[] = {"1010101011", "0101010100"};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(pixel(5 + x, 5 + y), rows[y][x] == '1') << x << "," << y;
    EXPECT_TRUE(pixel(15, 5)); // right of the bitmap untouched

    GFX_Init(&testfont::FONT);
    GFX_DrawBitmap(bitmap, 236, 159);
    EXPECT_EQ(countSet(), 2); // x 236..239 of the first row: 1 0 1 0

    GFX_Init(&testfont::FONT);
    const GFX_Bitmap twoBits{10, 2, 2, 2, bits};
    GFX_DrawBitmap(twoBits, 0, 0);
    EXPECT_EQ(countSet(), 0);
}

TEST_F(Drawing, ClearAndTextPosition)
{
    GFX_TextAt("AB", 10, 20);
    EXPECT_EQ(GFX_TextPosition().x, 20);
    EXPECT_EQ(GFX_TextPosition().y, 20);
    GFX_Clear();
    EXPECT_EQ(countSet(), 0);
    EXPECT_EQ(GFX_TextPosition().x, 0);
    EXPECT_EQ(GFX_TextPosition().y, 0);
}

TEST_F(Drawing, SettersReturnThePreviousState)
{
    EXPECT_EQ(GFX_SetFont(nullptr), &testfont::FONT);
    EXPECT_EQ(GFX_SetFont(&testfont::FONT), nullptr);
    EXPECT_EQ(GFX_SetTextMode(GFX_TEXT_REVERSE), GFX_TEXT_NORMAL);
    EXPECT_EQ(GFX_SetTextMode(GFX_TEXT_NORMAL), GFX_TEXT_REVERSE);
    EXPECT_EQ(GFX_SetDrawMode(GfxDrawMode::Xor), GfxDrawMode::Normal);
    EXPECT_EQ(GFX_SetForeground(GfxColour::Black), GfxColour::White);
    EXPECT_EQ(GFX_SetBackground(GfxColour::White), GfxColour::Black);
}

// --- arcs ---------------------------------------------------------------------------------

constexpr int CX = 119, CY = 79;

int distanceSquared(int x, int y) { return (x - CX) * (x - CX) + (y - CY) * (y - CY); }

TEST_F(Drawing, AFullArcIsARingOfThePenWidth)
{
    GFX_SetPenSize(7);
    GFX_DrawArc(CX, CY, 30, 30, 0, 360);
    int n = 0;
    for (int y = 0; y < GFX_HEIGHT; ++y)
        for (int x = 0; x < GFX_WIDTH; ++x)
            if (pixel(x, y)) {
                ++n;
                // Outside radius 26.5, inside 33.5 (pixel centres).
                const int d2 = 4 * distanceSquared(x, y);
                EXPECT_GT(d2, 53 * 53) << x << "," << y;
                EXPECT_LE(d2, 67 * 67) << x << "," << y;
            }
    const double area = M_PI * (33.5 * 33.5 - 26.5 * 26.5);
    EXPECT_NEAR(n, area, area * 0.03);
    // Seven pixels across the ring on each axis.
    for (int x = CX + 27; x <= CX + 33; ++x)
        EXPECT_TRUE(pixel(x, CY)) << x;
    EXPECT_FALSE(pixel(CX + 26, CY));
    EXPECT_FALSE(pixel(CX + 34, CY));
    EXPECT_TRUE(pixel(CX, CY - 33));
    EXPECT_TRUE(pixel(CX, CY + 27));
}

TEST_F(Drawing, ArcsCoverOnlyTheirAngles)
{
    GFX_SetPenSize(7);
    GFX_DrawArc(CX, CY, 30, 30, 0, 360);
    const int full = countSet();

    struct Case {
        int16_t from, to;
        double share;
        // Quadrants (upper right, upper left, lower left, lower right) that must stay empty.
        bool empty[4];
    };
    const Case cases[] = {
        {0, 90, 0.25, {false, true, true, true}},    {90, 180, 0.25, {true, false, true, true}},
        {180, 270, 0.25, {true, true, false, true}}, {270, 360, 0.25, {true, true, true, false}},
        {0, 270, 0.75, {false, false, false, true}}, {-90, 0, 0.25, {true, true, true, false}},
        {45, 135, 0.25, {false, false, true, true}},
    };
    for (const Case& c : cases) {
        GFX_Init(&testfont::FONT);
        GFX_SetPenSize(7);
        GFX_DrawArc(CX, CY, 30, 30, c.from, c.to);
        EXPECT_NEAR(countSet(), full * c.share, full * 0.02) << c.from << ".." << c.to;
        // Quadrants without their axis rows and columns.
        const GFX_Rect quadrants[4] = {{CX + 1, CY - 40, CX + 40, CY - 1},
                                       {CX - 40, CY - 40, CX - 1, CY - 1},
                                       {CX - 40, CY + 1, CX - 1, CY + 40},
                                       {CX + 1, CY + 1, CX + 40, CY + 40}};
        for (int q = 0; q < 4; ++q) {
            if (!c.empty[q]) continue;
            EXPECT_EQ(countSet(quadrants[q]), 0) << c.from << ".." << c.to << " q" << q;
        }
    }
}

TEST_F(Drawing, OppositeQuarterArcsArePointSymmetric)
{
    GFX_SetPenSize(7);
    for (int16_t a = 0; a < 180; a += 14) {
        GFX_Init(&testfont::FONT);
        GFX_SetPenSize(7);
        GFX_DrawArc(CX, CY, 30, 30, a, static_cast<int16_t>(a + 90));
        GFX_DrawArc(CX, CY, 30, 30, static_cast<int16_t>(a + 180), static_cast<int16_t>(a + 270));
        int asymmetric = 0;
        for (int dy = -34; dy <= 34; ++dy)
            for (int dx = -34; dx <= 34; ++dx)
                asymmetric += pixel(CX + dx, CY + dy) != pixel(CX - dx, CY - dy);
        EXPECT_LE(asymmetric, 8) << a; // only pixels right on the boundary rays may differ
    }
}

TEST_F(Drawing, AnArcDrawnAgainElsewhereOrClippedIsTheSameArc)
{
    // A repeat, at another centre or cut by the display edge, must paint exactly what the first
    // drawing painted.
    auto memory = [] {
        std::vector<uint8_t> pixels;
        for (int y = 0; y < GFX_HEIGHT; ++y)
            for (int x = 0; x < GFX_WIDTH; ++x)
                pixels.push_back(pixel(x, y));
        return pixels;
    };
    auto clear = [] { GFX_ClearRect(0, 0, GFX_WIDTH - 1, GFX_HEIGHT - 1); };
    GFX_SetPenSize(5);
    GFX_DrawArc(CX, CY, 29, 27, 47, 139);
    const auto first = memory();
    clear();
    GFX_DrawArc(CX + 20, CY - 10, 29, 27, 47, 139);
    for (int y = 10; y < GFX_HEIGHT; ++y)
        for (int x = 0; x < GFX_WIDTH - 20; ++x)
            ASSERT_EQ(pixel(x + 20, y - 10), first[y * GFX_WIDTH + x] != 0) << x << "," << y;
    clear();
    GFX_DrawArc(5, 8, 31, 31, 200, 300); // first drawn across the corner of the display
    const auto cut = memory();
    clear();
    GFX_DrawArc(5, 8, 31, 31, 200, 300);
    EXPECT_EQ(memory(), cut);
    GFX_SetDrawMode(GfxDrawMode::Xor);
    GFX_DrawArc(5, 8, 31, 31, 200, 300);
    EXPECT_EQ(countSet(), 0) << "the same spans again, inverted";
}

TEST_F(Drawing, HugeArcsAreIgnored)
{
    GFX_DrawArc(CX, CY, 32767, 32767, 0, 360);
    GFX_DrawArc(CX, CY, -5, 10, 0, 360);
    EXPECT_EQ(countSet(), 0);
}

TEST_F(Drawing, EllipseArcReachesBothRadii)
{
    GFX_DrawArc(CX, CY, 40, 20, 0, 360);
    EXPECT_EQ(setBounds(), (GFX_Rect{CX - 40, CY - 20, CX + 40, CY + 20}));
    EXPECT_FALSE(pixel(CX, CY));
    GFX_SetDrawMode(GfxDrawMode::Xor);
    GFX_DrawArc(CX, CY, 40, 20, 0, 360);
    EXPECT_EQ(countSet(), 0);
}

TEST_F(Drawing, ArcBoundsHoldEveryPixelOfTheArcAndLittleMore)
{
    struct Case {
        int16_t rx, ry;
        uint8_t pen;
        int16_t start, end;
    };
    const Case cases[] = {
        {30, 30, 7, 0, 2},     {30, 30, 7, 88, 92},   {30, 30, 7, 179, 181}, {30, 30, 7, 268, 270},
        {30, 30, 7, 45, 135},  {30, 30, 7, 330, 390}, {30, 30, 7, 0, 360},   {40, 20, 3, 10, 80},
        {20, 45, 5, 100, 260}, {5, 5, 9, 30, 60},     {12, 8, 1, -40, -10},  {30, 30, 7, 120, 30},
    };
    for (const Case& c : cases) {
        GFX_Init(&testfont::FONT);
        GFX_SetPenSize(c.pen);
        GFX_DrawArc(CX, CY, c.rx, c.ry, c.start, c.end);
        const GFX_Rect drawn = setBounds();
        const GFX_Rect b = GFX_ArcBounds(CX, CY, c.rx, c.ry, c.start, c.end);
        const std::string name = std::to_string(c.start) + ".." + std::to_string(c.end) +
                                 " radii " + std::to_string(c.rx) + "," + std::to_string(c.ry);
        EXPECT_LE(b.x0, drawn.x0) << name;
        EXPECT_LE(b.y0, drawn.y0) << name;
        EXPECT_GE(b.x1, drawn.x1) << name;
        EXPECT_GE(b.y1, drawn.y1) << name;
        EXPECT_GE(b.x0, drawn.x0 - 3) << name;
        EXPECT_GE(b.y0, drawn.y0 - 3) << name;
        EXPECT_LE(b.x1, drawn.x1 + 3) << name;
        EXPECT_LE(b.y1, drawn.y1 + 3) << name;
    }
    const GFX_Rect cut = GFX_ArcBounds(5, 5, 30, 30, 90, 270); // cut to the display
    EXPECT_EQ(cut.x0, 0);
    EXPECT_EQ(cut.y0, 0);
    EXPECT_GT(GFX_ArcBounds(CX, CY, 30, 30, 40, 40).x0, GFX_ArcBounds(CX, CY, 30, 30, 40, 40).x1)
        << "an empty arc has an empty rectangle";
}

TEST_F(Drawing, EveryDrawingStaysInsideTheClipRectangle)
{
    static const uint8_t bits[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const GFX_Bitmap bitmap{80, 1, 10, 1, bits};
    const GFX_Rect clip{50, 40, 120, 90};
    struct Case {
        const char* name;
        std::function<void()> draw;
    };
    const Case cases[] = {
        {"fill", [] { GFX_FillRect(0, 0, 239, 159); }},
        {"clear", [] { GFX_ClearRect(0, 0, 239, 159); }},
        {"invert", [] { GFX_InvertRect(0, 0, 239, 159); }},
        {"lines",
         [] {
             GFX_DrawHLine(60, 0, 239);
             GFX_DrawVLine(60, 0, 159);
             GFX_DrawLine(0, 0, 239, 159);
             GFX_DrawFrame(40, 30, 130, 100);
         }},
        {"arc",
         [] {
             GFX_SetPenSize(7);
             GFX_DrawArc(85, 65, 40, 40, 0, 360);
         }},
        {"bitmap", [&] { GFX_DrawBitmap(bitmap, 20, 71); }},
        {"text", [] { GFX_TextAt("WWWWWWWWWWWWWWWWWWWW", 10, 37); }},
        {"text in a rectangle",
         [] {
             GFX_TextInRect("WWWWWWWWWWWW", {0, 80, 239, 99}, 0);
         }},
    };
    for (const Case& c : cases) {
        GFX_Init(&testfont::FONT);
        for (int16_t y = 0; y < GFX_HEIGHT; y += 2)
            GFX_DrawHLine(y, 0, GFX_WIDTH - 1);
        const DisplayCopy before = copyDisplay();
        GFX_SetClipRect(clip);
        c.draw();
        GFX_ResetClipRect();
        int inside = 0, outside = 0;
        for (int y = 0; y < GFX_HEIGHT; ++y)
            for (int x = 0; x < GFX_WIDTH; ++x) {
                const bool was = (before[y * GFX_BYTES_PER_ROW + x / 8] >> (7 - x % 8)) & 1;
                const bool in = x >= clip.x0 && x <= clip.x1 && y >= clip.y0 && y <= clip.y1;
                (in ? inside : outside) += was != pixel(x, y);
            }
        EXPECT_GT(inside, 0) << c.name;
        EXPECT_EQ(outside, 0) << c.name;
    }
    GFX_SetClipRect({10, 10, 20, 20});
    GFX_Clear(); // the whole display regardless
    GFX_ResetClipRect();
    GFX_FillRect(0, 0, 239, 159);
    GFX_SetClipRect({10, 10, 20, 20});
    GFX_Clear();
    EXPECT_EQ(countSet(), 0);
    GFX_ResetClipRect();
    GFX_FillRect(0, 0, 239, 159);
    EXPECT_EQ(countSet(), GFX_WIDTH * GFX_HEIGHT) << "reset: the whole display again";
}

// --- text ---------------------------------------------------------------------------------

using Text = GfxTest;

TEST_F(Text, WidthsFollowTheFontAndSkipMissingCharacters)
{
    EXPECT_EQ(GFX_CharWidth('A'), 5);
    EXPECT_EQ(GFX_CharWidth(' '), 3);
    EXPECT_EQ(GFX_CharWidth(0xE9), 0);
    EXPECT_EQ(GFX_TextWidth("AB"), 10);
    EXPECT_EQ(GFX_TextWidth("A\xC3\xA9"
                            "B"),
              10);                         // "AéB": é is not in the font
    EXPECT_EQ(GFX_TextWidth("A\nWW"), 18); // the widest line
    EXPECT_EQ(GFX_TextWidth(""), 0);
    GFX_SetFont(nullptr);
    EXPECT_EQ(GFX_TextWidth("AB"), 0);
}

TEST_F(Text, AVeryLongLineKeepsItsBoxOnTheDisplay)
{
    const std::string text(40000, 'W'); // 9 px each: far beyond any coordinate
    GFX_TextAt(text.c_str(), 0, 0);
    refreshTexts();
    ASSERT_EQ(GFX_VisibleTextCount(), 1);
    EXPECT_EQ(GFX_GetVisibleText(0).rect, (GFX_Rect{0, 0, 239, 7}));
    EXPECT_EQ(GFX_TextWidth(text.c_str()), INT16_MAX);
}

TEST_F(Text, GlyphsAreDrawnInTheirCells)
{
    GFX_TextAt("AB", 10, 20);
    EXPECT_EQ(setBounds(), (GFX_Rect{10, 21, 18, 26}));
    EXPECT_EQ(countSet(), 2 * 24);
    EXPECT_FALSE(pixel(14, 22)); // the gap between the glyphs
}

TEST_F(Text, TextModes)
{
    GFX_FillRect(0, 0, 49, 9);
    GFX_TextAt("A", 0, 0); // normal: the cell's background is cleared
    EXPECT_EQ(countSet({0, 0, 4, 7}), 24);
    GFX_TextAtTransparent("A", 10, 0); // only set pixels: the filled background stays
    EXPECT_EQ(countSet({10, 0, 14, 7}), 40);
    EXPECT_EQ(GFX_SetTextMode(GFX_TEXT_REVERSE), GFX_TEXT_NORMAL); // the variant restored it

    GFX_Init(&testfont::FONT);
    GFX_SetTextMode(GFX_TEXT_REVERSE);
    GFX_TextAt("A", 0, 0);
    EXPECT_EQ(countSet(), 40 - 24);
    EXPECT_FALSE(pixel(1, 2));
    EXPECT_TRUE(pixel(1, 0));
}

TEST_F(Text, TwoLineBlockCentredOrLeftAligned)
{
    const GFX_Rect box{0, 0, 99, 59};
    // Block of two lines: 10 + 8 rows, so it starts at (60 - 18) / 2 = 21.
    GFX_TextInRect("AAAA\nAA", box, GFX_ALIGN_CENTER);
    EXPECT_EQ(setBounds({0, 0, 99, 29}), (GFX_Rect{40, 22, 58, 27}));
    EXPECT_EQ(setBounds({0, 30, 99, 59}), (GFX_Rect{45, 32, 53, 37}));

    GFX_Clear();
    GFX_TextInRect("AAAA\nAA", box, GFX_ALIGN_LEFT_CENTER);
    EXPECT_EQ(setBounds({0, 0, 99, 29}), (GFX_Rect{0, 22, 18, 27}));
    EXPECT_EQ(setBounds({0, 30, 99, 59}), (GFX_Rect{0, 32, 8, 37}));

    GFX_Clear();
    GFX_TextInRect("AAAA\nAA", box, GFX_ALIGN_RIGHT_CENTER);
    EXPECT_EQ(setBounds({0, 0, 99, 29}).x1, 98); // the last cell ends at the right edge
    EXPECT_EQ(setBounds({0, 30, 99, 59}).x1, 98);

    GFX_Clear();
    GFX_TextInRect("AA", box, GFX_ALIGN_RIGHT | GFX_ALIGN_BOTTOM);
    EXPECT_EQ(setBounds(), (GFX_Rect{90, 53, 98, 58}));
}

TEST_F(Text, TextIsClippedToItsRectangle)
{
    const GFX_Rect box{10, 10, 24, 30};
    GFX_TextInRect("AAAAAAAA\nAAAAAAAA\nAAAAAAAA", box, GFX_ALIGN_CENTER);
    EXPECT_GT(countSet(box), 0);
    EXPECT_EQ(countSet(), countSet(box));
    // Three lines are 28 rows; 21 rows fit, so the block overhangs both edges.
    EXPECT_EQ(setBounds().y0, 10);
    EXPECT_EQ(setBounds().y1, 30);
}

TEST_F(Text, WrapBreaksAtTheLastBlankThatFits)
{
    struct Case {
        const char* text;
        int16_t width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"AA AA AA", 30, {"AA AA", "AA"}}, // "AA AA A" would need 31
        {"AA AA AA", 23, {"AA AA", "AA"}}, // the blank itself does not fit
        {"AA AA AA", 36, {"AA AA AA"}},
        {"AAAAAAAA", 22, {"AAAA", "AAAA"}},  // no blank: broken where it overflows
        {"AA AA\nAA", 100, {"AA AA", "AA"}}, // line breaks still count
    };
    for (const Case& c : cases) {
        GFX_Init(&testfont::FONT);
        const GFX_Rect box{0, 0, static_cast<int16_t>(c.width - 1), 59};
        GFX_TextInRectWrap(c.text, box, GFX_ALIGN_LEFT_CENTER, GFX_WRAP_WORDS);
        refreshTexts();
        ASSERT_EQ(GFX_VisibleTextCount(), c.lines.size()) << c.text << " in " << c.width;
        // The block of wrapped lines is centred as a whole.
        const int blockHeight = (int(c.lines.size()) - 1) * 10 + 8;
        for (uint16_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(GFX_GetVisibleText(i).text, c.lines[i]) << c.text;
            EXPECT_EQ(GFX_GetVisibleText(i).rect.y0, (60 - blockHeight) / 2 + 10 * i);
        }
    }
    GFX_Init(&testfont::FONT);
    GFX_TextInRect("AA AA AA", {0, 0, 22, 59}, GFX_ALIGN_LEFT_CENTER); // no wrapping
    refreshTexts();
    EXPECT_EQ(GFX_VisibleTextCount(), 1);
}

// --- visible texts ------------------------------------------------------------------------

using VisibleText = GfxTest;

TEST_F(VisibleText, LinesAreListedInDisplayOrderWithTheirCells)
{
    GFX_TextAt("CD", 10, 40);
    GFX_TextAt("AB", 10, 20);
    GFX_TextAt("EF", 0, 40);
    refreshTexts();
    ASSERT_EQ(GFX_VisibleTextCount(), 3);
    EXPECT_STREQ(GFX_GetVisibleText(0).text, "AB");
    EXPECT_EQ(GFX_GetVisibleText(0).rect, (GFX_Rect{10, 20, 19, 27}));
    EXPECT_STREQ(GFX_GetVisibleText(1).text, "EF");
    EXPECT_STREQ(GFX_GetVisibleText(2).text, "CD");
    EXPECT_STREQ(GFX_GetVisibleText(3).text, ""); // past the end
}

TEST_F(VisibleText, ATextIsOnThePanelFromTheRefreshOfItsPlaceUntilItsCoverIsRefreshed)
{
    auto visible = [] {
        std::string all;
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
            all += std::string(GFX_GetVisibleText(i).text) + ";";
        return all;
    };
    GFX_TextAt("AB", 10, 20);
    EXPECT_EQ(visible(), "") << "drawn, not refreshed";
    GFX_TextsRefreshed({100, 0, 239, 159});
    EXPECT_EQ(visible(), "") << "a refresh elsewhere";
    GFX_TextsRefreshed({0, 0, 12, 21});
    EXPECT_EQ(visible(), "AB;") << "a refresh of a part of it";
    GFX_ClearRect(0, 0, 99, 99);
    GFX_TextAt("CD", 10, 20);
    EXPECT_EQ(visible(), "AB;") << "the panel still shows the old text";
    GFX_TextsRefreshed({0, 0, 99, 99});
    EXPECT_EQ(visible(), "CD;");
    GFX_Clear();
    EXPECT_EQ(visible(), "CD;");
    refreshTexts();
    EXPECT_EQ(visible(), "");
}

TEST_F(VisibleText, InvertingAndLineDrawingKeepTextsVisible)
{
    GFX_TextAt("AB", 10, 20);
    GFX_InvertRect(0, 15, 239, 35); // selection bar
    GFX_DrawFrame(5, 18, 30, 30);
    GFX_DrawLine(0, 0, 239, 159);
    GFX_DrawHLine(22, 0, 239);
    GFX_DrawVLine(12, 0, 159);
    GFX_DrawPixel(11, 21);
    GFX_DrawArc(15, 24, 10, 10, 0, 360);
    refreshTexts();
    EXPECT_EQ(GFX_VisibleTextCount(), 1);
}

TEST_F(VisibleText, ClearingFillingOrDrawingOverRemovesTexts)
{
    static const uint8_t bits[] = {0xFF};
    const GFX_Bitmap bitmap{8, 1, 1, 1, bits};
    struct Case {
        const char* name;
        std::function<void()> cover;
    };
    const Case cases[] = {
        {"clear", [] { GFX_Clear(); }},
        {"clear one corner pixel", [] { GFX_ClearRect(19, 27, 19, 27); }},
        {"fill", [] { GFX_FillRect(0, 0, 10, 20); }},
        {"bitmap", [&] { GFX_DrawBitmap(bitmap, 15, 25); }},
        {"text over it", [] { GFX_TextAt("XY", 15, 24); }},
        {"blank text over it", [] { GFX_TextAt("   ", 12, 20); }},
        {"test pattern-like full clear", [] { GFX_ClearRect(0, 0, 239, 159); }},
    };
    for (const Case& c : cases) {
        GFX_Init(&testfont::FONT);
        GFX_TextAt("AB", 10, 20);
        GFX_TextAt("far", 100, 100);
        c.cover();
        bool abVisible = false;
        refreshTexts();
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
            abVisible |= std::string(GFX_GetVisibleText(i).text) == "AB";
        EXPECT_FALSE(abVisible) << c.name;
    }
    // Next to it, not over it.
    GFX_Init(&testfont::FONT);
    GFX_TextAt("AB", 10, 20);
    GFX_ClearRect(20, 20, 30, 27);
    GFX_ClearRect(10, 28, 19, 40);
    refreshTexts();
    EXPECT_EQ(GFX_VisibleTextCount(), 1);
}

TEST_F(VisibleText, ClippedTextKeepsItsWordsAndTheClippedBox)
{
    GFX_TextInRect("AAAAAAAA", {0, 0, 19, 9}, GFX_ALIGN_LEFT_CENTER);
    refreshTexts();
    ASSERT_EQ(GFX_VisibleTextCount(), 1);
    EXPECT_STREQ(GFX_GetVisibleText(0).text, "AAAAAAAA");
    EXPECT_EQ(GFX_GetVisibleText(0).rect, (GFX_Rect{0, 1, 19, 8}));
    GFX_TextInRect("AB", {-50, 0, -1, 9}, GFX_ALIGN_LEFT_CENTER); // nothing of it shows
    GFX_TextAt("", 50, 50);
    GFX_TextAt("\xC3\xA9", 50, 50); // only a character the font lacks
    refreshTexts();
    EXPECT_EQ(GFX_VisibleTextCount(), 1);
}

TEST_F(VisibleText, LongLinesAreCutAtACharacterBoundary)
{
    std::string text(198, 'A');
    text += "\xC3\xA4\xC3\xA4"; // 202 bytes: "ä" at bytes 198-199 and 200-201
    GFX_TextAt(text.c_str(), 0, 0);
    refreshTexts();
    ASSERT_EQ(GFX_VisibleTextCount(), 1);
    EXPECT_EQ(std::string(GFX_GetVisibleText(0).text), text.substr(0, 200));
    text = std::string(199, 'A') + "\xC3\xA4";
    GFX_Clear();
    GFX_TextAt(text.c_str(), 0, 0);
    refreshTexts();
    EXPECT_EQ(std::string(GFX_GetVisibleText(0).text), text.substr(0, 199));
}

TEST_F(VisibleText, AFullTableForgetsTheOldestLine)
{
    for (int k = 0; k < 100; ++k) {
        const std::string t = std::to_string(k);
        GFX_TextAt(t.c_str(), static_cast<int16_t>(k % 12 * 20), static_cast<int16_t>(k / 12 * 10));
    }
    refreshTexts();
    ASSERT_EQ(GFX_VisibleTextCount(), GFX_VISIBLE_TEXT_SLOTS);
    EXPECT_STREQ(GFX_GetVisibleText(0).text, "4");
    EXPECT_STREQ(GFX_GetVisibleText(95).text, "99");
}

} // namespace
