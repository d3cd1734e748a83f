#include "ui/lcd.h"

#include "sim/host.h"

namespace {

uint8_t contrast = LCD_DEFAULT_CONTRAST;
uint8_t lightMode = 4; // the backlight is on until the illumination task says otherwise

void transfer(const GFX_Rect& r)
{
    SIM_Rect clipped{r.x0 < 0 ? int16_t{0} : r.x0, r.y0 < 0 ? int16_t{0} : r.y0,
                     r.x1 >= GFX_WIDTH ? int16_t{GFX_WIDTH - 1} : r.x1,
                     r.y1 >= GFX_HEIGHT ? int16_t{GFX_HEIGHT - 1} : r.y1};
    if (clipped.x0 > clipped.x1 || clipped.y0 > clipped.y1) return;
    SIM_DisplayRefresh(GFX_Memory(), clipped, contrast, lightMode);
}

} // namespace

void lcd_init()
{
    contrast = LCD_DEFAULT_CONTRAST;
}

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
