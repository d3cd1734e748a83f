// The menu screen shell: what every menu screen does the same way, from its table of rows.
#include "display/lcd.h"
#include "kernel/evt.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

constexpr int16_t DIVIDER_X = 160, DIVIDER_Y0 = 29, DIVIDER_Y1 = 130;

// The menu list is one instance; so is the screen whose rows it shows.
const MEN_Screen* shown = nullptr;

void drawRow(uint8_t index, const GFX_Rect& r)
{
    if (shown == nullptr || index >= shown->rows.size()) return;
    const MEN_Row& row = shown->rows[index];
    if (row.icon != nullptr)
        MEN_DrawTextIconItem(row.text, *row.icon, r);
    else if (row.text != TXT_NONE)
        GFX_TextInRect(TXT_Get(row.text), r, GFX_ALIGN_LEFT_CENTER);
    if (row.draw != nullptr) row.draw(index, r);
    if (row.detail == nullptr || index != MEN_GetCursor()) return;
    GFX_ClearRect(MEN_DETAIL_AREA);
    GFX_DrawVLine(DIVIDER_X, DIVIDER_Y0, DIVIDER_Y1);
    row.detail();
}

bool rowVisible(const MEN_Screen& m, uint8_t i)
{
    if (m.rowShown != nullptr) return m.rowShown(i);
    return m.rows[i].shown == nullptr || m.rows[i].shown();
}

void startAtFirst()
{
    MEN_SetTop(MEN_FirstVisible());
    MEN_SetCursor(MEN_FirstVisible());
}

void drawHeader(const MEN_Screen& m)
{
    if (m.header != nullptr) {
        m.header();
        return;
    }
    KOP_DrawLeft(m.title);
    KOP_DrawLine();
}

} // namespace

void MEN_ApplyVisibility(const MEN_Screen& m)
{
    for (uint8_t i = 0; i < m.rows.size(); ++i)
        MEN_SetItemVisible(i, rowVisible(m, i));
}

void MEN_ScreenEntry(const MEN_Screen& m)
{
    shown = &m;
    const uint8_t count =
        m.rows.size() < MEN_MAX_ITEMS ? static_cast<uint8_t>(m.rows.size()) : MEN_MAX_ITEMS;
    for (uint8_t i = 0; i < count; ++i)
        MEN_SetRow(i, drawRow);
    MEN_SetCount(count);
    MEN_ApplyVisibility(m);
    const MEN_Geometry& g = m.geometry;
    MEN_Init(g.left, g.right, g.top, g.height, g.gap, g.lines);
}

void MEN_ScreenPosition(const MEN_Screen& m, uint32_t reason)
{
    if (reason == PAR_NAVIGATE) {
        startAtFirst();
    } else if (reason == PAR_BACK) {
        if (m.restore == MEN_Restore::Reposition ||
            (MEN_IsVisible(m.memory->top) && MEN_IsVisible(m.memory->cursor)))
            MEN_RestorePosition(m);
        else
            startAtFirst();
    } else {
        return; // any other reason keeps position and hint
    }
    m.memory->hint = FUS_HINT_SELECT;
}

void MEN_ScreenDraw(const MEN_Screen& m)
{
    GFX_Clear();
    drawHeader(m);
    MEN_ApplyVisibility(m);
    MEN_Draw();
    FUS_DrawHint(m.memory->hint);
    lcd_refresh();
}

void MEN_SavePosition(const MEN_Screen& m)
{
    m.memory->top = MEN_GetTop();
    m.memory->cursor = MEN_GetCursor();
}

void MEN_RestorePosition(const MEN_Screen& m) { MEN_SetPosition(m.memory->top, m.memory->cursor); }

const MEN_Row& MEN_CursorRow(const MEN_Screen& m)
{
    const uint8_t cursor = MEN_GetCursor();
    return m.rows[cursor < m.rows.size() ? cursor : 0];
}

void MEN_OpenCursorRow(const MEN_Screen& m, Hsm& me)
{
    // A menu whose rows are all hidden has nothing under its cursor to open.
    if (!MEN_IsVisible(MEN_GetCursor())) return;
    const MEN_Row& row = MEN_CursorRow(m);
    if (row.beforeOpen != nullptr) row.beforeOpen();
    UI_Open(me, row.target, row.reason);
}

void MEN_ResetMemory(MEN_Memory& memory) { memory = MEN_Memory{}; }

bool MEN_Handle(const MEN_Screen& m, Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: MEN_ScreenEntry(m); return true;
    case SIG_INIT:
        MEN_ScreenPosition(m, e.par);
        MEN_ScreenDraw(m);
        return true;
    case SIG_EXIT:
        MEN_SavePosition(m);
        UI_ScreenExit();
        return true;
    case SIG_KEY_UP: m.memory->hint = MEN_MoveWithHint(MenuMove::Up); return true;
    case SIG_KEY_DOWN: m.memory->hint = MEN_MoveWithHint(MenuMove::Down); return true;
    case SIG_KEY_OK: MEN_OpenCursorRow(m, me); return true;
    case SIG_KEY_BACK:
        if (m.back == nullptr) return false;
        UI_Back(me, m.back, m.backReason);
        return true;
    case UI_SCREEN_TIMEOUT: m.memory->hint = MEN_SelectHintAgain(); return true;
    case SIG_TICK_5S: UI_Redraw(me, m.self); return true;
    case SIG_HELP_REQUEST: UI_OpenHelp(me, MEN_CursorRow(m).help); return true;
    }
    return false;
}
