// The heating-curve graph of the slope and level dialogs.
#include <algorithm>
#include <array>
#include <cmath>

#include "data/datapool.h"
#include "display/fonts.h"
#include "gfx/gfx.h"
#include "screens/bhkh.h"
#include "widgets/fmt.h"

namespace {

constexpr GFX_Rect AREA{0, 28, 239, 106};

// Outside temperatures from +20 °C at the left end to -30 °C at the right end of the axis.
constexpr int16_t AXIS_Y = 91;
constexpr int16_t AXIS_X0 = 10, AXIS_X1 = 229;
constexpr int16_t COLUMNS = AXIS_X1 - AXIS_X0; // 219
constexpr float OUTSIDE_LEFT = 20.0f, OUTSIDE_SPAN = 50.0f;
constexpr float TICK_STEP = 21.9f;
constexpr uint8_t TICKS = 11;
constexpr int16_t LONG_TICK_END = 95, SHORT_TICK_END = 93;
constexpr int16_t SCALE_LABEL_Y0 = 96, SCALE_LABEL_Y1 = 106, SCALE_LABEL_HALF_WIDTH = 12;
// Above the end of the axis: below it stands the label of the last tick.
constexpr GFX_Rect UNIT_LABEL{AXIS_X1 - 20, AXIS_Y - 10, 238, AXIS_Y - 2};

// Flow temperatures 0 ... 100 °C from the axis up to y 38.
constexpr int16_t FLOW_TOP = 38;
constexpr int16_t FLOW_HEIGHT = AXIS_Y - FLOW_TOP; // 53
constexpr float FLOW_MAX = 100.0f;
constexpr uint8_t FLOW_TICKS = 5;
constexpr int16_t FLOW_LONG_TICK_X = 5, FLOW_SHORT_TICK_X = 7;
constexpr GFX_Rect FLOW_LABEL{1, 28, 80, 37};

// Guides from the curve to both axes at these outside temperatures, with the flow temperature
// in a box beside the point: right of it, below it unless the point lies too close to the
// axis for the box to fit between them.
constexpr std::array<int8_t, 4> GUIDES{10, 0, -10, -20};
constexpr int16_t BOX_X0 = 8, BOX_X1 = 35;
constexpr int16_t BOX_GAP = 3, BOX_HEIGHT = 11, BOX_PADDING = 2;
constexpr int16_t BOX_ABOVE_BELOW = 16;
constexpr int16_t CROSS = 2;

int16_t columnOf(float outside)
{
    return static_cast<int16_t>(AXIS_X0 + (OUTSIDE_LEFT - outside) * COLUMNS / OUTSIDE_SPAN);
}

int16_t rowOf(float flow)
{
    return static_cast<int16_t>(AXIS_Y - std::trunc(flow / FLOW_MAX * FLOW_HEIGHT));
}

void text(const char* s, const GFX_Rect& r, uint8_t align) { GFX_TextInRect(s, r, align); }

// "20" ... "-30" (or their Fahrenheit values) under the long ticks, the unit at the end.
void outsideAxis()
{
    GFX_DrawHLine(AXIS_Y, AXIS_X0, AXIS_X1);
    for (uint8_t i = 0; i < TICKS; ++i) {
        const auto x = static_cast<int16_t>(AXIS_X0 + i * TICK_STEP);
        const bool labelled = i % 2 == 0;
        GFX_DrawVLine(x, AXIS_Y, labelled ? LONG_TICK_END : SHORT_TICK_END);
        if (!labelled) continue;
        char label[8];
        FMT_Int(DAT_ToDisplayTemp(static_cast<int16_t>(OUTSIDE_LEFT - 5 * i)), label);
        text(label,
             {static_cast<int16_t>(x - SCALE_LABEL_HALF_WIDTH), SCALE_LABEL_Y0,
              static_cast<int16_t>(x + SCALE_LABEL_HALF_WIDTH), SCALE_LABEL_Y1},
             GFX_ALIGN_CENTER);
    }
    text(TXT_Get(DAT_GetTempUnitFahrenheit() ? TXT_GRAD_F : TXT_GRAD_C), UNIT_LABEL,
         GFX_ALIGN_RIGHT | GFX_ALIGN_BOTTOM);
}

void flowAxis()
{
    GFX_DrawVLine(AXIS_X0, FLOW_TOP, AXIS_Y);
    for (uint8_t k = 0; k < FLOW_TICKS; ++k) {
        const auto y = static_cast<int16_t>(AXIS_Y - (k * FLOW_HEIGHT + 2) / 4);
        GFX_DrawHLine(y, k % 2 == 0 ? FLOW_LONG_TICK_X : FLOW_SHORT_TICK_X, AXIS_X0);
    }
    char label[16];
    FMT_Temperature(label, sizeof label, DAT_ToDisplayTemp(static_cast<int16_t>(FLOW_MAX)), false);
    text(label, FLOW_LABEL, GFX_ALIGN_LEFT_CENTER);
}

void guide(float room, int8_t outside, uint8_t slope, int8_t level)
{
    const float flow = BHKH_FlowTemperature(room, outside, slope, level);
    const int16_t x = columnOf(outside);
    const int16_t y = rowOf(flow);
    const uint8_t style = GFX_SetLineStyle(GFX_LINE_DOTTED);
    GFX_DrawLine(x, y, x, AXIS_Y);
    GFX_DrawLine(AXIS_X0, y, x, y);
    GFX_SetLineStyle(style);
    GFX_DrawLine(x - CROSS, y - CROSS, x + CROSS, y + CROSS);
    GFX_DrawLine(x - CROSS, y + CROSS, x + CROSS, y - CROSS);

    char label[16];
    FMT_Temperature(label, sizeof label, DAT_ToDisplayTemp(static_cast<int16_t>(std::lround(flow))),
                    false);
    // Three Fahrenheit digits need a little more than the box offers.
    const auto x1 = static_cast<int16_t>(
        std::max<int>(x + BOX_X1, x + BOX_X0 + GFX_TextWidth(label) + 2 * BOX_PADDING + 1));
    const bool above = AXIS_Y - y < BOX_ABOVE_BELOW;
    const auto y0 = static_cast<int16_t>(above ? y - BOX_GAP - BOX_HEIGHT + 1 : y + BOX_GAP);
    const GFX_Rect box{static_cast<int16_t>(x + BOX_X0), y0, x1,
                       static_cast<int16_t>(y0 + BOX_HEIGHT - 1)};
    GFX_ClearRect(box);
    GFX_DrawFrame(box);
    text(label,
         {static_cast<int16_t>(box.x0 + 1), box.y0, static_cast<int16_t>(box.x1 - 1), box.y1},
         GFX_ALIGN_CENTER);
}

} // namespace

float BHKH_FlowTemperature(float room, float outside, uint8_t slopeTenths, int8_t level)
{
    const float d = outside - room;
    const float slope = slopeTenths / 10.0f;
    const float flow = -slope * d * (1.4347f + 0.021f * d + 0.0002479f * d * d) + room + level;
    if (flow >= FLOW_MAX) return FLOW_MAX;
    return flow < 0.0f ? 0.0f : flow;
}

void BHKH_DrawCurve(uint8_t slope, int8_t level)
{
    const float room = DAT_GetRoomSetTemp();
    GFX_ClearRect(AREA);
    const GFX_Font* font = FNT_SetSmall();
    outsideAxis();
    flowAxis();
    for (int16_t i = 0; i < COLUMNS; ++i) {
        const float outside = OUTSIDE_LEFT - i * OUTSIDE_SPAN / COLUMNS;
        GFX_DrawPixel(static_cast<int16_t>(AXIS_X0 + i),
                      rowOf(BHKH_FlowTemperature(room, outside, slope, level)));
    }
    for (int8_t outside : GUIDES)
        guide(room, outside, slope, level);
    GFX_SetFont(font);
}
