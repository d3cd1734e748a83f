#include "screens/bcp.h"

#include <array>

#include "data/datapool.h"
#include "display/fonts.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "pictures.h"
#include "screens/bcpm.h"
#include "sim/hal/debug.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/ved.h"

namespace {

struct AddressText {
    uint8_t group; // the circuit texts are listed once, under circuit 1
    uint8_t address;
    TextId text;
};

// What coding level 1 calls the well-known addresses of each group.
constexpr std::array<AddressText, 41> ADDRESS_TEXTS{{
    {BCPM_GROUP_BOILER, 0x01, TXT_EIN_MEHRKESSELANLAGE},
    {BCPM_GROUP_BOILER, 0x07, TXT_KESSELNUMMER},
    {BCPM_GROUP_BOILER, 0x21, TXT_WARTUNG_BRENNER_BETRIEBSSTUNDEN_IN_100},
    {BCPM_GROUP_BOILER, 0x23, TXT_WARTUNG_ZEITINTERVALL_IN_MONATEN},
    {BCPM_GROUP_BOILER, 0x24, TXT_STATUS_WARTUNG},
    {BCPM_GROUP_BOILER, 0x2F, TXT_BEFUELLUNG_ENTLUEFTUNG},
    {BCPM_GROUP_BOILER, 0x32, TXT_EXTERN_SPERREN_AUF_PUMPEN},
    {BCPM_GROUP_BOILER, 0x34, TXT_EXTERN_ANFORDERN_AUF_PUMPEN},
    {BCPM_GROUP_DHW, 0x67, TXT_WARMWASSER_SOLLTEMP_NACHLADEUNTERDRUECKUNG},
    {BCPM_GROUP_DHW, 0x73, TXT_FREIGABE_ZIRKULATIONSPUMPE},
    {BCPM_GROUP_GENERAL, 0x00, TXT_ANLAGENSCHEMA},
    {BCPM_GROUP_GENERAL, 0x51, TXT_FUNKTION_INTERNE_UMWAELZPUMPE},
    {BCPM_GROUP_GENERAL, 0x77, TXT_TEILNEHMER_NR},
    {BCPM_GROUP_GENERAL, 0x7F, TXT_EINFAMILIEN_MEHRFAMILIENHAUS},
    {BCPM_GROUP_GENERAL, 0x8F, TXT_BEDIENUNG_SPERREN},
    {BCPM_GROUP_GENERAL, 0x91, TXT_EXT_BETRIEBSPROGRAMM_UMSCHALTUNG_AUF_HEIZKREIS},
    {BCPM_GROUP_GENERAL, 0x9B, TXT_VORLAUF_SOLLTEMPERATUR_BEI_EXT_ANFORDERUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xA2, TXT_WARMWASSER_VORRANG},
    {BCPM_GROUP_CIRCUIT_1, 0xA5, TXT_SOMMERSPARFUNKTION_AUSSENTEMPERATUR},
    {BCPM_GROUP_CIRCUIT_1, 0xA6, TXT_SOMMERSPARFUNKTION_ABSOLUT},
    {BCPM_GROUP_CIRCUIT_1, 0xA7, TXT_MISCHERSPARFUNKTION},
    {BCPM_GROUP_CIRCUIT_1, 0xA9, TXT_PUMPENSTILLSTANDSZEIT_UEBERGANG_RED_BETRIEB},
    {BCPM_GROUP_CIRCUIT_1, 0xB0, TXT_WITTERUNGSGEFUEHRT_RAUMAUFSCHALTUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xB5, TXT_SOMMERSPARFUNKTION_RAUMTEMPERATUR},
    {BCPM_GROUP_CIRCUIT_1, 0xC5, TXT_VORLAUFTEMPERATUR_MINIMALBEGRENZUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xC6, TXT_VORLAUFTEMPERATUR_MAXIMALBEGRENZUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xD5, TXT_BETRIEBSPROGRAMM_UMSCHALTUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xE6, TXT_MAX_PUMPENDREHZAHL_IM_NORMALBETRIEB},
    {BCPM_GROUP_CIRCUIT_1, 0xE7, TXT_MIN_PUMPENDREHZAHL},
    {BCPM_GROUP_CIRCUIT_1, 0xF1, TXT_ESTRICHFUNKTION},
    {BCPM_GROUP_CIRCUIT_1, 0xF2, TXT_PARTYBETRIEB_ZEITBEGRENZUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xF6, TXT_PUMPENSCHALTUNG_BEI_NUR_WARMWASSER},
    {BCPM_GROUP_CIRCUIT_1, 0xF7, TXT_PUMPENSCHALTUNG_BEI_ABSCHALTBETRIEB},
    {BCPM_GROUP_CIRCUIT_1, 0xF8, TXT_BEGINN_TEMPERATURANHEBUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xF9, TXT_ENDE_TEMPERATURANHEBUNG},
    {BCPM_GROUP_CIRCUIT_1, 0xFA, TXT_ERHOEHUNG_VORLAUF_SOLLTEMPERATUR},
    {BCPM_GROUP_CIRCUIT_1, 0xFB, TXT_ZEITDAUER_ERHOEHUNG_VORLAUF_SOLLTEMPERATUR},
    {BCPM_GROUP_SOLAR, 0x08, TXT_SPEICHER_MAXIMALTEMPERATUR},
    {BCPM_GROUP_SOLAR, 0x0A, TXT_STAGNATIONSZEIT_REDUZIERUNG},
    {BCPM_GROUP_SOLAR, 0x0F, TXT_NENNVOLUMENSTROM_KOLLEKTORKREIS},
}};

// Geometry: the level-1 text above the boxes; level 2 has no text and its boxes sit higher.
constexpr GFX_Rect ADDRESS_TEXT_RECT{1, 29, 238, 78};
constexpr int16_t BOX_TOP_LEVEL_1 = 81, BOX_TOP_LEVEL_2 = 55, BOX_HEIGHT = 50;
constexpr int16_t ADDRESS_X0 = 49, ADDRESS_X1 = 109;
// The value box x 129..199, widened by 10 pixels for values that need the room.
constexpr int16_t VALUE_X0 = 124, VALUE_X1 = 204;
constexpr int16_t SYMBOL_X = KOP_TEXT_RECT.x1 + 1 - 22, SYMBOL_Y = (KOP_SEPARATOR_Y - 22) / 2;

constexpr uint8_t KEY_ACCEL_BROWSING = 15;
constexpr uint16_t BLINK_ON_TICKS = 8, BLINK_OFF_TICKS = 4;
constexpr uint8_t DIRECTION_UP = 1, DIRECTION_DOWN = 0;

struct Browsing {
    uint8_t address = 0; // CodingAddress
    int16_t value = 0;   // CodingDisplayValue
    uint8_t direction = DIRECTION_UP;
    uint8_t blinkPhase = 1;  // CodingBlinkPhase
    bool valueShown = false; // the controller has answered for the address shown
};
Browsing browsing;

uint8_t level() { return DAT_GetCodingLevel() == 2 ? 2 : 1; }
uint8_t group() { return static_cast<uint8_t>(DAT_GetCodingGroup()); }
StateHandler browser() { return level() == 2 ? &BCP_Codierung_2 : &BCP_Codierung_1; }

int16_t boxTop() { return level() == 2 ? BOX_TOP_LEVEL_2 : BOX_TOP_LEVEL_1; }
GFX_Rect addressBox()
{
    return {ADDRESS_X0, boxTop(), ADDRESS_X1, static_cast<int16_t>(boxTop() + BOX_HEIGHT - 1)};
}
GFX_Rect valueBox()
{
    return {VALUE_X0, boxTop(), VALUE_X1, static_cast<int16_t>(boxTop() + BOX_HEIGHT - 1)};
}

// --- drawing ---------------------------------------------------------------------------------

// The symbol blinks while the burner control is parametrised and stands while it is calibrated;
// otherwise the header says which level this is.
void drawHeader()
{
    KOP_DrawLeft(BCPM_GroupTitle(DAT_GetCodingGroup()));
    if (level() == 1) {
        KOP_DrawRight(TXT_COD_1);
    } else if (DAT_GetParametrisationActive()) {
        if (browsing.blinkPhase != 0) GFX_DrawBitmap(PIC_CodingSymbol, SYMBOL_X, SYMBOL_Y);
    } else if (DAT_GetCalibrationActive()) {
        GFX_DrawBitmap(PIC_CodingSymbol, SYMBOL_X, SYMBOL_Y);
    } else {
        KOP_DrawRight(TXT_COD_2);
    }
    KOP_DrawLine();
}

void drawAddressText()
{
    if (level() != 1) return;
    GFX_ClearRect(ADDRESS_TEXT_RECT);
    GFX_TextInRectWrap(TXT_Get(BCP_AddressText(DAT_GetCodingGroup(), browsing.address)),
                       ADDRESS_TEXT_RECT, GFX_ALIGN_LEFT_CENTER, GFX_WRAP_WORDS);
}

void drawAddress(bool selected)
{
    const GFX_Rect box = addressBox();
    GFX_ClearRect(box);
    char hex[4];
    FMT_Hex(browsing.address, hex, 2);
    const GFX_Font* font = FNT_SetLarge();
    GFX_TextInRect(hex, box, GFX_ALIGN_CENTER);
    GFX_SetFont(font);
    if (selected) GFX_InvertRect(box);
}

void drawValueInto(const GFX_Rect& r, int16_t value)
{
    char text[12];
    FMT_Int(value, text);
    GFX_TextInRect(text, r, GFX_ALIGN_RIGHT_CENTER);
}

void clearValue() { GFX_ClearRect(valueBox()); }

void drawValue(bool selected)
{
    const GFX_Rect box = valueBox();
    GFX_ClearRect(box);
    const GFX_Font* font = FNT_SetLarge();
    drawValueInto(
        {static_cast<int16_t>(box.x0 + 1), box.y0, static_cast<int16_t>(box.x1 - 1), box.y1},
        browsing.value);
    GFX_SetFont(font);
    if (selected) GFX_InvertRect(box);
}

// While the browser waits for the controller the address is selected; once the value is
// there, the value is what OK would change.
void drawSelection()
{
    drawAddressText();
    drawAddress(!browsing.valueShown);
    if (browsing.valueShown)
        drawValue(true);
    else
        clearValue();
}

// What every coding screen does at its init: level 2 keeps its display when it comes back from
// its own editor (12), anything else starts on a clear screen with the header.
void initDisplay(uint32_t reason, const char* name)
{
    const bool keep = level() == 2 && reason == PAR_INIT_CODIERUNG;
    if (level() == 2) DBG_Printf("\n %s: %s PAR_INIT_CODIERUNG", name, keep ? "==" : "!=");
    if (keep) {
        clearValue();
        return;
    }
    GFX_Clear();
    if (level() == 2) {
        browsing.blinkPhase = 1;
        EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, BLINK_ON_TICKS);
    }
    drawHeader();
}

