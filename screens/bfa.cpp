#include "screens/bfa.h"

#include "data/datapool.h"
#include "display/fonts.h"
#include "display/lcd.h"
#include "gfx/gfx.h"
#include "kernel/evt.h"
#include "spine/ui_spine.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/status_texts.h"

namespace {

constexpr uint32_t SHOW_TICKS = 20; // 2 s
constexpr GFX_Rect NAME_AREA{1, 28, 238, 131};

StateHandler returnState = nullptr;

void draw()
{
    GFX_Clear();
    KOP_DrawCircuitHeading(TXT_HEIZKREISWAHL);
    KOP_DrawLine();
    const GFX_Font* font = FNT_SetLarge();
    GFX_TextInRect(TXT_Get(TXT_CircuitName()), NAME_AREA, GFX_ALIGN_CENTER);
    GFX_SetFont(font);
    FUS_DrawHint(FUS_HINT_CHOSEN);
    UI_StartScreenTimer(SHOW_TICKS);
    lcd_refresh();
}

// Shown again for the new circuit; the return state stays.
void choose(Hsm& me, void (*step)())
{
    step();
    UI_Continue(me, &BFA_Feedbackanzeige, PAR_PLAIN);
}

StateHandler feedbackanzeige(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        if (e.par == PAR_NAVIGATE) returnState = BMM_LastMenuChild();
        draw();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_LEFT: choose(me, DAT_PrevCircuit); return nullptr;
    case SIG_KEY_RIGHT: choose(me, DAT_NextCircuit); return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: UI_Back(me, returnState, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BFA_Feedbackanzeige, feedbackanzeige);

void BFA_Reset() { returnState = nullptr; }
