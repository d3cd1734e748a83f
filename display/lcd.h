// The panel's display driver: refreshes of display memory to the visible panel, contrast and
// light modes, and the factory test's access to the display.
#pragma once

#include <cstdint>

#include "gfx/gfx.h"

inline constexpr uint8_t LCD_DEFAULT_CONTRAST = 50;
inline constexpr uint8_t LCD_MAX_CONTRAST = 99;

void lcd_init();
void lcd_refresh();
void lcd_refreshRect(const GFX_Rect& r);
void lcd_setContrast(uint8_t contrast);
uint8_t lcd_getContrast();
uint8_t lcd_contrastUp();
uint8_t lcd_contrastDown();
inline uint8_t lcd_getDefaultContrast() { return LCD_DEFAULT_CONTRAST; }
inline uint8_t lcd_getMaxContrast() { return LCD_MAX_CONTRAST; }
void lcd_setLightMode(uint8_t mode);
uint8_t lcd_getLightMode();
// 3 -> width 240, 4 -> height 160, anything else 0.
uint16_t lcd_getInfo(uint8_t index);

// Checkerboards of 8 x 8 pixel squares (the first square set), columns by their x.
enum class LcdTestPattern : uint8_t {
    AllClear,
    AllSet,
    Checkerboard,
    CheckerboardInverse,
    AlternateColumns, // the even columns x = 0, 2, ...
    OddColumns,       // x = 1, 3, ...
    AlternateRows
};
void lcd_fillTestPattern(LcdTestPattern pattern);

// The display as a row-major bit stream, 8 pixels a byte, most significant bit first
// (4800 bytes); indices from 4800 on write nothing and read 0.
void lcd_writeByte(uint16_t index, uint8_t value);
uint8_t lcd_readByte(uint16_t index);
