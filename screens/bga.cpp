#include "screens/bga.h"

#include <array>

#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "pictures.h"
#include "screens/bee.h"
#include "screens/bha.h"
#include "screens/bma.h"
#include "screens/bra.h"
#include "screens/bsd.h"
#include "screens/bww.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

constexpr uint16_t IDLE_TICKS = 3000; // 5 minutes without a key

// Right of the divider, so that the flame's clearing leaves the divider whole.
constexpr GFX_Rect FLAME_AREA{161, 100, 239, 131};
constexpr int16_t PICTURE_X = 176, PICTURE_Y = 57;
constexpr int16_t FLAME_X = 185, FLAME_Y = 104;

bool locked() { return BMM_LockLevel1(); }
bool faultShown() { return DAT_GetFaultPresent(); }
bool maintenanceShown() { return DAT_MaintenanceFlagged(); }
bool openShown() { return !locked(); }
bool dhwShown()
{
    return (DAT_GetDhwPresent() || DAT_GetFlag(DatFlag::DhwConfigured)) && !locked();
}
bool solarShown() { return DAT_GetSolarPresent() && !locked(); }

// The picture of the cursor row beside the list, and for some rows the flame below it while the
// burner runs.
void picture(const GFX_Bitmap& bitmap) { GFX_DrawBitmap(bitmap, PICTURE_X, PICTURE_Y); }
void pictureWithFlame(const GFX_Bitmap& bitmap)
{
    picture(bitmap);
    GFX_ClearRect(FLAME_AREA);
    if (DAT_BurnerOn()) GFX_DrawBitmap(PIC_Flame, FLAME_X, FLAME_Y);
}

// The basic display menu; OK does nothing on a row whose screen the panel does not have.
constexpr std::array<MEN_Row, 8> ROWS{{
    {.text = TXT_STOERUNG,
     .target = &BSD_Stoerungsdialog,
     .help = HLP_BGA_STOERUNG,
     .shown = faultShown,
     .detail = [] { picture(PIC_ItemStoerung); }},
    {.text = TXT_WARTUNG,
     .target = nullptr /* BWD_WartungsDialog */,
     .help = HLP_BGA_WARTUNG,
     .shown = maintenanceShown,
     .detail = [] { picture(PIC_ItemWartung); }},
    {.text = TXT_HEIZUNG,
     .target = &BEE_Endbenutzermenue,
     .help = HLP_BGA_HEIZUNG,
     .shown = openShown,
     .detail = [] { pictureWithFlame(PIC_ItemHeizung); },
     .beforeOpen = [] { DAT_SelectCircuit(DAT_FirstCircuit()); }},
    {.text = TXT_WARMWASSER,
     .target = &BWW_Warmwasser,
     .help = HLP_BGA_WARMWASSER,
     .shown = dhwShown,
     .detail = [] { pictureWithFlame(PIC_ItemWarmwasser); }},
    {.text = TXT_SOLARENERGIE,
     .target = nullptr /* BSE_Solarenergie */,
     .help = HLP_BGA_SOLARENERGIE,
     .shown = solarShown,
     .detail = [] { picture(PIC_ItemSolar); }},
    {.text = TXT_INFORMATION,
     .target = nullptr /* BIM_InformationMenue */,
     .help = HLP_BGA_INFORMATION,
     .shown = openShown,
     .detail = [] { picture(PIC_ItemInformation); }},
    {.text = TXT_PRUEFBETRIEB,
     .target = nullptr /* BAP_Abgaspruefung */,
     .help = HLP_BGA_PRUEFBETRIEB,
     .detail = [] { pictureWithFlame(PIC_ItemPruefbetrieb); }},
    // The quick instructions, also in the locked menu.
    {.text = TXT_HILFE,
     .target = &BHA_Hilfeanzeige,
     .reason = HLP_KURZANLEITUNG,
     .help = HLP_KURZANLEITUNG,
     .detail = [] { picture(PIC_ItemHilfe); }},
}};

struct Condition {
    bool (*holds)();
    bool evenWhenIdle;
    StateHandler target; // null: the panel has no such screen, the next condition decides
    uint32_t par;
};

// What the basic display shows instead of its menu, in order of precedence.
constexpr std::array<Condition, 10> MESSAGES{{
    {[] { return DAT_GetFlag(DatFlag::CommissioningRequired); }, false,
     nullptr /* BIA_InbetriebnahmeAssistent */, PAR_ASSISTANT},
    {[] { return DAT_GetFaultPending() != 0; }, true, &BMA_Stoerung, 0},
    {[] { return DAT_GetFlag(DatFlag::BurnerLockedOut); }, true, &BMA_Feuerungsautomat, 0},
    {[] { return DAT_GetFlag(DatFlag::CalibrationActive); }, false, &BMA_KalibrationAktiv, 0},
    {[] { return DAT_GetFlag(DatFlag::ParametrisationActive); }, false, &BMA_ParametrierungFaAktiv,
     0},
    {[] { return DAT_GetFlag(DatFlag::FillingActive); }, false, &BMA_BefuellungAktiv, 0},
    {[] { return DAT_GetFlag(DatFlag::VentingActive); }, false, &BMA_EntlueftungAktiv, 0},
    {[] { return DAT_GetFlag(DatFlag::FlueGasTestActive); }, false, nullptr /* BAP_Abgaspruefung */,
     0},
    {[] { return DAT_GetFlag(DatFlag::ClockMustBeSet); }, false, &BMA_UhrzeitStellen,
     PAR_CLOCK_MESSAGE},
    {[] { return DAT_GetMaintenancePending() != 0; }, true, &BMA_Wartung, 0},
}};

