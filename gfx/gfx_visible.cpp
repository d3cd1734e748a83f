// The text lines currently visible in display memory. Scripts check what a user would read
// without looking at pixels, so every drawn line is remembered until something covers it.
#include <cstring>

#include "base/utf8.h"
#include "gfx/gfx.h"
#include "gfx/raster.h"

namespace {

// In drawing order, the oldest first; `order` is the display order, rebuilt when needed.
GFX_VisibleText entries[GFX_VISIBLE_TEXT_SLOTS];
uint16_t count = 0;
uint16_t order[GFX_VISIBLE_TEXT_SLOTS];
bool orderValid = false;

bool overlaps(const GFX_Rect& a, const GFX_Rect& b)
{
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}

bool before(const GFX_Rect& a, const GFX_Rect& b)
{
    return a.y0 != b.y0 ? a.y0 < b.y0 : a.x0 < b.x0;
}

void remove(uint16_t index)
{
    memmove(&entries[index], &entries[index + 1], (count - index - 1) * sizeof entries[0]);
    --count;
    orderValid = false;
}

} // namespace

namespace gfx {

void visibleClearAll()
{
    count = 0;
    orderValid = false;
}

void visibleCover(const GFX_Rect& area)
{
    for (uint16_t i = count; i-- > 0;)
        if (overlaps(entries[i].rect, area)) remove(i);
}

void visibleAdd(const GFX_Rect& box, const char* text, int32_t bytes)
{
    if (count == GFX_VISIBLE_TEXT_SLOTS) remove(0);
    GFX_VisibleText& e = entries[count++];
    e.rect = box;
    const uint16_t kept = GFX_Utf8Prefix(
        text,
        static_cast<uint16_t>(bytes < GFX_VISIBLE_TEXT_BYTES ? bytes : GFX_VISIBLE_TEXT_BYTES));
    memcpy(e.text, text, kept);
    e.text[kept] = '\0';
    orderValid = false;
}

} // namespace gfx

uint16_t GFX_VisibleTextCount() { return count; }

const GFX_VisibleText& GFX_GetVisibleText(uint16_t index)
{
    static const GFX_VisibleText none{};
    if (index >= count) return none;
    if (!orderValid) {
        for (uint16_t i = 0; i < count; ++i) {
            uint16_t j = i;
            for (; j > 0 && before(entries[i].rect, entries[order[j - 1]].rect); --j)
                order[j] = order[j - 1];
            order[j] = i;
        }
        orderValid = true;
    }
    return entries[order[index]];
}
