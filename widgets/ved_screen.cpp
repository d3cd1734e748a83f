// The value editor screen shell: the editing dialog and its feedback from one descriptor.
#include "display/lcd.h"
#include "kernel/evt.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/ved.h"

namespace {

void editingKey(void (*step)())
{
    step();
    FUS_DrawHint(FUS_HINT_TAKE_OK);
    UI_StartScreenTimer(FUS_HINT_TICKS);
    lcd_refresh();
}

void toFamilyChild(const VED_Screen& s, Hsm& me, StateHandler child)
{
    if (s.container != nullptr && child != nullptr) HSM_Tran(me, s.container, child);
}

} // namespace

void VED_ScreenSetUp(const VED_Screen& s)
{
    const VED_Limits l = s.limits != nullptr ? s.limits() : VED_Limits{INT16_MIN, INT16_MAX, 1};
    VED_Init({s.get != nullptr ? s.get() : l.min, l.step, l.min, l.max}, s.format, s.field,
             &s.font());
}

void VED_ScreenDraw(const VED_Screen& s, bool editing, uint8_t hint)
{
    GFX_Clear();
    if (s.header != nullptr) {
        s.header();
    } else {
        KOP_DrawLeft(s.title);
        KOP_DrawLine();
    }
    VED_Draw(editing ? GFX_TEXT_REVERSE : GFX_TEXT_NORMAL);
    FUS_DrawHint(hint);
}

bool VED_HandleDialog(const VED_Screen& s, Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: EVT_Post(PRIO_KEYS, SIG_KEY_ACCEL, s.keyAccel); return true;
    case SIG_INIT:
        VED_ScreenDraw(s, true, s.restingHint);
        lcd_refresh();
        return true;
    case SIG_EXIT: UI_ScreenExit(); return true;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT: editingKey(VED_Inc); return true;
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT: editingKey(VED_Dec); return true;
    case SIG_KEY_OK:
        if (s.send != nullptr) s.send(VED_GetValue());
        toFamilyChild(s, me, s.feedback);
        return true;
    case UI_SCREEN_TIMEOUT:
        FUS_DrawHint(s.restingHint);
        FUS_Refresh();
        return true;
    case SIG_HELP_REQUEST:
        if (s.help == 0) return false;
        UI_OpenHelp(me, s.help);
        return true;
    }
    return false;
}

bool VED_HandleFeedback(const VED_Screen& s, Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return true;
    case SIG_INIT:
        VED_ScreenDraw(s, false, FUS_HINT_TAKEN);
        UI_StartScreenTimer(FUS_HINT_TICKS);
        lcd_refresh();
        return true;
    case SIG_EXIT: UI_ScreenExit(); return true;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT: toFamilyChild(s, me, s.dialog); return true;
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: EVT_Send(&me, SIG_KEY_BACK); return true;
    }
    return false;
}
