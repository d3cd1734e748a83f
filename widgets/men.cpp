#include "widgets/men.h"

#include <array>

#include "display/lcd.h"
#include "kernel/evt.h"
#include "widgets/fus.h"
#include "widgets/screen.h"

namespace {

struct Item {
    MEN_DrawFn draw;
    MEN_RowFn row; // instead of draw: called with the item's index
    uint8_t visible;
};

struct MenuList {
    std::array<Item, MEN_MAX_ITEMS> items;
    uint8_t count;
    uint8_t left, right, top, height, gap, lines;
    uint8_t windowTop;
    uint8_t cursor;
    bool cursorShown;
};

MenuList menu{};

constexpr const char* SUBMENU_ARROW = "\xE2\x99\xAD"; // U+266D
constexpr const char* OPTION_ON = "\xE2\x99\xB2";     // U+2672
constexpr const char* OPTION_OFF = "\xE2\x99\xB1";    // U+2671
constexpr int16_t ICON_SIZE = 22;

GFX_Rect lineRect(uint8_t line)
{
    const int y0 = menu.top + line * (menu.height + menu.gap);
    return {menu.left, static_cast<int16_t>(y0), menu.right,
            static_cast<int16_t>(y0 + menu.height - 1)};
}

uint8_t visibleFromTop() { return MEN_CountVisible(menu.windowTop, menu.count - 1); }

// Moves an index by n visible items up or down, stopping at the ends.
uint8_t moveUp(uint8_t index, int n)
{
    for (; n > 0; --n)
        index = MEN_PrevVisible(index);
    return index;
}
uint8_t moveDown(uint8_t index, int n)
{
    for (; n > 0; --n)
        index = MEN_NextVisible(index);
    return index;
}

} // namespace

void MEN_SetItem(uint8_t index, MEN_DrawFn draw)
{
    if (index >= MEN_MAX_ITEMS) return;
    menu.items[index] = {draw, nullptr, 1};
}

void MEN_SetRow(uint8_t index, MEN_RowFn draw)
{
    if (index >= MEN_MAX_ITEMS) return;
    menu.items[index] = {nullptr, draw, 1};
}

void MEN_SetCount(uint8_t count) { menu.count = count <= MEN_MAX_ITEMS ? count : MEN_MAX_ITEMS; }
uint8_t MEN_GetCount() { return menu.count; }

void MEN_Init(uint8_t left, uint8_t right, uint8_t top, uint8_t height, uint8_t gap, uint8_t lines)
{
    menu.left = left;
    menu.right = right;
    menu.top = top;
    menu.height = height;
    menu.gap = gap;
    menu.lines = lines;
    menu.windowTop = menu.cursor = MEN_FirstVisible();
    menu.cursorShown = true;
}

bool MEN_IsVisible(uint8_t index) { return index < menu.count && menu.items[index].visible; }

uint8_t MEN_FirstVisible()
{
    for (uint8_t i = 0; i < menu.count; ++i)
        if (menu.items[i].visible) return i;
    return 0;
}

uint8_t MEN_LastVisible()
{
    for (uint8_t i = menu.count; i-- > 0;)
        if (menu.items[i].visible) return i;
    return 0;
}

uint8_t MEN_NextVisible(uint8_t index)
{
    for (uint8_t i = static_cast<uint8_t>(index + 1); i < menu.count; ++i)
        if (menu.items[i].visible) return i;
    return index;
}

uint8_t MEN_PrevVisible(uint8_t index)
{
    for (uint8_t i = index < menu.count ? index : menu.count; i-- > 0;)
        if (menu.items[i].visible) return i;
    return index;
}

uint8_t MEN_CountVisible(uint8_t from, uint8_t to)
{
    uint8_t n = 0;
    for (int i = from; i <= to && i < menu.count; ++i)
        n += menu.items[i].visible ? 1 : 0;
    return n;
}

uint8_t MEN_GetCursor() { return menu.cursor; }
void MEN_SetCursor(uint8_t index) { menu.cursor = index; }
uint8_t MEN_GetTop() { return menu.windowTop; }
void MEN_SetTop(uint8_t index) { menu.windowTop = index; }
void MEN_ShowCursor(bool shown) { menu.cursorShown = shown; }

GFX_Rect MEN_GetCursorRect()
{
    const uint8_t n = MEN_CountVisible(menu.windowTop, menu.cursor);
    GFX_Rect r = lineRect(n > 0 ? static_cast<uint8_t>(n - 1) : 0);
    ++r.x0;
    --r.x1;
    return r;
}

void MEN_SetPosition(uint8_t top, uint8_t cursor)
{
    if (!MEN_IsVisible(cursor)) {
        menu.windowTop = menu.cursor = MEN_FirstVisible();
        return;
    }
    menu.cursor = cursor;
    if (MEN_IsVisible(top)) {
        const int n = MEN_CountVisible(top, cursor);
        if (n <= menu.lines) {
            const int following = MEN_CountVisible(top, menu.count - 1);
            if (following < menu.lines) top = moveUp(top, menu.lines - following);
        } else {
            top = moveDown(top, n - menu.lines);
        }
        menu.windowTop = top;
    } else {
        menu.windowTop = moveUp(cursor, menu.lines - 1);
    }
}

