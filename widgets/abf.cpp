#include "widgets/abf.h"

#include "display/fonts.h"
#include "display/lcd.h"
#include "widgets/kop.h"
#include "widgets/screen.h"

namespace {

bool answerYes = false;

bool isArrow(Signal sig)
{
    return sig == SIG_KEY_UP || sig == SIG_KEY_DOWN || sig == SIG_KEY_LEFT || sig == SIG_KEY_RIGHT;
}

bool run(void (*action)(Hsm&), Hsm& me)
{
    if (action == nullptr) return false;
    action(me);
    return true;
}

void show(const ABF_Question& q, bool selected, uint8_t hint)
{
    ABF_DrawQuestion(q, selected);
    FUS_DrawHint(hint);
    lcd_refresh();
}

} // namespace

bool ABF_Yes() { return answerYes; }
void ABF_SetAnswer(bool yes) { answerYes = yes; }
void ABF_Reset() { answerYes = false; }

void ABF_DrawQuestion(const ABF_Question& q, bool selected)
{
    GFX_Clear();
    if (q.header != nullptr) {
        q.header();
    } else {
        KOP_DrawLeft(q.title);
        KOP_DrawLine();
    }
    GFX_TextInRect(TXT_Get(q.question), ABF_QUESTION_RECT, GFX_ALIGN_LEFT_CENTER);
    const GFX_Font* font = FNT_SetLarge();
    GFX_TextInRect(TXT_Get(answerYes ? TXT_JA : TXT_NEIN), q.answerRect, GFX_ALIGN_CENTER);
    GFX_SetFont(font);
    if (selected) GFX_InvertRect(q.answerRect);
}

bool ABF_HandleQuestion(const ABF_Question& q, Hsm& me, const Event& e)
{
    if (isArrow(e.sig)) {
        answerYes = !answerYes;
        ABF_DrawQuestion(q, true);
        FUS_DrawHint(q.toggledHint);
        UI_StartScreenTimer(FUS_HINT_TICKS);
        lcd_refresh();
        return true;
    }
    switch (e.sig) {
    case SIG_ENTRY: return true;
    case SIG_INIT:
        if (e.par == PAR_NAVIGATE) answerYes = false;
        show(q, true, FUS_HINT_SELECT);
        return true;
    case SIG_EXIT: UI_ScreenExit(); return true;
    case SIG_KEY_OK: return run(answerYes ? q.yes : q.no, me);
    case SIG_KEY_BACK: return run(q.back, me);
    case UI_SCREEN_TIMEOUT:
        FUS_DrawHint(FUS_HINT_SELECT);
        FUS_Refresh();
        return true;
    case SIG_HELP_REQUEST:
        if (q.help == 0) return false;
        UI_OpenHelp(me, q.help);
        return true;
    }
    return false;
}

void ABF_DrawStatement(TextId text, const GFX_Rect& area)
{
    const GFX_Font* font = FNT_SetLarge();
    GFX_TextInRectWrap(TXT_Get(text), area, GFX_ALIGN_CENTER, GFX_WRAP_WORDS);
    GFX_SetFont(font);
}

void ABF_DrawBoxedStatement(TextId text, const GFX_Rect& box)
{
    GFX_DrawFrame(box);
    ABF_DrawStatement(text, {static_cast<int16_t>(box.x0 + 1), static_cast<int16_t>(box.y0 + 1),
                             static_cast<int16_t>(box.x1 - 1), static_cast<int16_t>(box.y1 - 1)});
}

bool ABF_HandleFeedback(const ABF_Feedback& f, Hsm& me, const Event& e)
{
    if (isArrow(e.sig)) return run(f.again, me);
    switch (e.sig) {
    case SIG_ENTRY: return true;
    case SIG_INIT:
        if (f.draw != nullptr) f.draw();
        FUS_DrawHint(f.hint);
        UI_StartScreenTimer(f.ticks);
        lcd_refresh();
        return true;
    case SIG_EXIT: UI_ScreenExit(); return true;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: return run(f.done, me);
    }
    return false;
}
