#include "screens/bsd.h"

#include <array>
#include <utility>

#include "data/datapool.h"
#include "display/fonts.h"
#include "display/lcd.h"
#include "gfx/gfx.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "screens/bga.h"
#include "screens/bha.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"
#include "widgets/fmt.h"
#include "widgets/fus.h"
#include "widgets/hourglass.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

constexpr uint8_t FAULT_ACK = 85;            // parameter of command 235
constexpr uint32_t LIST_REQUEST_TICKS = 100; // the list is fetched again every 10 s
constexpr uint32_t WAIT_STEP_TICKS = 3;      // hourglass frame every 300 ms
constexpr uint32_t WAIT_LIMIT_TICKS = 300;   // no answer within 30 s closes the dialog
constexpr uint32_t NOTICE_TICKS = 40;
constexpr int16_t HOURGLASS_X = 119, HOURGLASS_Y = 79;
constexpr GFX_Rect CONTENT{0, 28, 239, 131};

// The text of a fault record by its category; categories not listed show "Störung".
constexpr std::array<TextId, 49> CATEGORY_TEXTS = [] {
    std::array<TextId, 49> t{};
    t.fill(TXT_STOERUNG);
    constexpr std::pair<uint8_t, TextId> named[] = {
        {1, TXT_WARTUNG},
        {2, TXT_BRENNER},
        {3, TXT_TEMPERATURBEGRENZER},
        {4, TXT_SICHERHEITSKETTE},
        {5, TXT_AUSSENSENSOR},
        {6, TXT_VORLAUFSENSOR},
        {7, TXT_KESSELSENSOR},
        {8, TXT_SPEICHERSENSOR},
        {11, TXT_ABGASSENSOR},
        {12, TXT_RAUMSENSOR},
        {20, TXT_STOERUNG_TEILNEHM},
        {21, TXT_TEILNEHMER_NR},
        {22, TXT_AUSLAUFSENSOR},
        {23, TXT_KOLLEKTORSENSOR},
        {24, TXT_SOLAR_WW_SENSOR},
        {25, TXT_FEUERUNGSAUTOMAT},
        {26, TXT_FERNBEDIENUNG},
        {27, TXT_GEM_VORLAUFSENSOR},
        {32, TXT_SOLARREGELUNG},
        {33, TXT_MISCHERMODUL},
        {34, TXT_BEDIENTEIL},
        {35, TXT_KOMMUNIKATION},
        {36, TXT_CODIERSTECKER},
    };
    for (const auto& [category, text] : named)
        t[category] = text;
    return t;
}();

TextId categoryText(uint8_t category)
{
    return category < CATEGORY_TEXTS.size() ? CATEGORY_TEXTS[category] : TXT_STOERUNG;
}

StateHandler returnState = nullptr;

void goBack(Hsm& me) { UI_Return(me, returnState, PAR_NAVIGATE); }

void requestList()
{
    DIS_SendDataRequest(DIS_MSG_FAULT_LIST, 0);
    EVT_Post(PRIO_TIMER, SIG_TMR_TEST, LIST_REQUEST_TICKS);
}

bool recordPresent(uint8_t i)
{
    DAT_SetFaultIndex(i);
    return DAT_GetFaultCode() != 0;
}

uint8_t countRecords()
{
    uint8_t n = 0;
    for (uint8_t i = 0; i < DAT_FAULT_RECORDS; ++i)
        n = static_cast<uint8_t>(n + recordPresent(i));
    return n;
}

void drawHeader()
{
    KOP_DrawLeft(TXT_STOERUNG);
    KOP_DrawLine();
}

void clearWithHeader()
{
    GFX_Clear();
    drawHeader();
}

StateHandler stoerungsdialog(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: requestList(); return nullptr;
    case SIG_INIT:
        if (e.par == PAR_NAVIGATE) {
            returnState = BMM_LastMenuChild();
            HSM_Start(me, &BSD_AufStoerungsdatenWarten);
        } else {
            HSM_Start(me, &BSD_StoerungsdatenMenue, PAR_BACK);
        }
        return nullptr;
    case SIG_EXIT: UI_StopTimers(UI_TIMER_TEST); return nullptr;
    case SIG_SET_RETURN_STATE: returnState = HSM_ParToState(e.par); return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: goBack(me); return nullptr;
    case SIG_TEST_TIMEOUT: requestList(); return nullptr;
    }
    return &BMM_Menuemonitor;
}

// --- waiting for the list ------------------------------------------------------------------

void listArrived(Hsm& me)
{
    if (countRecords() > 0)
        HSM_Tran(me, &BSD_Stoerungsdialog, &BSD_StoerungsdatenMenue, PAR_NAVIGATE);
    else
        HSM_Tran(me, &BSD_Stoerungsdialog, &BSD_KeineStoerung);
}

StateHandler aufStoerungsdatenWarten(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        clearWithHeader();
        UI_HourglassStart(HOURGLASS_X, HOURGLASS_Y);
        UI_HourglassStep();
        EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, WAIT_STEP_TICKS);
        FUS_DrawHint(FUS_HINT_WAIT);
        UI_StartScreenTimer(WAIT_LIMIT_TICKS);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(UI_TIMER_WAIT); return nullptr;
    case SIG_WAIT_TIMEOUT:
        UI_HourglassStep();
        EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, WAIT_STEP_TICKS);
        return nullptr;
    case SIG_RX_MSG22: listArrived(me); return nullptr;
    }
    return &BSD_Stoerungsdialog;
}

