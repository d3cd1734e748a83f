#include "screens/bra.h"

#include "display/lcd.h"
#include "gfx/gfx.h"
#include "kernel/evt.h"
#include "screens/bga.h"
#include "screens/bha.h"
#include "spine/ui_spine.h"
#include "widgets/screen.h"

namespace {

constexpr GFX_Rect ANIMATION_AREA{82, 42, 156, 116};
constexpr int16_t CENTRE_X = 119, CENTRE_Y = 79, RADIUS = 30;
constexpr uint8_t PEN = 7;
constexpr int16_t QUARTER = 90, HALF = 180;
constexpr uint16_t STEP = 2;        // degrees a frame: 10 degrees a second
constexpr uint32_t FRAME_TICKS = 2; // 200 ms

// Kept over re-initialisations, so the figure turns on steadily through the 5-second redraws.
uint16_t angle = 0;

void drawFrame()
{
    const uint8_t pen = GFX_SetPenSize(PEN);
    GFX_ClearRect(ANIMATION_AREA);
    const int16_t a = static_cast<int16_t>(angle);
    GFX_DrawArc(CENTRE_X, CENTRE_Y, RADIUS, RADIUS, a, static_cast<int16_t>(a + QUARTER));
    GFX_DrawArc(CENTRE_X, CENTRE_Y, RADIUS, RADIUS, static_cast<int16_t>(a + HALF),
                static_cast<int16_t>(a + HALF + QUARTER));
    angle = static_cast<uint16_t>(angle + STEP);
    if (angle > HALF) angle = static_cast<uint16_t>(angle - HALF);
    GFX_SetPenSize(pen);
    EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, FRAME_TICKS);
}

void wakeUp() { BMM_SetRestart3UhrAllowed(0); }

StateHandler ruheAnimation(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        GFX_Clear();
        drawFrame();
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(UI_TIMER_WAIT); return nullptr;
    case SIG_WAIT_TIMEOUT:
        drawFrame();
        lcd_refreshRect(ANIMATION_AREA);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_UP:
    case SIG_KEY_LEFT:
    case SIG_KEY_DOWN:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case SIG_KEY_MENU:
        wakeUp();
        UI_Back(me, &BGA_Grundanzeige, PAR_NAVIGATE);
        return nullptr;
    case SIG_HELP_REQUEST:
        wakeUp();
        UI_OpenHelp(me, HLP_KURZANLEITUNG);
        // Leaving the instructions goes to the basic display, not back to the animation.
        EVT_Send(&me, SIG_SET_RETURN_STATE, HSM_StateToPar(&BGA_Grundanzeige));
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL_PRESET);
        return nullptr;
    case SIG_TICK_5S: UI_Redraw(me, &BRA_RuheAnimation, PAR_NAVIGATE); return nullptr;
    }
    return &BGA_Grundanzeige;
}

} // namespace

HSM_STATE(BRA_RuheAnimation, ruheAnimation);

void BRA_SetAngle(uint16_t a) { angle = a > HALF ? 0 : a; }
uint16_t BRA_GetAngle() { return angle; }
