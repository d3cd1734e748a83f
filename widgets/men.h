// The menu list shared by every menu screen: item draw functions with visibility flags, a
// window of lines with a selection bar, and the cursor and window-top rules that keep them
// consistent while items appear and disappear.
//
// Below it, the menu screen shell: a menu screen is a table of rows and a descriptor, and its
// state handler passes every signal to MEN_Handle first, handling only what differs:
//
//   bool faultShown() { return DAT_GetFaultPresent(); }
//   constexpr std::array<MEN_Row, 2> ROWS{{
//       {.text = TXT_STOERUNG, .target = &BSD_Stoerungsdialog, .help = HLP_BGM_STOERUNG,
//        .shown = faultShown, .icon = &PIC_IconStoerung},
//       {.text = TXT_HEIZUNG, .target = &BHKM_HKMenue, .help = HLP_BGM_HEIZUNG,
//        .icon = &PIC_IconHeizung, .beforeOpen = selectFirstCircuit},
//   }};
//   MEN_Memory memory; // the screen's own saved position and hint
//   constexpr MEN_Screen MENU{.self = &BXY_Menue, .rows = ROWS, .memory = &memory,
//                             .title = TXT_MENUE, .back = &BGM_Grundmenue};
//   StateHandler menue(Hsm& me, const Event& e)
//   {
//       return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
//   }
//
// The family's reset, which UI_ResetScreens calls at every panel start, forgets the memory
// (MEN_ResetMemory).
//
// MEN_Handle answers entry (rows, visibility, geometry), init (reason 3 the first visible row,
// 4 the saved position when its rows are still visible, any other reason keeps position and
// hint; then the whole screen drawn), exit (position saved, UI_ScreenExit), Up and Down
// ("Weiter mit OK" for 4 s), the timer (the selection hint again), OK (the cursor row's target
// with its reason, after its beforeOpen), Back (the descriptor's back target, when it has
// one), the 5-second redraw in place and help on the cursor row. It returns false for
// everything else. A screen that treats one of these differently handles it before calling
// MEN_Handle, using the pieces below (MEN_ScreenEntry, MEN_ScreenDraw, ...).
#pragma once

#include <cstdint>
#include <span>

#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/hsm.h"
#include "widgets/fus.h"
#include "widgets/help_codes.h"

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

// Draws row `row` into its line; one function can serve every row of a list.
using MEN_RowFn = void (*)(uint8_t row, const GFX_Rect& r);

void MEN_SetItem(uint8_t index, MEN_DrawFn draw);
void MEN_SetRow(uint8_t index, MEN_RowFn draw);
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
// "♭" right, as a row drawer: the row opens another menu.
void MEN_SubmenuMark(uint8_t row, const GFX_Rect& r);

// --- the menu screen shell ------------------------------------------------------------------

struct MEN_Geometry {
    uint8_t left, right, top, height, gap, lines;
};
inline constexpr MEN_Geometry MEN_STANDARD{MEN_STD_LEFT,   MEN_STD_RIGHT, MEN_STD_TOP,
                                           MEN_STD_HEIGHT, MEN_STD_GAP,   MEN_STD_LINES};
// The list leaves x 159-239 to the details of the cursor row (MEN_Row::detail).
inline constexpr MEN_Geometry MEN_BESIDE_DETAIL{MEN_STD_LEFT,   158,         MEN_STD_TOP,
                                                MEN_STD_HEIGHT, MEN_STD_GAP, MEN_STD_LINES};
inline constexpr GFX_Rect MEN_DETAIL_AREA{159, 28, 239, 131};

// One row of a menu screen.
struct MEN_Row {
    TextId text = TXT_NONE;           // left in the line; TXT_NONE when `draw` paints it all
    StateHandler target = nullptr;    // OK opens it; null: OK does nothing
    uint32_t reason = PAR_NAVIGATE;   // the target's entry reason
    HelpCode help = 0;                // help code of the row
    bool (*shown)() = nullptr;        // visibility rule; null: always shown
    const GFX_Bitmap* icon = nullptr; // the 22-pixel icon at the right end of the line
    MEN_RowFn draw = nullptr;         // more in the line: a value, a mark, a record
    void (*detail)() = nullptr;       // beside the list while the row is the cursor row
    void (*beforeOpen)() = nullptr;   // done on OK before the target opens
};

// What a menu screen remembers between its visits.
struct MEN_Memory {
    uint8_t top = 0;
    uint8_t cursor = 0;
    uint8_t hint = FUS_HINT_SELECT;
};

// How reason 4 brings the saved position back: only when its rows are both still shown (else
// the first row), or through MEN_SetPosition, which re-positions around a hidden row.
enum class MEN_Restore : uint8_t { WhenShown, Reposition };

struct MEN_Screen {
    StateHandler self;                       // redrawn in place every 5 s
    std::span<const MEN_Row> rows;           // at most MEN_MAX_ITEMS
    MEN_Memory* memory;                      // its own, reset at every panel start
    TextId title = TXT_NONE;                 // left in the header, with the separator
    void (*header)() = nullptr;              // draws the header instead of the title
    MEN_Geometry geometry = MEN_STANDARD;    // MEN_BESIDE_DETAIL for rows with details
    StateHandler back = nullptr;             // Back (common ancestor the menu monitor)
    uint32_t backReason = PAR_BACK;          // null back: Back goes on to the parent
    bool (*rowShown)(uint8_t row) = nullptr; // visibility by row, for lists of records
    MEN_Restore restore = MEN_Restore::WhenShown;
};

bool MEN_Handle(const MEN_Screen& m, Hsm& me, const Event& e);

// The pieces of MEN_Handle, for the screens that differ in a case.
void MEN_ScreenEntry(const MEN_Screen& m);
void MEN_ScreenPosition(const MEN_Screen& m, uint32_t reason);
// Clears the display, draws header, visibility, list and the remembered hint, refreshes.
void MEN_ScreenDraw(const MEN_Screen& m);
void MEN_ApplyVisibility(const MEN_Screen& m);
void MEN_SavePosition(const MEN_Screen& m);
void MEN_RestorePosition(const MEN_Screen& m); // MEN_SetPosition with the saved position
const MEN_Row& MEN_CursorRow(const MEN_Screen& m);
void MEN_OpenCursorRow(const MEN_Screen& m, Hsm& me);
void MEN_ResetMemory(MEN_Memory& memory);