void showHint(uint8_t hint)
{
    FUS_DrawHint(hint);
    lcd_refresh();
}

void moveHint()
{
    FUS_DrawHint(FUS_HINT_CONTINUE_OK);
    UI_StartScreenTimer(FUS_HINT_TICKS);
    lcd_refresh();
}

void hintAgain(uint8_t hint)
{
    FUS_DrawHint(hint);
    FUS_Refresh();
}

// The blink step of the level-2 header: 0.8 s on, 0.4 s off while the symbol blinks.
void blinkStep()
{
    drawHeader();
    KOP_Refresh();
    EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, browsing.blinkPhase != 0 ? BLINK_ON_TICKS : BLINK_OFF_TICKS);
    if (DAT_GetParametrisationActive())
        browsing.blinkPhase = browsing.blinkPhase != 0 ? 0 : 1;
    else
        browsing.blinkPhase = 1;
}

// --- the link --------------------------------------------------------------------------------

void requestAddress()
{
    DIS_SendCodingRead(group(), level(), browsing.address, browsing.direction);
}

// Only the coding requests go over the bus while a browser is open: nothing the cyclic polling
// would ask could be answered in between.
void quietLink()
{
    EVT_Post(PRIO_LINK, SIG_LINK_POLL_OFF);
    DIS_CancelRequests();
}

