#include "display/lcd.h"

#include <cstring>

#include "sim/hal/host_services.h"

namespace {

uint8_t contrast = LCD_DEFAULT_CONTRAST;
uint8_t lightMode = 4; // the backlight is on until the illumination task says otherwise

// Whether a pattern sets the pixel at (x, y).
bool patternPixel(LcdTestPattern pattern, int x, int y)
{
    switch (pattern) {
    case LcdTestPattern::AllClear: return false;
    case LcdTestPattern::AllSet: return true;
    case LcdTestPattern::Checkerboard: return ((x / 8) + (y / 8)) % 2 == 0;
    case LcdTestPattern::CheckerboardInverse: return ((x / 8) + (y / 8)) % 2 != 0;
    case LcdTestPattern::AlternateColumns: return x % 2 == 0;
    case LcdTestPattern::OddColumns: return x % 2 != 0;
    case LcdTestPattern::AlternateRows: return y % 2 == 0;
    }
    return false;
}

void transfer(const GFX_Rect& r)
{
    SIM_Rect clipped{r.x0 < 0 ? int16_t{0} : r.x0, r.y0 < 0 ? int16_t{0} : r.y0,
                     r.x1 >= GFX_WIDTH ? int16_t{GFX_WIDTH - 1} : r.x1,
                     r.y1 >= GFX_HEIGHT ? int16_t{GFX_HEIGHT - 1} : r.y1};
    if (clipped.x0 > clipped.x1 || clipped.y0 > clipped.y1) return;
    GFX_TextsRefreshed({clipped.x0, clipped.y0, clipped.x1, clipped.y1});
    SIM_DisplayRefresh(GFX_Memory(), clipped, contrast, lightMode);
}

} // namespace

void lcd_init() { contrast = LCD_DEFAULT_CONTRAST; }

void lcd_refresh() { transfer({0, 0, GFX_WIDTH - 1, GFX_HEIGHT - 1}); }
void lcd_refreshRect(const GFX_Rect& r) { transfer(r); }

void lcd_setContrast(uint8_t c)
{
    contrast = c >= LCD_MAX_CONTRAST ? LCD_MAX_CONTRAST : c;
    lcd_refresh();
}

uint8_t lcd_getContrast() { return contrast; }

uint8_t lcd_contrastUp()
{
    contrast = contrast >= LCD_MAX_CONTRAST ? 0 : static_cast<uint8_t>(contrast + 1);
    lcd_refresh();
    return contrast;
}

uint8_t lcd_contrastDown()
{
    contrast = contrast == 0 ? LCD_MAX_CONTRAST : static_cast<uint8_t>(contrast - 1);
    lcd_refresh();
    return contrast;
}

void lcd_setLightMode(uint8_t mode)
{
    lightMode = mode > 5 ? 5 : mode;
    lcd_refresh();
}

uint8_t lcd_getLightMode() { return lightMode; }

uint16_t lcd_getInfo(uint8_t index)
{
    switch (index) {
    case 3: return GFX_WIDTH;
    case 4: return GFX_HEIGHT;
    default: return 0;
    }
}

void lcd_fillTestPattern(LcdTestPattern pattern)
{
    GFX_Clear(); // also forgets the texts that were on the display
    uint8_t* memory = GFX_Memory();
    memset(memory, 0, GFX_MEMORY_BYTES);
    for (int y = 0; y < GFX_HEIGHT; ++y)
        for (int x = 0; x < GFX_WIDTH; ++x)
            if (patternPixel(pattern, x, y))
                memory[y * GFX_BYTES_PER_ROW + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    lcd_refresh();
}

// Display memory is laid out as the test station addresses it; indices beyond the display are
// ignored rather than written into whatever follows display memory.
void lcd_writeByte(uint16_t index, uint8_t value)
{
    if (index >= GFX_MEMORY_BYTES) return;
    const int16_t x = static_cast<int16_t>(index % GFX_BYTES_PER_ROW * 8);
    const int16_t y = static_cast<int16_t>(index / GFX_BYTES_PER_ROW);
    GFX_ClearRect(x, y, static_cast<int16_t>(x + 7), y); // the texts it covers are gone
    GFX_Memory()[index] = value;
}

uint8_t lcd_readByte(uint16_t index) { return index < GFX_MEMORY_BYTES ? GFX_Memory()[index] : 0; }