// The basic display decides again; keys pressed meanwhile reach the screen it decides on when
// that is the one shown before.
void redispatch(Hsm& me) { UI_Redraw(me, &BGA_Grundanzeige, &BGA_Grundanzeige, PAR_REDRAW); }

void dispatch(Hsm& me, uint32_t par)
{
    const bool idle = BMM_Restart3UhrAllowed() == 1;
    for (const Condition& c : MESSAGES) {
        if (c.target == nullptr || (idle && !c.evenWhenIdle) || !c.holds()) continue;
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL_PRESET);
        HSM_Start(me, c.target, c.par);
        return;
    }
    if (idle) {
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_NORMAL_PRESET);
        HSM_Start(me, &BRA_RuheAnimation, PAR_PLAIN);
        return;
    }
    EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL_PRESET);
    HSM_Start(me, locked() ? &BGA_GrundanzeigeMenueGesperrt : &BGA_GrundanzeigeMenue, par);
}

StateHandler grundanzeige(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        EVT_Post(PRIO_TIMER, SIG_TMR_IDLE, IDLE_TICKS);
        DIS_Request(DIS_MSG_BOILER);
        return nullptr;
    case SIG_INIT: dispatch(me, e.par); return nullptr;
    case SIG_EXIT:
        EVT_Post(PRIO_TIMER, UI_SCREEN_TIMER, 0);
        UI_StopTimers(UI_TIMER_IDLE);
        return nullptr;
    case SIG_MENU_TIMEOUT: return nullptr;
    case SIG_SERVICE_END: BMM_SetServiceMode(false); return nullptr;
    case SIG_DATA_CHANGED: redispatch(me); return nullptr;
    }
    return &BMM_Menuemonitor;
}

// --- the menu and its locked variant --------------------------------------------------------

void drawHeader()
{
    char temperature[24];
    FMT_Temperature(temperature, sizeof temperature, DAT_ToDisplayTemp(DAT_GetBoilerTemp()),
                    !DAT_BoilerTempValid());
    KOP_DrawLeft(TXT_KESSELTEMPERATUR);
    KOP_DrawRight(temperature);
    KOP_DrawLine();
}

// Both variants show the same rows at the same remembered position.
MEN_Memory memory;
constexpr MEN_Screen MENU{.self = &BGA_GrundanzeigeMenue,
                          .rows = ROWS,
                          .memory = &memory,
                          .header = drawHeader,
                          .geometry = MEN_BESIDE_DETAIL};
constexpr MEN_Screen LOCKED_MENU{.self = &BGA_GrundanzeigeMenueGesperrt,
                                 .rows = ROWS,
                                 .memory = &memory,
                                 .header = drawHeader,
                                 .geometry = MEN_BESIDE_DETAIL};

// 4 and 5 come back to the remembered position; only 5 (a re-dispatch) keeps the hint.
void menuInit(const MEN_Screen& m, uint32_t par)
{
    if (par == PAR_BACK || par == PAR_REDRAW) MEN_RestorePosition(m);
    if (par != PAR_REDRAW) memory.hint = FUS_HINT_SELECT;
    MEN_ScreenDraw(m);
}

void goIdle(Hsm& me)
{
    BMM_SetRestart3UhrAllowed(1);
    redispatch(me);
}

// What both variants do unlike other menus: the init above, an exit that only drops the keys
// (the basic display stops the timer) and a 5-second re-dispatch instead of a redraw.
bool menuSignal(const MEN_Screen& m, Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_INIT: menuInit(m, e.par); return true;
    case SIG_EXIT:
        MEN_SavePosition(m);
        UI_FlushKeys();
        return true;
    case SIG_TICK_5S: redispatch(me); return true;
    }
    return MEN_Handle(m, me, e);
}

StateHandler grundanzeigeMenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_ANY:
        // Seen by the contrast state as well: it restarts the menu time-out.
        EVT_Post(PRIO_TIMER, SIG_TMR_IDLE, IDLE_TICKS);
        return &BGA_Grundanzeige;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT: return nullptr;
    case SIG_IDLE_TIMEOUT:
        if (BMM_ServiceMode())
            UI_Back(me, &BGA_Grundanzeige, PAR_REDRAW);
        else
            goIdle(me);
        return nullptr;
    }
    return menuSignal(MENU, me, e) ? nullptr : &BGA_Grundanzeige;
}

// Keys do not restart the idle timer here: the idle animation follows five minutes after the
// locked menu was entered, even while the user scrolls.
StateHandler grundanzeigeMenueGesperrt(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT: UI_Open(me, &BMA_BedienungGesperrt, PAR_PLAIN); return nullptr;
    case SIG_IDLE_TIMEOUT: goIdle(me); return nullptr;
    }
    return menuSignal(LOCKED_MENU, me, e) ? nullptr : &BGA_Grundanzeige;
}

} // namespace

HSM_STATE(BGA_Grundanzeige, grundanzeige);
HSM_STATE(BGA_GrundanzeigeMenue, grundanzeigeMenue);
HSM_STATE(BGA_GrundanzeigeMenueGesperrt, grundanzeigeMenueGesperrt);

StateHandler BGA_GetMenuState()
{
    return memory.cursor != 0 ? &BGA_GrundanzeigeMenue : &BGA_Grundanzeige;
}

void BGA_Reset() { MEN_ResetMemory(memory); }
