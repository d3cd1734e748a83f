#include "screens/bla.h"

#include "display/fonts.h"
#include "display/lcd.h"
#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/evt.h"
#include "screens/bga.h"
#include "screens/bhe.h"
#include "screens/bhq.h"
#include "spine/ui_spine.h"
#include "widgets/screen.h"

namespace {

constexpr GFX_Rect BAR{7, 29, 230, 52};
constexpr GFX_Rect TYPE_RECT{0, 81, 239, 104};
constexpr GFX_Rect VERSION_RECT{0, 107, 239, 130};
constexpr GFX_Rect INFO_AREA{0, 53, 239, 159};
// The software identification, the same in every language.
constexpr const char* VERSION = "Version: K417x065";
constexpr uint32_t BAR_STEP_TICKS = 10;    // 100 ms of 10 ms
constexpr uint32_t INFO_TICKS = 40;        // type and version stay 4 s
constexpr uint32_t TEST_WINDOW_TICKS = 30; // 3 s to start a test programme
constexpr uint32_t LINK_START_TICKS = 70;  // 7 s for the controller to answer
constexpr uint32_t UART_TEST_REQUEST = 5;

int16_t barPosition = BAR.x0;

void barStep()
{
    if (barPosition >= BAR.x1) {
        barPosition = BAR.x0;
        GFX_ClearRect(BAR);
    } else {
        GFX_DrawVLine(barPosition, BAR.y0, BAR.y1);
    }
    ++barPosition;
    GFX_DrawFrame(BAR);
    EVT_Post(PRIO_TIMER, SIG_TMR_PROGRESS, BAR_STEP_TICKS);
}

void showTypeAndVersion()
{
    GFX_TextInRect(TXT_Get(TXT_GERAETETYP), TYPE_RECT, GFX_ALIGN_CENTER);
    const GFX_Font* font = FNT_SetSmall();
    GFX_TextInRect(VERSION, VERSION_RECT, GFX_ALIGN_CENTER);
    GFX_SetFont(font);
    lcd_refreshRect(TYPE_RECT);
    lcd_refreshRect(VERSION_RECT);
    EVT_Post(PRIO_TIMER, SIG_TMR_ANIM, INFO_TICKS);
}

// The factory tests take over the whole user interface: the contrast state, the menu monitor
// and the screens are left.
void open(Hsm& me, StateHandler target, uint32_t par)
{
    HSM_Tran(me, &BSM_Systemmonitor, target, par);
}

StateHandler laufbalkenanzeige(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: barPosition = BAR.x0; return nullptr;
    case SIG_INIT:
        GFX_Clear();
        barStep();
        lcd_refresh();
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL_PRESET);
        HSM_Start(me, &BLA_PruefprogrammStart);
        return nullptr;
    case SIG_EXIT:
        // The bar's steps and the time the type and version stay end with the display.
        UI_ScreenExit(UI_TIMER_PROGRESS | UI_TIMER_ANIM);
        return nullptr;
    case SIG_PROGRESS_TICK:
        barStep();
        lcd_refreshRect(BAR);
        return nullptr;
    case SIG_KEY_HELP: showTypeAndVersion(); return nullptr;
    case SIG_ANIM_TIMEOUT:
        GFX_ClearRect(INFO_AREA);
        lcd_refreshRect(INFO_AREA);
        return nullptr;
    // A key during the bar starts the menu time-out; the menu monitor is not there yet to go
    // home from, and the bar ends by itself.
    case SIG_MENU_TIMEOUT: return nullptr;
    }
    return &BKE_Kontrasteinstellung;
}

StateHandler pruefprogrammStart(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: UI_StartScreenTimer(TEST_WINDOW_TICKS); return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_KEY_MENU_DOWN: open(me, &BHE_HerstellerEndkontrolle, PAR_NAVIGATE); return nullptr;
    case SIG_UART_RX:
        if (e.par == UART_TEST_REQUEST) open(me, &BHQ_HardwareQualityCheck, PAR_PLAIN);
        return nullptr;
    case UI_SCREEN_TIMEOUT:
        HSM_Tran(me, &BLA_Laufbalkenanzeige, &BLA_KommunikationStart);
        return nullptr;
    }
    return &BLA_Laufbalkenanzeige;
}

StateHandler kommunikationStart(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        EVT_Post(PRIO_LINK, SIG_LINK_START);
        UI_StartScreenTimer(LINK_START_TICKS);
        return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    // Without a controller the panel carries on all the same.
    case UI_SCREEN_TIMEOUT: EVT_Post(PRIO_UI, SIG_LINK_STARTED); return nullptr;
    case SIG_LINK_STARTED: UI_Open(me, &BGA_Grundanzeige); return nullptr;
    }
    return &BLA_Laufbalkenanzeige;
}

} // namespace

HSM_STATE(BLA_Laufbalkenanzeige, laufbalkenanzeige);
HSM_STATE(BLA_PruefprogrammStart, pruefprogrammStart);
HSM_STATE(BLA_KommunikationStart, kommunikationStart);
