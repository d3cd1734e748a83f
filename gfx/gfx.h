// Graphics operations on the 240 x 160 display memory.
#pragma once

#include <cstdint>

inline constexpr int16_t GFX_WIDTH = 240;
inline constexpr int16_t GFX_HEIGHT = 160;

struct GFX_Rect {
    int16_t x0, y0, x1, y1; // inclusive
};

// Display memory: one byte a pixel, non-zero = set (foreground).
uint8_t* GFX_Memory();

void GFX_Init();
void GFX_Delay(uint32_t ms);
