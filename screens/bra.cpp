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
uint16_t angle = 0; // of the next frame
// The angle of the figure in display memory; NOT_SHOWN when it holds something else.
constexpr int16_t NOT_SHOWN = -1;
int16_t shown = NOT_SHOWN;

void drawArc(int16_t start)
{
    GFX_DrawArc(CENTRE_X, CENTRE_Y, RADIUS, RADIUS, start, static_cast<int16_t>(start + QUARTER));
}

void nextAngle()
{
    shown = static_cast<int16_t>(angle);
    angle = static_cast<uint16_t>(angle + STEP);
    if (angle > HALF) angle = static_cast<uint16_t>(angle - HALF);
    EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, FRAME_TICKS);
}

void drawFrame()
{
    const uint8_t pen = GFX_SetPenSize(PEN);
    GFX_ClearRect(ANIMATION_AREA);
    const int16_t a = static_cast<int16_t>(angle);
    drawArc(a);
    drawArc(static_cast<int16_t>(a + HALF));
    GFX_SetPenSize(pen);
    nextAngle();
}

// The next frame over the one in display memory. Turning by a step changes the figure only
// around the four ends of its arcs, far apart: each end's sector is cleared, its arc drawn
// again inside it, and only the sectors are refreshed. Display memory ends up as if the field
// were cleared and both arcs drawn, for a fraction of the work, five times a second for as long
// as the panel is idle.
void turnFrame()
{
    if (shown == NOT_SHOWN || (shown + STEP) % HALF != angle % HALF) {
        drawFrame(); // the angle was set, or the field holds something else
        lcd_refreshRect(ANIMATION_AREA);
        return;
    }
    const uint8_t pen = GFX_SetPenSize(PEN);
    const int16_t to = static_cast<int16_t>(shown + STEP); // the figure of `angle`
    for (int16_t end = 0; end < 2 * HALF; end = static_cast<int16_t>(end + QUARTER)) {
        const GFX_Rect sector =
            GFX_ArcBounds(CENTRE_X, CENTRE_Y, RADIUS, RADIUS, static_cast<int16_t>(shown + end),
                          static_cast<int16_t>(to + end));
        GFX_SetClipRect(sector);
        GFX_ClearRect(sector);
        drawArc(static_cast<int16_t>(end < HALF ? to : to + HALF)); // the arc this end ends
        GFX_ResetClipRect();
        lcd_refreshRect(sector);
    }
    GFX_SetPenSize(pen);
    nextAngle();
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
    case SIG_EXIT:
        shown = NOT_SHOWN;
        UI_ScreenExit(UI_TIMER_WAIT);
        return nullptr;
    case SIG_WAIT_TIMEOUT: turnFrame(); return nullptr;
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

void BRA_SetAngle(uint16_t a)
{
    angle = a > HALF ? 0 : a;
    shown = NOT_SHOWN; // the next frame is drawn whole
}
uint16_t BRA_GetAngle() { return angle; }
