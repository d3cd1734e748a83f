// The menu list shared by every menu screen: item draw functions with visibility flags, a
// window of lines with a selection bar, and the cursor and window-top rules that keep them
// consistent while items appear and disappear.
#pragma once

#include <cstdint>

#include "display/text.h"
#include "gfx/gfx.h"

inline constexpr uint8_t MEN_MAX_ITEMS = 44;

// Draws one item into its line (the line rectangle narrowed by one pixel on every side).
using MEN_DrawFn = void (*)(const GFX_Rect& r);

// The standard geometry: lines at y 29-52, 55-78, 81-104, 107-130.
inline constexpr uint8_t MEN_STD_LEFT = 0;
inline constexpr uint8_t MEN_STD_RIGHT = 239;
inline constexpr uint8_t MEN_STD_TOP = 29;
inline constexpr uint8_t MEN_STD_HEIGHT = 24;
inline constexpr uint8_t MEN_STD_GAP = 2;
inline constexpr uint8_t MEN_STD_LINES = 4;

void MEN_SetItem(uint8_t index, MEN_DrawFn draw);
void MEN_SetCount(uint8_t count);
uint8_t MEN_GetCount();
void MEN_Init(uint8_t left, uint8_t right, uint8_t top, uint8_t height, uint8_t gap, uint8_t lines);
inline void MEN_InitStandard()
{
    MEN_Init(MEN_STD_LEFT, MEN_STD_RIGHT, MEN_STD_TOP, MEN_STD_HEIGHT, MEN_STD_GAP, MEN_STD_LINES);
}
void MEN_SetItemVisible(uint8_t index, bool visible);

bool MEN_IsVisible(uint8_t index);
uint8_t MEN_FirstVisible();                         // 0 when none
uint8_t MEN_LastVisible();                          // 0 when none
uint8_t MEN_NextVisible(uint8_t index);             // index itself when there is none
uint8_t MEN_PrevVisible(uint8_t index);             // index itself when there is none
uint8_t MEN_CountVisible(uint8_t from, uint8_t to); // inclusive

uint8_t MEN_GetCursor();
void MEN_SetCursor(uint8_t index);
uint8_t MEN_GetTop();
void MEN_SetTop(uint8_t index);
void MEN_SetPosition(uint8_t top, uint8_t cursor);
void MEN_ShowCursor(bool shown);
// The cursor's line, x narrowed by one pixel at each side.
GFX_Rect MEN_GetCursorRect();

void MEN_Draw();
// Move the cursor; false (and nothing drawn) when it cannot move.
bool MEN_Down();
bool MEN_Up();

// The menu screens' answer to Up and Down: move the cursor, show "Weiter mit OK" and restart
// the 4-second refresh timer after which MEN_SelectHintAgain brings "Wählen mit ♯" back; the
// display is refreshed. Both return the footer hint now shown, for the screen to remember.
enum class MenuMove : uint8_t { Up, Down };
uint8_t MEN_MoveWithHint(MenuMove move);
// SIG_REFRESH of a menu screen: the selection hint again, only the footer refreshed.
uint8_t MEN_SelectHintAgain();

// Item painters for the draw functions.
// Text left, the item's 22-pixel icon at the right end.
void MEN_DrawTextIconItem(TextId id, const GFX_Bitmap& icon, const GFX_Rect& r);
// Text left, "♭" right: the item opens another menu.
void MEN_DrawSubmenuItem(TextId id, const GFX_Rect& r);
// "♲" (selected) or "♱" right; the item draws its text itself.
void MEN_DrawOption(const GFX_Rect& r, bool selected);
