#include "widgets/zsb.h"

#include "display/fonts.h"
#include "gfx/gfx.h"
#include "kernel/dtm.h"
#include "widgets/fmt.h"

namespace {

constexpr int16_t LEFT = 10, RIGHT = 226;
constexpr uint8_t PHASES = 4;
constexpr uint8_t TICKS = 25;
constexpr int16_t TICK_SPACING = 9;

void dotted(int16_t x0, int16_t x1, int16_t y0, int16_t y1)
{
    for (int16_t y = y0; y <= y1; ++y)
        for (int16_t x = x0; x <= x1; ++x)
            if ((x + y) % 2 == 0) GFX_DrawPixel(x, y);
}

} // namespace

void ZSB_Draw(int16_t top, const ZSB_Phases& phases)
{
    const int16_t barTop = static_cast<int16_t>(top + 16),
                  barBottom = static_cast<int16_t>(top + 23);
    const int16_t base = static_cast<int16_t>(top + 24);
    GFX_ClearRect(LEFT, barTop, RIGHT, base);

    const DateTime now = DTM_GetDateTime();
    const int minutes = now.hour * 60 + now.minute;
    int current = -1;
    for (uint8_t p = 0; p < PHASES; ++p) {
        const uint8_t start = phases[p], end = phases[PHASES + p];
        if (start == ZSB_UNUSED || end == ZSB_UNUSED || start > end) continue;
        dotted(ZSB_X(start), ZSB_X(end), barTop, barBottom);
        if (start * 10 <= minutes && minutes <= end * 10 &&
            (current < 0 || start >= phases[current]))
            current = p;
    }
    if (current >= 0)
        GFX_FillRect(ZSB_X(phases[current]), barTop, ZSB_X(phases[PHASES + current]), barBottom);
    GFX_DrawHLine(base, LEFT, RIGHT);

    const GFX_Font* font = FNT_SetSmall();
    for (uint8_t i = 0; i < TICKS; ++i) {
        const int16_t x = static_cast<int16_t>(LEFT + TICK_SPACING * i);
        const bool even = i % 2 == 0;
        GFX_DrawVLine(x, static_cast<int16_t>(top + 25),
                      static_cast<int16_t>(top + (even ? 32 : 28)));
        if (!even) continue;
        char label[4];
        FMT_Uint(i, label);
        const int16_t labelX = static_cast<int16_t>(8 + TICK_SPACING * i - (i >= 10 ? 3 : 0));
        GFX_TextAt(label, labelX, static_cast<int16_t>(top + 36));
    }
    GFX_SetFont(font);
}
