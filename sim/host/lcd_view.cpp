#include "sim/host/lcd_view.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {
LcdView* attached = nullptr;
}

void LcdView::attach()
{
    attached = this;
    SIM_SetDisplaySink(&LcdView::sink);
}

void LcdView::detach()
{
    SIM_SetDisplaySink(nullptr);
    attached = nullptr;
}

void LcdView::sink(const uint8_t* memory, SIM_Rect rect, uint8_t contrast, uint8_t lightMode)
{
    if (attached) attached->refresh(memory, rect, contrast, lightMode);
}

void LcdView::refresh(const uint8_t* memory, SIM_Rect r, uint8_t contrast, uint8_t lightMode)
{
    {
        std::lock_guard guard(lock_);
        const size_t width = static_cast<size_t>(r.x1 - r.x0 + 1);
        for (int y = r.y0; y <= r.y1; ++y)
            memcpy(&visible_.pixels[y * SIM_LCD_WIDTH + r.x0], memory + y * SIM_LCD_WIDTH + r.x0,
                   width);
        visible_.contrast = contrast;
        visible_.lightMode = lightMode;
        ++visible_.generation;
    }
    if (auto listener = listener_.load()) listener();
}

LcdView::Snapshot LcdView::snapshot() const
{
    std::lock_guard guard(lock_);
    return visible_;
}

uint64_t LcdView::generation() const
{
    std::lock_guard guard(lock_);
    return visible_.generation;
}

std::vector<uint8_t> LcdView::toRgb(const Snapshot& s)
{
    const uint32_t set = SIM_LcdSetColour(s.contrast, s.lightMode);
    std::vector<uint8_t> rgb(s.pixels.size() * 3);
    for (size_t i = 0; i < s.pixels.size(); ++i) {
        const uint32_t c = s.pixels[i] ? set : 0;
        rgb[3 * i] = static_cast<uint8_t>(c >> 16);
        rgb[3 * i + 1] = static_cast<uint8_t>(c >> 8);
        rgb[3 * i + 2] = static_cast<uint8_t>(c);
    }
    return rgb;
}

bool PNG_WriteRgb(const std::string& path, const uint8_t* rgb, int width, int height,
                  std::string* error)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path.c_str(), "wb"), fclose);
    if (!file) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        if (error) *error = "PNG encoding failed for " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool PNG_ReadRgb(const std::string& path, std::vector<uint8_t>& rgb, int& width, int& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}