void MEN_SetItemVisible(uint8_t index, bool visible)
{
    if (index >= MEN_MAX_ITEMS || (menu.items[index].visible != 0) == visible) return;
    menu.items[index].visible = visible ? 1 : 0;
    const uint8_t top = menu.windowTop;
    if (visible) {
        if (MEN_CountVisible(0, menu.count - 1) == 1) {
            menu.windowTop = menu.cursor = index;
        } else if (index >= top && index < menu.cursor && visibleFromTop() > menu.lines) {
            menu.windowTop = MEN_NextVisible(top);
        } else if (index < top && visibleFromTop() < menu.lines) {
            menu.windowTop = MEN_PrevVisible(top);
        }
        return;
    }
    if (MEN_CountVisible(0, menu.count - 1) == 0) {
        menu.windowTop = menu.cursor = 0;
    } else if (index == menu.cursor) {
        const uint8_t next = MEN_NextVisible(index);
        if (next != index) {
            menu.cursor = next;
            if (visibleFromTop() < menu.lines) menu.windowTop = MEN_PrevVisible(top);
        } else {
            menu.cursor = MEN_PrevVisible(index);
            menu.windowTop = MEN_PrevVisible(top);
        }
        if (top == index) menu.windowTop = menu.cursor;
    } else if (index > top && index < menu.cursor) {
        menu.windowTop = MEN_PrevVisible(top);
    } else if (index == top) {
        const uint8_t prev = MEN_PrevVisible(top);
        menu.windowTop = prev != top ? prev : MEN_NextVisible(top);
    } else if (visibleFromTop() < menu.lines) {
        menu.windowTop = MEN_PrevVisible(top);
    }
}

void MEN_Draw()
{
    uint8_t index = menu.windowTop;
    for (uint8_t line = 0; line < menu.lines;) {
        const GFX_Rect r = lineRect(line);
        if (index >= menu.count) {
            GFX_ClearRect(r);
            ++line;
            continue;
        }
        if (!menu.items[index].visible) {
            ++index;
            continue;
        }
        GFX_ClearRect(r);
        const GFX_Rect inner{static_cast<int16_t>(r.x0 + 1), static_cast<int16_t>(r.y0 + 1),
                             static_cast<int16_t>(r.x1 - 1), static_cast<int16_t>(r.y1 - 1)};
        if (menu.items[index].draw != nullptr) menu.items[index].draw(inner);
        if (menu.items[index].row != nullptr) menu.items[index].row(index, inner);
        if (menu.cursorShown && index == menu.cursor) GFX_InvertRect(r);
        ++line;
        ++index;
    }
}

bool MEN_Down()
{
    const uint8_t next = MEN_NextVisible(menu.cursor);
    if (next == menu.cursor) return false;
    menu.cursor = next;
    const uint8_t n = MEN_CountVisible(menu.windowTop, menu.cursor);
    const bool last = menu.cursor == MEN_LastVisible();
    if ((!last && n >= menu.lines) || (last && n > menu.lines))
        menu.windowTop = MEN_NextVisible(menu.windowTop);
    MEN_Draw();
    return true;
}

bool MEN_Up()
{
    const uint8_t prev = MEN_PrevVisible(menu.cursor);
    if (prev == menu.cursor) return false;
    menu.cursor = prev;
    if (menu.cursor == MEN_FirstVisible())
        menu.windowTop = menu.cursor;
    else if (menu.cursor <= menu.windowTop)
        menu.windowTop = MEN_PrevVisible(menu.windowTop);
    MEN_Draw();
    return true;
}

uint8_t MEN_MoveWithHint(MenuMove move)
{
    if (move == MenuMove::Down)
        MEN_Down();
    else
        MEN_Up();
    FUS_DrawHint(FUS_HINT_CONTINUE_OK);
    UI_StartScreenTimer(FUS_HINT_TICKS);
    lcd_refresh();
    return FUS_HINT_CONTINUE_OK;
}

uint8_t MEN_SelectHintAgain()
{
    FUS_DrawHint(FUS_HINT_SELECT);
    FUS_Refresh();
    return FUS_HINT_SELECT;
}

void MEN_DrawTextIconItem(TextId id, const GFX_Bitmap& icon, const GFX_Rect& r)
{
    GFX_TextInRect(TXT_Get(id), r, GFX_ALIGN_LEFT_CENTER);
    GFX_DrawBitmap(icon, static_cast<int16_t>(r.x1 - ICON_SIZE), static_cast<int16_t>(r.y0 + 1));
}

void MEN_DrawSubmenuItem(TextId id, const GFX_Rect& r)
{
    GFX_TextInRect(TXT_Get(id), r, GFX_ALIGN_LEFT_CENTER);
    GFX_TextInRect(SUBMENU_ARROW, r, GFX_ALIGN_RIGHT_CENTER);
}

void MEN_DrawOption(const GFX_Rect& r, bool selected)
{
    GFX_TextInRect(selected ? OPTION_ON : OPTION_OFF, r, GFX_ALIGN_RIGHT_CENTER);
}

void MEN_SubmenuMark(uint8_t, const GFX_Rect& r)
{
    GFX_TextInRect(SUBMENU_ARROW, r, GFX_ALIGN_RIGHT_CENTER);
}
