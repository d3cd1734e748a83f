#include "screens/bga.h"

#include <array>
#include <utility>

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
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/men.h"

namespace {

constexpr uint16_t IDLE_TICKS = 3000; // 5 minutes without a key

// The list leaves x 159-239 to the picture of the selected item.
constexpr uint8_t LIST_RIGHT = 158;
constexpr GFX_Rect PICTURE_AREA{159, 28, 239, 131};
// Right of the divider, so that the flame's clearing leaves the divider whole.
constexpr GFX_Rect FLAME_AREA{161, 100, 239, 131};
constexpr int16_t PICTURE_X = 176, PICTURE_Y = 57;
constexpr int16_t FLAME_X = 185, FLAME_Y = 104;
constexpr int16_t DIVIDER_X = 160, DIVIDER_Y0 = 29, DIVIDER_Y1 = 130;

bool locked() { return BMM_LockLevel1(); }
bool always() { return true; }
bool faultShown() { return DAT_GetFaultPresent(); }
bool maintenanceShown() { return DAT_MaintenanceFlagged(); }
bool openShown() { return !locked(); }
bool dhwShown()
{
    return (DAT_GetDhwPresent() || DAT_GetFlag(DatFlag::DhwConfigured)) && !locked();
}
bool solarShown() { return DAT_GetSolarPresent() && !locked(); }

struct Item {
    TextId text;
    const GFX_Bitmap* picture;
    bool flame;          // the flame shows below the picture while the burner runs
    bool firstCircuit;   // OK first makes the first present heating circuit the current one
    StateHandler target; // null: a screen of a later stage, OK does nothing
    uint32_t par;
    HelpCode help;
    bool (*shown)();
};

// The basic display menu: text, picture, OK target and help code of each item.
constexpr std::array<Item, 8> ITEMS{{
    {TXT_STOERUNG, &PIC_ItemStoerung, false, false, &BSD_Stoerungsdialog, 3, HLP_BGA_STOERUNG,
     faultShown},
    {TXT_WARTUNG, &PIC_ItemWartung, false, false, nullptr /* BWD_WartungsDialog */, 3,
     HLP_BGA_WARTUNG, maintenanceShown},
    {TXT_HEIZUNG, &PIC_ItemHeizung, true, true, &BEE_Endbenutzermenue, 3, HLP_BGA_HEIZUNG,
     openShown},
    {TXT_WARMWASSER, &PIC_ItemWarmwasser, true, false, nullptr /* BWW_Warmwasser */, 3,
     HLP_BGA_WARMWASSER, dhwShown},
    {TXT_SOLARENERGIE, &PIC_ItemSolar, false, false, nullptr /* BSE_Solarenergie */, 3,
     HLP_BGA_SOLARENERGIE, solarShown},
    {TXT_INFORMATION, &PIC_ItemInformation, false, false, nullptr /* BIM_InformationMenue */, 3,
     HLP_BGA_INFORMATION, openShown},
    {TXT_PRUEFBETRIEB, &PIC_ItemPruefbetrieb, true, false, nullptr /* BAP_Abgaspruefung */, 3,
     HLP_BGA_PRUEFBETRIEB, always},
    // The quick instructions, also in the locked menu.
    {TXT_HILFE, &PIC_ItemHilfe, false, false, &BHA_Hilfeanzeige, HLP_KURZANLEITUNG,
     HLP_KURZANLEITUNG, always},
}};

void drawItem(uint8_t index, const GFX_Rect& r)
{
    const Item& item = ITEMS[index];
    GFX_TextInRect(TXT_Get(item.text), r, GFX_ALIGN_LEFT_CENTER);
    if (index != MEN_GetCursor()) return;
    GFX_ClearRect(PICTURE_AREA);
    GFX_DrawBitmap(*item.picture, PICTURE_X, PICTURE_Y);
    GFX_DrawVLine(DIVIDER_X, DIVIDER_Y0, DIVIDER_Y1);
    if (!item.flame) return;
    GFX_ClearRect(FLAME_AREA);
    if (DAT_BurnerOn()) GFX_DrawBitmap(PIC_Flame, FLAME_X, FLAME_Y);
}

template <size_t... I> constexpr auto drawFunctions(std::index_sequence<I...>)
{
    return std::array<MEN_DrawFn, sizeof...(I)>{
        [](const GFX_Rect& r) { drawItem(static_cast<uint8_t>(I), r); }...};
}
constexpr auto DRAW = drawFunctions(std::make_index_sequence<ITEMS.size()>());

struct Condition {
    bool (*holds)();
    bool evenWhenIdle;
    StateHandler target; // null: a screen of a later stage, the next condition decides
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

// Remembered over visits of the menu.
uint8_t savedTop = 0;
uint8_t savedCursor = 0;
uint8_t hint = FUS_HINT_SELECT;

// A re-dispatch that ends in the menu it left keeps the keys the user pressed meanwhile; only
// a change of screen drops them.
bool redispatching = false;
StateHandler flushDeferredBy = nullptr;

void redispatch(Hsm& me)
{
    redispatching = true;
    HSM_Tran(me, &BGA_Grundanzeige, &BGA_Grundanzeige, PAR_REDRAW);
    redispatching = false;
}

void enter(Hsm& me, StateHandler target, uint32_t par)
{
    if (flushDeferredBy != nullptr && flushDeferredBy != target) EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
    flushDeferredBy = nullptr;
    HSM_Start(me, target, par);
}

void dispatch(Hsm& me, uint32_t par)
{
    const bool idle = BMM_Restart3UhrAllowed() == 1;
    for (const Condition& c : MESSAGES) {
        if (c.target == nullptr || (idle && !c.evenWhenIdle) || !c.holds()) continue;
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL_PRESET);
        enter(me, c.target, c.par);
        return;
    }
    if (idle) {
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_NORMAL_PRESET);
        enter(me, &BRA_RuheAnimation, PAR_PLAIN);
        return;
    }
    EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL_PRESET);
    enter(me, locked() ? &BGA_GrundanzeigeMenueGesperrt : &BGA_GrundanzeigeMenue, par);
}

