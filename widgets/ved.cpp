#include "widgets/ved.h"

namespace {

struct Editor {
    VED_Values values;
    VED_FormatFn format;
    GFX_Rect field;
    const GFX_Font* font;
};

Editor editor{};

// Sums are formed in 32 bits: a value near 32767 plus a step must stop at the maximum rather
// than wrap to a negative number.
int16_t clamp(int32_t v, int16_t lo, int16_t hi)
{
    if (v > hi) return hi;
    if (v < lo) return lo;
    return static_cast<int16_t>(v);
}

} // namespace

void VED_Init(const VED_Values& values, VED_FormatFn format, const GFX_Rect& field,
              const GFX_Font* font)
{
    editor.values = values;
    const int32_t step = values.step < 0 ? -int32_t{values.step} : values.step;
    editor.values.step = static_cast<int16_t>(step > INT16_MAX ? INT16_MAX : step);
    if (values.value < values.min)
        editor.values.value = values.min;
    else if (values.value > values.max)
        editor.values.value = values.max;
    editor.format = format;
    editor.field = field;
    editor.font = font;
}

void VED_Draw(uint8_t textMode)
{
    const GFX_Font* font = GFX_SetFont(editor.font);
    const uint8_t mode = GFX_SetTextMode(textMode);
    if (textMode == GFX_TEXT_REVERSE)
        GFX_FillRect(editor.field);
    else
        GFX_ClearRect(editor.field);
    if (editor.format != nullptr)
        editor.format({static_cast<int16_t>(editor.field.x0 + 1), editor.field.y0,
                       static_cast<int16_t>(editor.field.x1 - 1), editor.field.y1},
                      editor.values.value);
    GFX_SetTextMode(mode);
    GFX_SetFont(font);
}

void VED_Inc()
{
    const VED_Values& v = editor.values;
    editor.values.value = clamp(int32_t{v.value} + v.step, INT16_MIN, v.max);
    VED_Draw(GFX_TEXT_REVERSE);
}

void VED_Dec()
{
    const VED_Values& v = editor.values;
    editor.values.value = clamp(int32_t{v.value} - v.step, v.min, INT16_MAX);
    VED_Draw(GFX_TEXT_REVERSE);
}

int16_t VED_GetValue() { return editor.values.value; }
int16_t VED_GetStep() { return editor.values.step; }
int16_t VED_GetMin() { return editor.values.min; }
int16_t VED_GetMax() { return editor.values.max; }
void VED_SetRect(const GFX_Rect& field) { editor.field = field; }
