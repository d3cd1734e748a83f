#include "screens/bbe.h"

#include <array>

#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

// The programmes in list order, with what the pool holds for each: the mode index the
// feedback compares is the row.
enum Programme : uint8_t { HEATING_AND_HOT_WATER = 0, ONLY_HOT_WATER = 1, STANDBY = 2 };
struct ProgrammeRow {
    OperatingProgram program;
    TextId name;
};
constexpr std::array<ProgrammeRow, 3> PROGRAMMES{{
    {OperatingProgram::HeatingAndHotWater, TXT_HEIZEN_UND_WARMWASSER},
    {OperatingProgram::OnlyHotWater, TXT_NUR_WARMWASSER},
    {OperatingProgram::Standby, TXT_ABSCHALTBETRIEB},
}};

uint8_t activeProgramme()
{
    if (DAT_IsHeatingAndHotWater()) return HEATING_AND_HOT_WATER;
    return DAT_IsOnlyHotWater() ? ONLY_HOT_WATER : STANDBY;
}

void activeMark(uint8_t row, const GFX_Rect& r) { MEN_DrawOption(r, row == activeProgramme()); }

constexpr std::array<MEN_Row, 3> ROWS{{
    {.text = TXT_HEIZEN_UND_WARMWASSER,
     .help = HLP_BETRIEBSART_HEIZEN_UND_WARMWASSER,
     .draw = activeMark},
    {.text = TXT_NUR_WARMWASSER,
     .help = HLP_BETRIEBSART_NUR_WARMWASSER,
     .shown = DAT_GetDhwPresent,
     .draw = activeMark},
    {.text = TXT_ABSCHALTBETRIEB, .help = HLP_BETRIEBSART_ABSCHALTBETRIEB, .draw = activeMark},
}};

void drawTitle()
{
    KOP_DrawCircuitTitle(TXT_BETRIEBSPROGRAMM);
    KOP_DrawLine();
}

MEN_Memory memory;

constexpr MEN_Screen LIST{
    .self = &BetriebsartMenue,
    .rows = ROWS,
    .memory = &memory,
    .header = drawTitle,
    .geometry = {MEN_STD_LEFT, MEN_STD_RIGHT, MEN_STD_TOP, MEN_STD_HEIGHT, MEN_STD_GAP, 3}};

StateHandler returnState = nullptr;
uint8_t programmeBefore = HEATING_AND_HOT_WATER;
uint8_t chosen = HEATING_AND_HOT_WATER;
uint8_t questionHint = FUS_HINT_CHANGE;

// The programme written, the external programme given up, the programme's command and the end
// of economy mode (221) sent: the controller takes the user's choice over what held before.
void carryOut(uint8_t programme) { DIS_SendOperatingProgram(PROGRAMMES[programme].program); }

void toChild(Hsm& me, const State& child, uint32_t reason)
{
    HSM_Tran(me, &BetriebsartEinstellen, &child, reason);
}

// --- the container -----------------------------------------------------------------------

