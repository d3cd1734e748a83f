#include "display_png.h"

#include <png.h>

#include <cstring>

#include "line.h"

namespace {

// The panel's dimmest grey for a set pixel is 0x4F; black is clear.
constexpr uint8_t LIGHT_FROM = 0x40;

} // namespace

std::vector<uint8_t> PNG_ReadDisplay(const std::string& path)
{
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw StationError(2, "cannot read the picture " + path + ": " + image.message);
    if (image.width != DISPLAY_WIDTH || image.height != DISPLAY_HEIGHT) {
        png_image_free(&image);
        throw StationError(2, "the picture " + path + " is " + std::to_string(image.width) + " x " +
                                  std::to_string(image.height) +
                                  " pixels; the display is 240 x 160");
    }
    image.format = PNG_FORMAT_GRAY;
    std::vector<uint8_t> grey(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr))
        throw StationError(2, "cannot read the picture " + path + ": " + image.message);
    std::vector<uint8_t> memory(DISPLAY_ROW_BYTES * DISPLAY_HEIGHT, 0);
    for (int y = 0; y < DISPLAY_HEIGHT; ++y)
        for (int x = 0; x < DISPLAY_WIDTH; ++x)
            if (grey[size_t(y) * DISPLAY_WIDTH + size_t(x)] >= LIGHT_FROM)
                memory[size_t(y) * DISPLAY_ROW_BYTES + size_t(x / 8)] |=
                    static_cast<uint8_t>(0x80 >> (x % 8));
    return memory;
}

void PNG_WriteDisplay(const std::string& path, const std::vector<uint8_t>& memory)
{
    std::vector<uint8_t> grey(size_t(DISPLAY_WIDTH) * DISPLAY_HEIGHT, 0);
    for (size_t i = 0; i < grey.size(); ++i) {
        const size_t byte = i / 8;
        if (byte < memory.size() && (memory[byte] & (0x80 >> (i % 8)))) grey[i] = 0xFF;
    }
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = DISPLAY_WIDTH;
    image.height = DISPLAY_HEIGHT;
    image.format = PNG_FORMAT_GRAY;
    if (!png_image_write_to_file(&image, path.c_str(), 0, grey.data(), 0, nullptr))
        throw StationError(2, "cannot write the picture " + path + ": " + image.message);
}
