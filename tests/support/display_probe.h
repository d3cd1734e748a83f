// Looking at display memory in tests: one pixel, counts and bounds of set pixels, copies.
#pragma once

#include <array>
#include <cstring>
#include <ostream>
#include <string>

#include "gfx/gfx.h"

using DisplayCopy = std::array<uint8_t, GFX_MEMORY_BYTES>;

inline DisplayCopy copyDisplay()
{
    DisplayCopy c;
    memcpy(c.data(), GFX_Memory(), c.size());
    return c;
}

inline bool pixel(int x, int y)
{
    return GFX_GetPixel(static_cast<int16_t>(x), static_cast<int16_t>(y));
}

inline int countSet(GFX_Rect r = {0, 0, GFX_WIDTH - 1, GFX_HEIGHT - 1})
{
    int n = 0;
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x)
            n += pixel(x, y);
    return n;
}

// Bounding box of the set pixels inside r; x0 > x1 when there are none.
inline GFX_Rect setBounds(GFX_Rect r = {0, 0, GFX_WIDTH - 1, GFX_HEIGHT - 1})
{
    GFX_Rect b{GFX_WIDTH, GFX_HEIGHT, -1, -1};
    for (int y = r.y0; y <= r.y1; ++y)
        for (int x = r.x0; x <= r.x1; ++x)
            if (pixel(x, y)) {
                if (x < b.x0) b.x0 = static_cast<int16_t>(x);
                if (y < b.y0) b.y0 = static_cast<int16_t>(y);
                if (x > b.x1) b.x1 = static_cast<int16_t>(x);
                if (y > b.y1) b.y1 = static_cast<int16_t>(y);
            }
    return b;
}

inline bool operator==(const GFX_Rect& a, const GFX_Rect& b)
{
    return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

inline std::ostream& operator<<(std::ostream& os, const GFX_Rect& r)
{
    return os << "{" << r.x0 << ", " << r.y0 << ", " << r.x1 << ", " << r.y1 << "}";
}
