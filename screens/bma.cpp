#include "screens/bma.h"

#include <array>

#include "data/datapool.h"
#include "display/fonts.h"
#include "display/lcd.h"
#include "gfx/gfx.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "pictures.h"
#include "screens/bga.h"
#include "screens/bgm.h"
#include "screens/bha.h"
#include "screens/bsd.h"
#include "spine/ui_spine.h"
#include "widgets/fus.h"
#include "widgets/screen.h"

namespace {

constexpr GFX_Rect NOTICE_AREA{0, 0, 239, 131};
constexpr GFX_Rect TITLE_RECT{0, 22, 239, 45};
constexpr int16_t PICTURE_X = 90, PICTURE_Y = 55;
constexpr uint32_t PICTURE_ON_TICKS = 8;  // 800 ms
constexpr uint32_t PICTURE_OFF_TICKS = 4; // 400 ms
constexpr uint32_t LOCKED_NOTICE_TICKS = 40;
constexpr HelpCode NO_HELP = 0;
constexpr StateHandler CLOCK_DIALOG = nullptr; // BUD_UhrzeitDialog, not in the panel

// Any way out of a message ends the idle state of the basic display. A null target, a screen
// the panel does not have, opens nothing.
void open(Hsm& me, StateHandler target)
{
    if (target == nullptr) return;
    BMM_SetRestart3UhrAllowed(0);
    UI_Open(me, target);
}

// The basic display decides again which message applies.
void redispatch(Hsm& me) { UI_Back(me, &BGA_Grundanzeige, PAR_NAVIGATE); }

void openFaultDialog(Hsm& me) { open(me, &BSD_Stoerungsdialog); }
void openMaintenanceDialog(Hsm& me) { open(me, nullptr /* BWD_WartungsDialog */); }
void openMainMenu(Hsm& me) { open(me, &BGM_Grundmenue); }
// The clock dialog opens inside the menu monitor, so that it returns to the basic display
// rather than to this notice.
void openClockDialog(Hsm& me)
{
    if (CLOCK_DIALOG == nullptr) return;
    BMM_SetRestart3UhrAllowed(0);
    UI_Continue(me, CLOCK_DIALOG, PAR_CLOCK_MESSAGE);
}

// The controller ends the procedure; the panel's flag goes at once, so the basic display does
// not show the notice again before the next status transfer.
void endProcedure(Hsm& me, uint8_t function)
{
    BMM_SetRestart3UhrAllowed(0);
    DIS_SendTestFunction(function, false);
    redispatch(me);
}
void endFilling(Hsm& me) { endProcedure(me, FN_FILLING); }
void endVenting(Hsm& me) { endProcedure(me, FN_VENTING); }

void help(Hsm& me, HelpCode code)
{
    BMM_SetRestart3UhrAllowed(0);
    if (code != NO_HELP) UI_OpenHelp(me, code);
}

void drawNotice(TextId text, bool large, uint8_t hint)
{
    GFX_Clear();
    const GFX_Font* font = large ? FNT_SetLarge() : FNT_SetNormal();
    GFX_TextInRectWrap(TXT_Get(text), NOTICE_AREA, GFX_ALIGN_CENTER, GFX_WRAP_WORDS);
    GFX_SetFont(font);
    FUS_DrawHint(hint);
}

// --- the blinking fault and maintenance notices ----------------------------------------------

struct Blinking {
    TextId title;
    const GFX_Bitmap* picture;
    void (*ok)(Hsm&);
    HelpCode help;
};
constexpr std::array<Blinking, 2> BLINKING{{
    {TXT_STOERUNG, &PIC_Fault, openFaultDialog, HLP_BMA_STOERUNG},
    {TXT_WARTUNG, &PIC_Maintenance, openMaintenanceDialog, HLP_BMA_WARTUNG},
}};
constexpr size_t FAULT = 0, MAINTENANCE = 1;

uint8_t blinkPhase = 0;
bool fiveSeconds = false;

// The picture shows for 0.8 s and hides for 0.4 s.
void drawBlinking(const Blinking& b)
{
    GFX_Clear();
    GFX_TextInRect(TXT_Get(b.title), TITLE_RECT, GFX_ALIGN_CENTER);
    if (blinkPhase == 1) {
        blinkPhase = 0;
        EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, PICTURE_OFF_TICKS);
    } else {
        blinkPhase = 1;
        GFX_DrawBitmap(*b.picture, PICTURE_X, PICTURE_Y);
        EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, PICTURE_ON_TICKS);
    }
    FUS_DrawHint(FUS_HINT_CONTINUE_OK);
}

