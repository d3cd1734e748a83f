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
    // The columns of the rectangle as byte masks: the pixels beside it in its first and last
    // byte stay as they were shown.
    const int first = r.x0 / 8, last = r.x1 / 8;
    uint8_t firstMask = static_cast<uint8_t>(0xFF >> (r.x0 % 8));
    const uint8_t lastMask = static_cast<uint8_t>(0xFF << (7 - r.x1 % 8));
    if (first == last) firstMask &= lastMask;
    {
        std::lock_guard guard(lock_);
        for (int y = r.y0; y <= r.y1; ++y) {
            const uint8_t* from = memory + y * SIM_LCD_BYTES_PER_ROW;
            uint8_t* to = &bits_[y * SIM_LCD_BYTES_PER_ROW];
            to[first] = static_cast<uint8_t>(to[first] ^ ((to[first] ^ from[first]) & firstMask));
            if (last == first) continue;
            // The whole bytes between eight at a time: full refreshes copy whole rows.
            int i = first + 1;
            for (; i + 8 <= last; i += 8)
                memcpy(to + i, from + i, 8);
            for (; i < last; ++i)
                to[i] = from[i];
            to[last] = static_cast<uint8_t>(to[last] ^ ((to[last] ^ from[last]) & lastMask));
        }
        contrast_ = contrast;
        lightMode_ = lightMode;
        ++generation_;
    }
    if (auto listener = listener_.load()) listener();
}

LcdView::Snapshot LcdView::snapshot() const
{
    Snapshot s;
    std::lock_guard guard(lock_);
    for (size_t i = 0; i < s.pixels.size(); ++i)
        s.pixels[i] = (bits_[i / 8] >> (7 - i % 8)) & 1;
    s.contrast = contrast_;
    s.lightMode = lightMode_;
    s.generation = generation_;
    return s;
}

uint64_t LcdView::generation() const
{
    std::lock_guard guard(lock_);
    return generation_;
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