// A coding may change the configuration (and with it what the menus show).
void requestConfiguration()
{
    DIS_Request(DIS_MSG_CONFIG);
    if (DAT_GetSolarPresent()) DIS_Request(DIS_MSG_SOLAR);
}

void resumeLink()
{
    requestConfiguration();
    EVT_Post(PRIO_LINK, SIG_LINK_POLL_ON);
}

// The answer of the request standing now; one the user has already browsed away from is left
// to the request that follows the key's release.
bool takeAnswer()
{
    if (browsing.address != DAT_GetCodingRequest().address) return false;
    browsing.address = DAT_GetCodingEntryAddress();
    browsing.value = DAT_GetCodingEntryValue();
    browsing.valueShown = true;
    return true;
}

// --- the browser -----------------------------------------------------------------------------

void browserInit(uint32_t reason)
{
    if (reason == PAR_NAVIGATE) browsing = Browsing{};
    // Back from help the request may have been lost with the link's queue: ask again.
    if (reason == PAR_NAVIGATE || !browsing.valueShown) requestAddress();
    EVT_Post(PRIO_KEYS, SIG_KEY_ACCEL, KEY_ACCEL_BROWSING);
    initDisplay(reason, "InitCodierung 2");
    drawSelection();
    showHint(FUS_HINT_SELECT);
}

