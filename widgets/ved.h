// The value editor: one value with step and bounds, drawn into its field by a format function.
#pragma once

#include <cstdint>

#include "gfx/gfx.h"

struct VED_Values {
    int16_t value;
    int16_t step;
    int16_t min;
    int16_t max;
};

// Draws a value into the field (already narrowed by one pixel left and right).
using VED_FormatFn = void (*)(const GFX_Rect& r, int16_t value);

// A negative step counts as positive; the value is clamped into [min, max].
void VED_Init(const VED_Values& values, VED_FormatFn format, const GFX_Rect& field,
              const GFX_Font* font);
// Reverse mode fills the field (the value being edited), the others clear it.
void VED_Draw(uint8_t textMode);
// One step up or down, stopping at the bounds without wrapping, then drawn in reverse.
void VED_Inc();
void VED_Dec();

int16_t VED_GetValue();
int16_t VED_GetStep();
int16_t VED_GetMin();
int16_t VED_GetMax();
void VED_SetRect(const GFX_Rect& field);