StateHandler betriebsartEinstellen(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: MEN_ScreenEntry(LIST); return nullptr;
    case SIG_INIT:
        // A redraw in place only looks at the external flags again.
        if (e.par != PAR_REDRAW) returnState = BMM_LastMenuChild();
        if (DAT_GetFlag(DatFlag::ExternalSwitchOver))
            HSM_Start(me, &ExterneAufschaltung, e.par);
        else if (DAT_GetFlag(DatFlag::ExternalProgram))
            HSM_Start(me, &ExternesProgramm, e.par);
        else
            HSM_Start(me, &BetriebsartMenue, e.par);
        return nullptr;
    case SIG_EXIT: return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: UI_Return(me, returnState, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

// --- external switch-over: nothing to choose while it lasts --------------------------------

constexpr GFX_Rect REASON_LINE{1, 29, 238, 52};
constexpr GFX_Rect STATEMENT_BOX{0, 52, 239, 132};

StateHandler externeAufschaltung(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        GFX_Clear();
        KOP_DrawCircuitTitle(TXT_EXTERNE_AUFSCHALTUNG);
        KOP_DrawLine();
        GFX_TextInRect(TXT_Get(TXT_HEIZUNG_DAUERND_AUS_EIN), REASON_LINE, GFX_ALIGN_CENTER);
        ABF_DrawBoxedStatement(TXT_NICHT_AENDERBAR, STATEMENT_BOX);
        FUS_DrawHint(FUS_HINT_CONTINUE_OK);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    // The list appears as soon as the switch-over has ended.
    case SIG_TICK_5S:
        UI_Redraw(me, &BetriebsartEinstellen, &BetriebsartEinstellen, PAR_REDRAW);
        return nullptr;
    }
    return &BetriebsartEinstellen;
}

// --- external programme: the user may take the circuit back -------------------------------

void drawQuestionTitle()
{
    KOP_DrawCircuitTitle(TXT_EXTERNES_PROGRAMM);
    KOP_DrawLine();
}

constexpr ABF_Question QUESTION{.header = drawQuestionTitle, .question = TXT_AENDERN_FRAGE};

void showQuestion(bool open, uint8_t hint)
{
    questionHint = hint;
    ABF_DrawQuestion(QUESTION, open);
    FUS_DrawHint(hint);
    lcd_refresh();
}

bool taken() { return questionHint == FUS_HINT_TAKEN; }

void questionInit(uint32_t reason)
{
    if (reason == PAR_NAVIGATE) {
        ABF_SetAnswer(false);
        questionHint = FUS_HINT_CHANGE;
    }
    if (taken()) {
        showQuestion(false, FUS_HINT_TAKEN);
        UI_StartScreenTimer(FUS_HINT_TICKS);
    } else {
        showQuestion(true, FUS_HINT_CHANGE);
    }
}

// "Ja" takes the circuit back to heating and hot water; a second OK (or the end of the time)
// shows the list. "Nein" ends the function.
bool questionOk(Hsm& me)
{
    if (!ABF_Yes()) return false;
    if (taken()) {
        toChild(me, BetriebsartMenue, PAR_NAVIGATE);
        return true;
    }
    carryOut(HEATING_AND_HOT_WATER);
    showQuestion(false, FUS_HINT_TAKEN);
    UI_StartScreenTimer(FUS_HINT_TICKS);
    return true;
}

StateHandler externesProgramm(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT: questionInit(e.par); return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        ABF_SetAnswer(!ABF_Yes());
        showQuestion(true, FUS_HINT_CONTINUE_OK);
        UI_StartScreenTimer(FUS_HINT_TICKS);
        return nullptr;
    case SIG_KEY_OK: return questionOk(me) ? nullptr : &BetriebsartEinstellen;
    case UI_SCREEN_TIMEOUT:
        if (taken()) {
            toChild(me, BetriebsartMenue, PAR_NAVIGATE);
            return nullptr;
        }
        questionHint = FUS_HINT_SELECT;
        FUS_DrawHint(questionHint);
        FUS_Refresh();
        return nullptr;
    }
    return &BetriebsartEinstellen;
}

// --- the list of programmes ----------------------------------------------------------------

// Reason 3 starts on the active programme, 4 at the saved row; a redraw keeps row and hint.
void listInit(uint32_t reason)
{
    if (reason == PAR_NAVIGATE) {
        programmeBefore = activeProgramme();
        MEN_SetPosition(0, programmeBefore);
    } else if (reason == PAR_BACK) {
        MEN_RestorePosition(LIST);
    }
    if (reason == PAR_NAVIGATE || reason == PAR_BACK) memory.hint = FUS_HINT_SELECT;
    MEN_ScreenDraw(LIST);
}

StateHandler betriebsartMenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr; // the container has set the list up
    case SIG_INIT: listInit(e.par); return nullptr;
    case SIG_KEY_OK:
        chosen = MEN_GetCursor();
        carryOut(chosen);
        toChild(me, BBE_BetriebsartFeedback, PAR_NAVIGATE);
        return nullptr;
    }
    return MEN_Handle(LIST, me, e) ? nullptr : &BetriebsartEinstellen;
}

// --- feedback ------------------------------------------------------------------------------

StateHandler betriebsartFeedback(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        GFX_Clear();
        drawTitle();
        ABF_DrawStatement(PROGRAMMES[chosen].name);
        // The commands go out either way; the hint tells whether anything changed.
        FUS_DrawHint(activeProgramme() != programmeBefore ? FUS_HINT_TAKEN : FUS_HINT_IS_SET);
        UI_StartScreenTimer(FUS_HINT_TICKS);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_OK:
    case SIG_KEY_BACK:
    case UI_SCREEN_TIMEOUT: toChild(me, BetriebsartMenue, PAR_NAVIGATE); return nullptr;
    }
    return &BetriebsartEinstellen;
}

} // namespace

HSM_STATE(BetriebsartEinstellen, betriebsartEinstellen);
HSM_STATE(ExterneAufschaltung, externeAufschaltung);
HSM_STATE(ExternesProgramm, externesProgramm);
HSM_STATE(BetriebsartMenue, betriebsartMenue);
HSM_STATE(BBE_BetriebsartFeedback, betriebsartFeedback);

void BBE_Reset()
{
    MEN_ResetMemory(memory);
    returnState = nullptr;
    programmeBefore = chosen = HEATING_AND_HOT_WATER;
    questionHint = FUS_HINT_CHANGE;
}
