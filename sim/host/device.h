// The device picture of the window host: the front (Device.bmp) and the same picture with the
// hardkeys and the display marked (Device1.bmp), drawn by the host when it starts and taken
// from the working directory instead when both files are there.
#pragma once

#include <string>
#include <vector>

#include "sim/host/bmp.h"

// Colours with a meaning in the pictures.
inline constexpr uint32_t DEVICE_TRANSPARENT = 0xFF00FF;  // Device.bmp: outside the device
inline constexpr uint32_t DEVICE_HARDKEY_MARK = 0xFF0000; // Device1.bmp: a hardkey
inline constexpr uint32_t DEVICE_LCD_MARK = 0x00FF00;     // Device1.bmp: the display area

struct DevicePicture {
    RgbImage front;
    std::vector<HardkeyRegion> hardkeys; // in the order of discovery = hardkey numbers
    HardkeyRegion lcd{};                 // where the display is shown
    int lcdScale = 1;                    // integer magnification of the 240 x 160 pixels
    int lcdX = 0, lcdY = 0;              // top-left of the magnified display
    std::string source;                  // "built-in" or the working directory
};

// Draws the built-in pictures: the front and the same picture with the marks.
void DEVICE_DrawBuiltin(RgbImage& front, RgbImage& marks);

// Builds the picture from two decoded bitmaps; false with the reason when they do not fit
// together (sizes differ, no display area) or have too many hardkeys.
bool DEVICE_FromImages(RgbImage front, const RgbImage& marks, DevicePicture& out,
                       std::string& error);

// The pictures of the working directory when both are there and valid, else the built-in
// ones; every reason for falling back is reported through `hostError`.
DevicePicture DEVICE_Load(void (*hostError)(const std::string& text));
