// The hourglass of the screens that wait for controller data: 17 frames in a 36 x 36 field,
// the sand running from the top bulb into the bottom one.
#pragma once

#include <cstdint>

#include "gfx/gfx.h"

inline constexpr uint8_t UI_HOURGLASS_FRAMES = 17;
inline constexpr int16_t UI_HOURGLASS_WIDTH = 16;
inline constexpr int16_t UI_HOURGLASS_HEIGHT = 36;
inline constexpr int16_t UI_HOURGLASS_FIELD = 36;

// Places the field centred on (x, y) and starts again at the first frame.
void UI_HourglassStart(int16_t x, int16_t y);
// Clears the field, draws the current frame, moves on to the next and refreshes the field.
void UI_HourglassStep();

// A frame's picture, for the tests and the benchmark of the drawing.
GFX_Bitmap UI_HourglassFrame(uint8_t frame);