// --- the list --------------------------------------------------------------------------------

void drawRecord(uint8_t i, const GFX_Rect& r)
{
    DAT_SetFaultIndex(i);
    GFX_TextInRect(TXT_Get(categoryText(DAT_GetFaultCategory())), r, GFX_ALIGN_LEFT_CENTER);
    char code[4];
    FMT_Hex(DAT_GetFaultCode(), code, 2);
    GFX_TextInRect(code, r, GFX_ALIGN_RIGHT_CENTER);
}

// One row per record of the list, shown while the record is present; help on a row shows the
// record's details.
constexpr auto RECORD_ROWS = [] {
    std::array<MEN_Row, DAT_FAULT_RECORDS> rows{};
    for (uint8_t i = 0; i < rows.size(); ++i)
        rows[i] = {.help = HLP_BSD_EINTRAG_0 + i, .draw = drawRecord};
    return rows;
}();

MEN_Memory memory;
constexpr MEN_Screen LIST{.self = &BSD_StoerungsdatenMenue,
                          .rows = RECORD_ROWS,
                          .memory = &memory,
                          .header = drawHeader,
                          .rowShown = recordPresent};

// While the alarm stands OK acknowledges it; otherwise the list only shows.
uint8_t listHint() { return DAT_GetFaultPresent() ? FUS_HINT_ACKNOWLEDGE_OK : FUS_HINT_BACK; }

void drawList()
{
    MEN_Draw();
    FUS_DrawHint(listHint());
    lcd_refresh();
}

// Unlike other menus the list keeps its hint while the cursor moves, is not redrawn every
// 5 s and leaves the timer, Back and OK without an alarm to the dialog.
StateHandler stoerungsdatenMenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_INIT:
        clearWithHeader();
        if (e.par == PAR_BACK) MEN_RestorePosition(LIST);
        drawList();
        return nullptr;
    case SIG_KEY_UP:
        MEN_Up();
        drawList();
        return nullptr;
    case SIG_KEY_DOWN:
        MEN_Down();
        drawList();
        return nullptr;
    case SIG_KEY_OK:
        if (!DAT_GetFaultPresent()) break;
        UI_Continue(me, &BSD_QuittierungsAbfrage);
        return nullptr;
    case SIG_RX_MSG22:
        if (countRecords() == 0) {
            HSM_Tran(me, &BSD_Stoerungsdialog, &BSD_KeineStoerung);
            return nullptr;
        }
        MEN_ApplyVisibility(LIST);
        drawList();
        return nullptr;
    case UI_SCREEN_TIMEOUT:
    case SIG_TICK_5S: break;
    default:
        if (MEN_Handle(LIST, me, e)) return nullptr;
    }
    return &BSD_Stoerungsdialog;
}

StateHandler keineStoerung(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT: {
        clearWithHeader();
        const GFX_Font* font = FNT_SetLarge();
        GFX_TextInRect(TXT_Get(TXT_KEINE_STOERUNG), CONTENT, GFX_ALIGN_CENTER);
        GFX_SetFont(font);
        FUS_DrawHint(FUS_HINT_CONTINUE_OK);
        // Its expiry reaches the dialog, which closes.
        UI_StartScreenTimer(NOTICE_TICKS);
        lcd_refresh();
        return nullptr;
    }
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_RX_MSG22:
        if (countRecords() == 0) return nullptr;
        HSM_Tran(me, &BSD_Stoerungsdialog, &BSD_StoerungsdatenMenue, PAR_NAVIGATE);
        return nullptr;
    }
    return &BSD_Stoerungsdialog;
}

// --- acknowledging ---------------------------------------------------------------------------

void acknowledge(Hsm& me)
{
    DIS_SendFaultAck(FAULT_ACK);
    DAT_SetFaultPending(0);
    UI_Continue(me, &BSD_QuittierungsFeedback);
}

void backToList(Hsm& me) { UI_Back(me, &BSD_Stoerungsdialog, PAR_BACK); }

constexpr ABF_Question QUESTION{.title = TXT_STOERUNG,
                                .question = TXT_QUITTIEREN_FRAGE,
                                .yes = acknowledge,
                                .no = goBack,
                                .back = backToList,
                                .help = HLP_BSD_QUITTIEREN};
constexpr ABF_Feedback FEEDBACK{.draw = [] { ABF_DrawQuestion(QUESTION, false); }, .done = goBack};

StateHandler quittierungsAbfrage(Hsm& me, const Event& e)
{
    return ABF_HandleQuestion(QUESTION, me, e) ? nullptr : &BMM_Menuemonitor;
}

StateHandler quittierungsFeedback(Hsm& me, const Event& e)
{
    return ABF_HandleFeedback(FEEDBACK, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BSD_Stoerungsdialog, stoerungsdialog);
HSM_STATE(BSD_AufStoerungsdatenWarten, aufStoerungsdatenWarten);
HSM_STATE(BSD_StoerungsdatenMenue, stoerungsdatenMenue);
HSM_STATE(BSD_KeineStoerung, keineStoerung);
HSM_STATE(BSD_QuittierungsAbfrage, quittierungsAbfrage);
HSM_STATE(BSD_QuittierungsFeedback, quittierungsFeedback);

void BSD_Reset()
{
    returnState = nullptr;
    MEN_ResetMemory(memory);
}