StateHandler grundanzeige(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        EVT_Post(PRIO_TIMER, SIG_TMR_IDLE, IDLE_TICKS);
        DIS_Request(DIS_MSG_BOILER);
        return nullptr;
    case SIG_INIT: dispatch(me, e.par); return nullptr;
    case SIG_EXIT: EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, 0); return nullptr;
    case SIG_MENU_TIMEOUT: return nullptr;
    case SIG_SERVICE_END: BMM_SetServiceMode(false); return nullptr;
    case SIG_DATA_CHANGED: redispatch(me); return nullptr;
    }
    return &BMM_Menuemonitor;
}

// --- the menu and its locked variant --------------------------------------------------------

void applyVisibility()
{
    for (uint8_t i = 0; i < ITEMS.size(); ++i)
        MEN_SetItemVisible(i, ITEMS[i].shown());
}

void drawHeader()
{
    char temperature[24];
    FMT_Temperature(temperature, sizeof temperature, DAT_ToDisplayTemp(DAT_GetBoilerTemp()),
                    !DAT_BoilerTempValid());
    KOP_DrawLeft(TXT_KESSELTEMPERATUR);
    KOP_DrawRight(temperature);
    KOP_DrawLine();
}

void menuEntry()
{
    for (uint8_t i = 0; i < ITEMS.size(); ++i)
        MEN_SetItem(i, DRAW[i]);
    MEN_SetCount(ITEMS.size());
    applyVisibility();
    MEN_Init(MEN_STD_LEFT, LIST_RIGHT, MEN_STD_TOP, MEN_STD_HEIGHT, MEN_STD_GAP, MEN_STD_LINES);
}

