#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "display/lcd.h"
#include "gfx/gfx_fixture.h"
#include "sim/host/lcd_view.h"

namespace {

class Lcd : public GfxTest {
  protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        lcd_init();
        lcd_setLightMode(4);
        view.attach();
    }
    void TearDown() override { LcdView::detach(); }
    LcdView view;
};

TEST_F(Lcd, ContrastWrapsWhenSteppedAndClampsWhenSet)
{
    EXPECT_EQ(lcd_getContrast(), 50);
    EXPECT_EQ(lcd_getDefaultContrast(), 50);
    EXPECT_EQ(lcd_getMaxContrast(), 99);
    struct Case {
        uint8_t start;
        uint8_t (*step)();
        uint8_t expected;
    };
    const Case cases[] = {
        {99, &lcd_contrastUp, 0},
        {0, &lcd_contrastDown, 99},
        {50, &lcd_contrastUp, 51},
        {50, &lcd_contrastDown, 49},
    };
    for (const Case& c : cases) {
        lcd_setContrast(c.start);
        const uint64_t refreshes = view.generation();
        EXPECT_EQ(c.step(), c.expected) << int(c.start);
        EXPECT_EQ(lcd_getContrast(), c.expected);
        EXPECT_EQ(view.generation(), refreshes + 1); // stepping refreshes the display
        EXPECT_EQ(view.snapshot().contrast, c.expected);
    }
    for (const auto& [set, stored] : {std::pair{120, 99}, {99, 99}, {98, 98}, {0, 0}}) {
        lcd_setContrast(static_cast<uint8_t>(set));
        EXPECT_EQ(lcd_getContrast(), stored) << set;
    }
}

TEST_F(Lcd, LightModeSelectsTheGreyOfSetPixels)
{
    lcd_setContrast(99);
    GFX_DrawPixel(0, 0);
    lcd_setLightMode(2);
    EXPECT_EQ(lcd_getLightMode(), 2);
    std::vector<uint8_t> rgb = LcdView::toRgb(view.snapshot());
    EXPECT_EQ(rgb[0], 0x4F);
    lcd_setLightMode(5);
    rgb = LcdView::toRgb(view.snapshot());
    EXPECT_EQ(rgb[0], 0xFF);
    EXPECT_EQ(rgb[3], 0x00); // clear pixels are black
}

TEST_F(Lcd, RefreshHandsOverACopyOfTheRectangle)
{
    GFX_FillRect(0, 0, 239, 159);
    lcd_refreshRect({10, 10, 19, 14});
    LcdView::Snapshot s = view.snapshot();
    int visible = 0;
    for (uint8_t p : s.pixels)
        visible += p;
    EXPECT_EQ(visible, 50);
    EXPECT_EQ(s.pixels[10 * 240 + 10], 1);
    EXPECT_EQ(s.pixels[9 * 240 + 10], 0);

    lcd_refresh();
    GFX_Clear(); // drawing after the refresh does not show until the next one
    s = view.snapshot();
    EXPECT_EQ(s.pixels[100 * 240 + 100], 1);
    lcd_refreshRect({-20, -20, 300, 300}); // clipped to the display
    EXPECT_EQ(view.snapshot().pixels[159 * 240 + 239], 0);
}

TEST_F(Lcd, TestPatterns)
{
    struct Case {
        LcdTestPattern pattern;
        int setPixels;
        // (x, y, set) samples
        std::vector<std::tuple<int, int, bool>> samples;
    };
    const Case cases[] = {
        {LcdTestPattern::AllClear, 0, {{0, 0, false}, {239, 159, false}}},
        {LcdTestPattern::AllSet, 240 * 160, {{0, 0, true}, {239, 159, true}}},
        {LcdTestPattern::Checkerboard,
         240 * 160 / 2,
         {{0, 0, true},
          {7, 7, true},
          {8, 0, false},
          {0, 8, false},
          {8, 8, true},
          {239, 159, true}}},
        {LcdTestPattern::CheckerboardInverse,
         240 * 160 / 2,
         {{0, 0, false}, {8, 0, true}, {8, 8, false}}},
        {LcdTestPattern::AlternateColumns,
         240 * 160 / 2,
         {{0, 5, true}, {1, 5, false}, {2, 159, true}}},
        {LcdTestPattern::OddColumns,
         240 * 160 / 2,
         {{0, 5, false}, {1, 5, true}, {239, 159, true}}},
        {LcdTestPattern::AlternateRows,
         240 * 160 / 2,
         {{5, 0, true}, {5, 1, false}, {239, 2, true}}},
    };
    for (const Case& c : cases) {
        GFX_TextAt("AB", 0, 0);
        const uint64_t refreshes = view.generation();
        lcd_fillTestPattern(c.pattern);
        EXPECT_EQ(countSet(), c.setPixels) << int(c.pattern);
        for (const auto& [x, y, set] : c.samples)
            EXPECT_EQ(pixel(x, y), set) << int(c.pattern) << " at " << x << "," << y;
        EXPECT_GT(view.generation(), refreshes);
        const LcdView::Snapshot s = view.snapshot();
        EXPECT_EQ(s.pixels[8 * 240 + 8], pixel(8, 8) ? 1 : 0);
        EXPECT_EQ(GFX_VisibleTextCount(), 0) << int(c.pattern);
    }
}

TEST_F(Lcd, ByteAccessIsARowMajorBitStream)
{
    struct Case {
        uint16_t index;
        int x, y;
    };
    const Case cases[] = {{0, 0, 0}, {1, 8, 0}, {29, 232, 0}, {30, 0, 1}, {4799, 232, 159}};
    for (const Case& c : cases) {
        GFX_Clear();
        lcd_writeByte(c.index, 0xA5);
        EXPECT_EQ(countSet(), 4) << c.index;
        for (int bit = 0; bit < 8; ++bit)
            EXPECT_EQ(pixel(c.x + bit, c.y), ((0xA5 >> (7 - bit)) & 1) != 0) << c.index;
        EXPECT_EQ(lcd_readByte(c.index), 0xA5);
        lcd_writeByte(c.index, 0x00);
        EXPECT_EQ(countSet(), 0);
    }
    lcd_fillTestPattern(LcdTestPattern::Checkerboard);
    EXPECT_EQ(lcd_readByte(0), 0xFF);
    EXPECT_EQ(lcd_readByte(1), 0x00);
    EXPECT_EQ(lcd_readByte(30 * 8), 0x00); // row 8 starts with a clear square
}

TEST_F(Lcd, ByteIndicesBeyondTheDisplayWriteNothingAndReadZero)
{
    lcd_fillTestPattern(LcdTestPattern::AllSet);
    const DisplayCopy before = copyDisplay();
    for (uint16_t index : {uint16_t{4800}, uint16_t{4801}, uint16_t{9600}, uint16_t{65535}}) {
        lcd_writeByte(index, 0x00);
        EXPECT_EQ(lcd_readByte(index), 0) << index;
    }
    EXPECT_EQ(copyDisplay(), before);
    EXPECT_EQ(lcd_readByte(4799), 0xFF);
}

TEST_F(Lcd, DisplayInfo)
{
    EXPECT_EQ(lcd_getInfo(3), 240);
    EXPECT_EQ(lcd_getInfo(4), 160);
    EXPECT_EQ(lcd_getInfo(0), 0);
}

} // namespace