void browse(uint8_t direction)
{
    browsing.direction = direction;
    browsing.address =
        static_cast<uint8_t>(browsing.address + (direction == DIRECTION_UP ? 1 : -1));
    browsing.valueShown = false;
    drawSelection();
    moveHint();
}

void released()
{
    requestAddress();
    drawSelection();
    lcd_refresh();
}

void edit(Hsm& me)
{
    EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
    if (!browsing.valueShown || DIS_SlotState(DIS_MSG_CODING) != SLOT_IDLE) return;
    browsing.address = DAT_GetCodingEntryAddress();
    browsing.value = DAT_GetCodingEntryValue();
    HSM_Tran(me, browser(), &BCP_EditValue, PAR_INIT_CODIERUNG);
}

// The exit stops the blink timer; Menu and Help stop it at once, before the key is served.
StateHandler codierung(Hsm& me, const Event& e, uint8_t own)
{
    switch (e.sig) {
    case SIG_ENTRY: quietLink(); return nullptr;
    case SIG_INIT: browserInit(e.par); return nullptr;
    case SIG_EXIT:
        UI_ScreenExit(UI_TIMER_WAIT);
        resumeLink();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT: browse(DIRECTION_UP); return nullptr;
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT: browse(DIRECTION_DOWN); return nullptr;
    case SIG_KEY_UP_REL:
    case SIG_KEY_RIGHT_REL:
    case SIG_KEY_DOWN_REL:
    case SIG_KEY_LEFT_REL: released(); return nullptr;
    case SIG_RX_MSG14:
        if (takeAnswer()) {
            drawHeader();
            drawSelection();
            lcd_refresh();
        }
        return nullptr;
    case SIG_KEY_OK: edit(me); return nullptr;
    case SIG_KEY_BACK: UI_Back(me, BCPM_GroupMenu(own), PAR_BACK); return nullptr;
    case SIG_WAIT_TIMEOUT:
        if (own == 2) blinkStep();
        return nullptr;
    case SIG_KEY_MENU:
    case SIG_KEY_HELP:
        if (own == 2) UI_StopTimers(UI_TIMER_WAIT);
        return &BMM_Menuemonitor;
    case UI_SCREEN_TIMEOUT: hintAgain(FUS_HINT_SELECT); return nullptr;
    }
    return &BMM_Menuemonitor;
}

StateHandler codierung1(Hsm& me, const Event& e) { return codierung(me, e, 1); }
StateHandler codierung2(Hsm& me, const Event& e) { return codierung(me, e, 2); }

