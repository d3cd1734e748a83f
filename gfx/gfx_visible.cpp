// The text lines on the panel. Scripts check what a user would read without looking at pixels,
// so every drawn line is remembered: first as drawn into display memory, then, once a refresh
// has transferred it, as shown on the panel, until something covers it there too. A screen
// that draws without refreshing shows nothing, in the scripts as on the device.
#include <cstring>

#include "base/utf8.h"
#include "gfx/gfx.h"
#include "gfx/raster.h"

namespace {

// Most texts are a few words: the lines keep their bytes one after the other in one pool
// instead of a full-length buffer each.
constexpr uint16_t POOL_BYTES = 4096;

constexpr uint8_t DRAWN = 1; // in display memory
constexpr uint8_t SHOWN = 2; // transferred to the panel

struct Line {
    GFX_Rect rect;
    uint16_t at;    // its text in the pool, zero-terminated
    uint8_t length; // bytes without the zero
    uint8_t where;  // DRAWN, SHOWN or both
};
static_assert(GFX_VISIBLE_TEXT_BYTES <= UINT8_MAX, "a line's length is kept in a byte");

// In drawing order, the oldest first, their texts in the same order in the pool; `order` lists
// the shown lines in display order, rebuilt when needed.
Line lines[GFX_VISIBLE_TEXT_SLOTS];
uint16_t count = 0;
char pool[POOL_BYTES];
uint16_t poolUsed = 0;
uint16_t order[GFX_VISIBLE_TEXT_SLOTS];
uint16_t shownCount = 0;
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
    const uint16_t bytes = static_cast<uint16_t>(lines[index].length + 1);
    const uint16_t from = lines[index].at;
    memmove(&pool[from], &pool[from + bytes], poolUsed - from - bytes);
    poolUsed = static_cast<uint16_t>(poolUsed - bytes);
    memmove(&lines[index], &lines[index + 1], (count - index - 1) * sizeof lines[0]);
    --count;
    for (uint16_t i = index; i < count; ++i)
        lines[i].at = static_cast<uint16_t>(lines[i].at - bytes);
    orderValid = false;
}

// Takes `mark` from the lines that overlap `area` (all lines without an area); a line neither
// drawn nor shown is gone.
void unmark(uint8_t mark, const GFX_Rect* area)
{
    for (uint16_t i = count; i-- > 0;) {
        if (area != nullptr && !overlaps(lines[i].rect, *area)) continue;
        lines[i].where = static_cast<uint8_t>(lines[i].where & ~mark);
        if (lines[i].where == 0) remove(i);
    }
    orderValid = false;
}

void sortShown()
{
    shownCount = 0;
    for (uint16_t i = 0; i < count; ++i) {
        if (!(lines[i].where & SHOWN)) continue;
        uint16_t j = shownCount++;
        for (; j > 0 && before(lines[i].rect, lines[order[j - 1]].rect); --j)
            order[j] = order[j - 1];
        order[j] = i;
    }
    orderValid = true;
}

} // namespace

namespace gfx {

void visibleClearAll() { unmark(DRAWN, nullptr); }

void visibleForgetAll()
{
    count = 0;
    poolUsed = 0;
    orderValid = false;
}

void visibleCover(const GFX_Rect& area) { unmark(DRAWN, &area); }

void visibleAdd(const GFX_Rect& box, const char* text, int32_t bytes)
{
    const uint16_t kept = GFX_Utf8Prefix(
        text,
        static_cast<uint16_t>(bytes < GFX_VISIBLE_TEXT_BYTES ? bytes : GFX_VISIBLE_TEXT_BYTES));
    while (count > 0 && (count == GFX_VISIBLE_TEXT_SLOTS || poolUsed + kept + 1 > POOL_BYTES))
        remove(0);
    Line& line = lines[count++];
    line = {box, poolUsed, static_cast<uint8_t>(kept), DRAWN};
    memcpy(&pool[poolUsed], text, kept);
    pool[poolUsed + kept] = '\0';
    poolUsed = static_cast<uint16_t>(poolUsed + kept + 1);
    orderValid = false;
}

} // namespace gfx

void GFX_TextsRefreshed(const GFX_Rect& area)
{
    for (uint16_t i = count; i-- > 0;) {
        Line& line = lines[i];
        if (!overlaps(line.rect, area)) continue;
        if (line.where & DRAWN)
            line.where |= SHOWN;
        else
            remove(i); // replaced on the panel by what display memory holds now
    }
    orderValid = false;
}

uint16_t GFX_VisibleTextCount()
{
    if (!orderValid) sortShown();
    return shownCount;
}

GFX_VisibleText GFX_GetVisibleText(uint16_t index)
{
    if (index >= GFX_VisibleTextCount()) return {{0, 0, -1, -1}, ""};
    const Line& line = lines[order[index]];
    return {line.rect, &pool[line.at]};
}
