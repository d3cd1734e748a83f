#include "sim/host/golden.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "sim/host/lcd_view.h"

namespace {

std::string withoutPng(const std::string& path)
{
    const size_t n = path.size();
    return n >= 4 && path.compare(n - 4, 4, ".png") == 0 ? path.substr(0, n - 4) : path;
}

bool updating()
{
    const char* v = std::getenv("PANELSIM_UPDATE_GOLDEN");
    return v != nullptr && strcmp(v, "1") == 0;
}

} // namespace

std::string GOLDEN_ActualPath(const std::string& goldenPath)
{
    return withoutPng(goldenPath) + ".actual.png";
}

std::string GOLDEN_DiffPath(const std::string& goldenPath)
{
    return withoutPng(goldenPath) + ".diff.png";
}

bool GOLDEN_Compare(const uint8_t* rgb, int width, int height, const std::string& goldenPath,
                    std::string& report)
{
    if (updating()) {
        std::string error;
        if (PNG_WriteRgb(goldenPath, rgb, width, height, &error)) return true;
        report = error;
        return false;
    }
    std::vector<uint8_t> golden;
    int gw = 0, gh = 0;
    const bool readable = PNG_ReadRgb(goldenPath, golden, gw, gh);
    if (readable && (gw != width || gh != height)) {
        report = goldenPath + " is " + std::to_string(gw) + " x " + std::to_string(gh) +
                 ", the picture " + std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    size_t differing = 0;
    // Differing pixels red, the rest of the actual picture dimmed so the red stands out.
    std::vector<uint8_t> diff(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* a = rgb + 3 * i;
        const bool same = readable && memcmp(a, golden.data() + 3 * i, 3) == 0;
        if (!same) ++differing;
        diff[3 * i] = same ? static_cast<uint8_t>(a[0] / 3) : 255;
        diff[3 * i + 1] = same ? static_cast<uint8_t>(a[1] / 3) : 0;
        diff[3 * i + 2] = same ? static_cast<uint8_t>(a[2] / 3) : 0;
    }
    if (readable && differing == 0) return true;
    PNG_WriteRgb(GOLDEN_ActualPath(goldenPath), rgb, width, height);
    if (!readable) {
        report = goldenPath +
                 " is missing or not a PNG (actual picture: " + GOLDEN_ActualPath(goldenPath) +
                 "; PANELSIM_UPDATE_GOLDEN=1 writes it)";
        return false;
    }
    PNG_WriteRgb(GOLDEN_DiffPath(goldenPath), diff.data(), width, height);
    report = std::to_string(differing) + " pixels differ from " + goldenPath + " (see " +
             GOLDEN_ActualPath(goldenPath) + " and " + GOLDEN_DiffPath(goldenPath) + ")";
    return false;
}
