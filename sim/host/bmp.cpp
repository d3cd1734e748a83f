#include "sim/host/bmp.h"

#include <fstream>
#include <iterator>

namespace {

uint32_t u32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
int32_t i32(const uint8_t* p) { return static_cast<int32_t>(u32(p)); }

void put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, static_cast<uint16_t>(v));
    put16(out, static_cast<uint16_t>(v >> 16));
}

} // namespace

bool BMP_Decode(const uint8_t* data, size_t size, RgbImage& image, std::string& error)
{
    constexpr size_t fileHeader = 14, minInfoHeader = 40;
    if (size < fileHeader + minInfoHeader || data[0] != 'B' || data[1] != 'M') {
        error = "not a bitmap file";
        return false;
    }
    const uint32_t pixelOffset = u32(data + 10);
    const uint32_t infoSize = u32(data + 14);
    if (infoSize < minInfoHeader || fileHeader + infoSize > size) {
        error = "damaged bitmap header";
        return false;
    }
    const int32_t width = i32(data + 18);
    const int32_t rawHeight = i32(data + 22);
    const uint16_t planes = u16(data + 26);
    const uint16_t bits = u16(data + 28);
    const uint32_t compression = u32(data + 30);
    if (planes != 1 || (bits != 24 && bits != 32) || compression != 0) {
        error = "only uncompressed 24- or 32-bit bitmaps are supported";
        return false;
    }
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t{rawHeight} : rawHeight;
    if (width <= 0 || height <= 0 || width > BMP_MAX_SIDE || height > BMP_MAX_SIDE) {
        error = "bitmap size outside 1..4096";
        return false;
    }
    const size_t bytesPerPixel = bits / 8;
    const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
    if (pixelOffset < fileHeader + infoSize || pixelOffset > size ||
        stride * static_cast<size_t>(height) > size - pixelOffset) {
        error = "bitmap data do not fit the file";
        return false;
    }
    image.width = width;
    image.height = static_cast<int>(height);
    image.pixels.assign(static_cast<size_t>(width) * image.height, 0);
    for (int y = 0; y < image.height; ++y) {
        const size_t row = topDown ? y : image.height - 1 - y;
        const uint8_t* p = data + pixelOffset + row * stride;
        for (int x = 0; x < width; ++x, p += bytesPerPixel)
            image.pixels[static_cast<size_t>(y) * width + x] = p[2] << 16 | p[1] << 8 | p[0];
    }
    return true;
}

bool BMP_Load(const std::string& path, RgbImage& image, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (!BMP_Decode(data.data(), data.size(), image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::vector<uint8_t> BMP_Encode(const RgbImage& image)
{
    const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataSize = stride * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t c = image.at(x, y);
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c >> 16));
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

std::vector<HardkeyRegion> BMP_FindHardkeys(const RgbImage& marked, uint32_t markColour,
                                            bool& tooMany)
{
    tooMany = false;
    std::vector<HardkeyRegion> regions;
    for (int y = 0; y < marked.height; ++y) {
        for (int x = 0; x < marked.width;) {
            if (marked.at(x, y) != markColour) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < marked.width && marked.at(x, y) == markColour)
                ++x;
            const int end = x - 1;
            HardkeyRegion* above = nullptr;
            for (HardkeyRegion& r : regions)
                if (r.y1 == y - 1 && start <= r.x1 && end >= r.x0) {
                    above = &r;
                    break;
                }
            if (above) {
                above->y1 = y;
                if (start < above->x0) above->x0 = start;
                if (end > above->x1) above->x1 = end;
            } else if (static_cast<int>(regions.size()) < HARDKEY_REGION_LIMIT) {
                regions.push_back({start, y, end, y});
            } else {
                tooMany = true;
            }
        }
    }
    return regions;
}