void menuInit(uint32_t par)
{
    if (par == PAR_BACK || par == PAR_REDRAW) MEN_SetPosition(savedTop, savedCursor);
    if (par != PAR_REDRAW) hint = FUS_HINT_SELECT;
    GFX_Clear();
    drawHeader();
    MEN_Draw();
    FUS_DrawHint(hint);
    lcd_refresh();
}

void menuExit(StateHandler self)
{
    savedTop = MEN_GetTop();
    savedCursor = MEN_GetCursor();
    if (redispatching)
        flushDeferredBy = self;
    else
        EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
}

void openItem(Hsm& me)
{
    const Item& item = ITEMS[MEN_GetCursor()];
    if (item.target == nullptr) return;
    if (item.firstCircuit) DAT_SelectCircuit(DAT_FirstCircuit());
    HSM_Tran(me, &BKE_Kontrasteinstellung, item.target, item.par);
}

void goIdle(Hsm& me)
{
    BMM_SetRestart3UhrAllowed(1);
    redispatch(me);
}

// The keys and signals both variants of the menu treat alike; false for the others.
bool commonMenuSignal(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_UP: hint = MEN_MoveWithHint(MenuMove::Up); return true;
    case SIG_KEY_DOWN: hint = MEN_MoveWithHint(MenuMove::Down); return true;
    case SIG_KEY_OK: openItem(me); return true;
    case SIG_REFRESH: hint = MEN_SelectHintAgain(); return true;
    case SIG_TICK_5S: redispatch(me); return true;
    case SIG_HELP_REQUEST:
        HSM_Tran(me, &BKE_Kontrasteinstellung, &BHA_Hilfeanzeige, ITEMS[MEN_GetCursor()].help);
        return true;
    }
    return false;
}

StateHandler grundanzeigeMenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: menuEntry(); return nullptr;
    case SIG_INIT: menuInit(e.par); return nullptr;
    case SIG_EXIT: menuExit(&BGA_GrundanzeigeMenue); return nullptr;
    case SIG_KEY_ANY:
        // Seen by the contrast state as well: it restarts the menu time-out.
        EVT_Post(PRIO_TIMER, SIG_TMR_IDLE, IDLE_TICKS);
        return &BGA_Grundanzeige;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT: return nullptr;
    case SIG_IDLE_TIMEOUT:
        if (BMM_ServiceMode())
            HSM_Tran(me, &BMM_Menuemonitor, &BGA_Grundanzeige, PAR_REDRAW);
        else
            goIdle(me);
        return nullptr;
    }
    return commonMenuSignal(me, e) ? nullptr : &BGA_Grundanzeige;
}

// Keys do not restart the idle timer here: the idle animation follows five minutes after the
// locked menu was entered, even while the user scrolls.
StateHandler grundanzeigeMenueGesperrt(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: menuEntry(); return nullptr;
    case SIG_INIT: menuInit(e.par); return nullptr;
    case SIG_EXIT: menuExit(&BGA_GrundanzeigeMenueGesperrt); return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        HSM_Tran(me, &BKE_Kontrasteinstellung, &BMA_BedienungGesperrt);
        return nullptr;
    case SIG_IDLE_TIMEOUT: goIdle(me); return nullptr;
    }
    return commonMenuSignal(me, e) ? nullptr : &BGA_Grundanzeige;
}

} // namespace

const State BGA_Grundanzeige{"BGA_Grundanzeige", grundanzeige};
const State BGA_GrundanzeigeMenue{"BGA_GrundanzeigeMenue", grundanzeigeMenue};
const State BGA_GrundanzeigeMenueGesperrt{"BGA_GrundanzeigeMenueGesperrt",
                                          grundanzeigeMenueGesperrt};

StateHandler BGA_GetMenuState()
{
    return savedCursor != 0 ? &BGA_GrundanzeigeMenue : &BGA_Grundanzeige;
}