template <size_t I> StateHandler blinking(Hsm& me, const Event& e)
{
    const Blinking& b = BLINKING[I];
    switch (e.sig) {
    case SIG_ENTRY:
        EVT_Post(PRIO_TIMER, UI_SCREEN_TIMER, 0);
        blinkPhase = 0;
        fiveSeconds = false;
        return nullptr;
    case SIG_INIT:
        drawBlinking(b);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT:
        // Both notices stop their blink timer, so that it cannot expire in the next screen.
        UI_ScreenExit(UI_TIMER_WAIT);
        return nullptr;
    case SIG_WAIT_TIMEOUT:
        drawBlinking(b);
        // Re-evaluated at the first "on" after each 5-second tick.
        if (blinkPhase == 1 && fiveSeconds)
            redispatch(me);
        else
            lcd_refresh();
        return nullptr;
    case SIG_TICK_5S: fiveSeconds = true; return nullptr;
    case SIG_KEY_OK: b.ok(me); return nullptr;
    case SIG_KEY_MENU: openMainMenu(me); return nullptr;
    case SIG_HELP_REQUEST: help(me, b.help); return nullptr;
    }
    return &BGA_Grundanzeige;
}

// --- the notices in one text --------------------------------------------------------------

struct Notice {
    TextId text;
    bool large;
    uint8_t hint;
    void (*ok)(Hsm&); // null: OK goes on to the parent
    bool mainMenu;    // the Menu key opens the main menu; otherwise it goes on to the parent
    HelpCode help;
};
constexpr std::array<Notice, 6> NOTICES{{
    {TXT_FEUERUNGSAUTOMAT_VERRIEGELT, true, FUS_HINT_UNLOCK_RESET, openFaultDialog, true,
     HLP_BMA_FEUERUNGSAUTOMAT},
    {TXT_KALIBRATION_AKTIV, true, FUS_HINT_WAIT, nullptr, false, HLP_BMA_KALIBRATION},
    {TXT_PARAMETR_FEUERUNGSAUT_AKTIV, false, FUS_HINT_WAIT, nullptr, false, HLP_BMA_PARAMETRIERUNG},
    {TXT_BEFUELLUNG, true, FUS_HINT_END_OK, endFilling, true, HLP_ALLGEMEIN},
    {TXT_ENTLUEFTUNG, true, FUS_HINT_END_OK, endVenting, true, HLP_ALLGEMEIN},
    {TXT_UHRZEIT_UND_DATUM_EINSTELLEN, true, FUS_HINT_CONTINUE_OK, openClockDialog, true, NO_HELP},
}};
constexpr size_t LOCK_OUT = 0, CALIBRATION = 1, PARAMETRISATION = 2, FILLING = 3, VENTING = 4,
                 CLOCK = 5;

template <size_t I> StateHandler notice(Hsm& me, const Event& e)
{
    const Notice& n = NOTICES[I];
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        drawNotice(n.text, n.large, n.hint);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_OK:
        if (n.ok == nullptr) break;
        n.ok(me);
        return nullptr;
    case SIG_KEY_MENU:
        if (!n.mainMenu) break;
        openMainMenu(me);
        return nullptr;
    case SIG_TICK_5S: redispatch(me); return nullptr;
    case SIG_HELP_REQUEST: help(me, n.help); return nullptr;
    }
    return &BGA_Grundanzeige;
}

// --- operation locked ------------------------------------------------------------------------

StateHandler lockedReturn = nullptr;

StateHandler bedienungGesperrt(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        lockedReturn = BMM_LastMenuChild();
        HSM_Start(me, &BMA_BedienungGesperrtAnzeige);
        return nullptr;
    }
    return &BMM_Menuemonitor;
}

StateHandler bedienungGesperrtAnzeige(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: UI_StartScreenTimer(LOCKED_NOTICE_TICKS); return nullptr;
    case SIG_INIT:
        drawNotice(TXT_BEDIENUNG_GESPERRT, true, FUS_HINT_BACK);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_UP:
    case SIG_KEY_LEFT:
    case SIG_KEY_DOWN:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case SIG_KEY_MENU:
    case UI_SCREEN_TIMEOUT: UI_Return(me, lockedReturn, PAR_REDRAW); return nullptr;
    }
    return &BMA_BedienungGesperrt;
}

} // namespace

HSM_STATE(BMA_Stoerung, blinking<FAULT>);
HSM_STATE(BMA_Wartung, blinking<MAINTENANCE>);
HSM_STATE(BMA_Feuerungsautomat, notice<LOCK_OUT>);
HSM_STATE(BMA_KalibrationAktiv, notice<CALIBRATION>);
HSM_STATE(BMA_ParametrierungFaAktiv, notice<PARAMETRISATION>);
HSM_STATE(BMA_BefuellungAktiv, notice<FILLING>);
HSM_STATE(BMA_EntlueftungAktiv, notice<VENTING>);
HSM_STATE(BMA_UhrzeitStellen, notice<CLOCK>);
HSM_STATE(BMA_BedienungGesperrt, bedienungGesperrt);
HSM_STATE(BMA_BedienungGesperrtAnzeige, bedienungGesperrtAnzeige);

void BMA_Reset()
{
    blinkPhase = 0;
    fiveSeconds = false;
    lockedReturn = nullptr;
}
