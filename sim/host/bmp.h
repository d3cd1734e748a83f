// Device pictures: uncompressed Windows bitmaps, read with every size checked against the file,
// and the hardkey regions marked in them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, rows top to bottom
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline constexpr int BMP_MAX_SIDE = 4096;

// Accepts only well-formed uncompressed 24- or 32-bit bitmaps whose sizes fit the data, at most
// 4096 x 4096; false with the reason in `error` otherwise.
bool BMP_Decode(const uint8_t* data, size_t size, RgbImage& image, std::string& error);
bool BMP_Load(const std::string& path, RgbImage& image, std::string& error);
// A 24-bit bottom-up bitmap of the image.
std::vector<uint8_t> BMP_Encode(const RgbImage& image);

struct HardkeyRegion {
    int x0, y0, x1, y1; // inclusive
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

inline constexpr int HARDKEY_REGION_LIMIT = 128;

// The hardkey regions of a marked picture, numbered in order of discovery: the picture is read
// row by row; each run of marked pixels extends a region whose last row is directly above it
// and whose extent it overlaps, or starts a new one. `tooMany` is set when a region beyond the
// limit was found (it is not added).
std::vector<HardkeyRegion> BMP_FindHardkeys(const RgbImage& marked, uint32_t markColour,
                                            bool& tooMany);