// --- the editor and its confirmation ----------------------------------------------------------

bool isKeyRelease(Signal sig)
{
    return sig == SIG_KEY_UP_REL || sig == SIG_KEY_DOWN_REL || sig == SIG_KEY_LEFT_REL ||
           sig == SIG_KEY_RIGHT_REL;
}

bool isArrow(Signal sig)
{
    return sig == SIG_KEY_UP || sig == SIG_KEY_DOWN || sig == SIG_KEY_LEFT || sig == SIG_KEY_RIGHT;
}

// Level 1 redraws the browser; level 2 keeps what stands on the display.
void backToBrowser(Hsm& me)
{
    HSM_Tran(me, browser(), browser(), level() == 2 ? PAR_INIT_CODIERUNG : PAR_BACK);
}

void editorInit(uint32_t reason)
{
    initDisplay(reason, "InitEditValue");
    drawAddressText();
    drawAddress(false);
    VED_Init({browsing.value, 1, DAT_GetCodingEntryMin(), DAT_GetCodingEntryMax()}, drawValueInto,
             valueBox(), &FNT_GetLarge());
    VED_Draw(GFX_TEXT_NORMAL);
    EVT_Post(PRIO_KEYS, SIG_KEY_ACCEL, KEY_ACCEL_BROWSING);
    showHint(FUS_HINT_CHANGE);
}

void step(void (*change)())
{
    change();
    VED_Draw(GFX_TEXT_NORMAL); // nothing is inverted while a coding is edited
    moveHint();
}

void write(Hsm& me)
{
    EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
    DIS_SendCodingWrite(group(), level(), browsing.address, VED_GetValue(), browsing.direction);
    browsing.value = DAT_GetCodingEntryValue();
    requestConfiguration();
    HSM_Tran(me, browser(), &BCP_EditFeedback, PAR_INIT_CODIERUNG);
}

StateHandler editValue(Hsm& me, const Event& e)
{
    if (isKeyRelease(e.sig)) return nullptr; // the browser would ask for the address again
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT: editorInit(e.par); return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT: step(VED_Inc); return nullptr;
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT: step(VED_Dec); return nullptr;
    case SIG_KEY_OK: write(me); return nullptr;
    case SIG_KEY_BACK:
        browsing.value = DAT_GetCodingEntryValue();
        backToBrowser(me);
        return nullptr;
    case UI_SCREEN_TIMEOUT: hintAgain(FUS_HINT_CHANGE); return nullptr;
    case SIG_RX_MSG14: return nullptr; // the value being edited stays
    }
    return browser();
}

void feedbackInit(uint32_t reason)
{
    initDisplay(reason, "InitEditFeedback");
    drawAddressText();
    drawAddress(false);
    drawValue(false);
    FUS_DrawHint(FUS_HINT_TAKEN);
    UI_StartScreenTimer(FUS_HINT_TICKS);
    lcd_refresh();
}

StateHandler editFeedback(Hsm& me, const Event& e)
{
    if (isKeyRelease(e.sig) || isArrow(e.sig)) return nullptr;
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT: feedbackInit(e.par); return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: backToBrowser(me); return nullptr;
    case SIG_RX_MSG14:
        // The controller's answer to the write: the value it keeps.
        if (takeAnswer()) {
            drawAddressText();
            drawAddress(false);
            drawValue(false);
            lcd_refresh();
        }
        return nullptr;
    }
    return browser();
}

} // namespace

HSM_STATE(BCP_Codierung_1, codierung1);
HSM_STATE(BCP_Codierung_2, codierung2);
HSM_STATE(BCP_EditValue, editValue);
HSM_STATE(BCP_EditFeedback, editFeedback);

TextId BCP_AddressText(uint32_t group, uint8_t address)
{
    const uint32_t listed = group == BCPM_GROUP_CIRCUIT_2 ? BCPM_GROUP_CIRCUIT_1 : group;
    for (const AddressText& t : ADDRESS_TEXTS)
        if (t.group == listed && t.address == address) return t.text;
    return TXT_NONE;
}

void BCP_Reset() { browsing = Browsing{}; }
