#include <array>

#include "data/datapool.h"
#include "display/lcd.h"
#include "link/dis.h"
#include "screens/bhkh.h"
#include "screens/bhkm.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

// The two values of the curve, each with its bounds, its dialog and its feedback.
enum Value : uint8_t { SLOPE = 0, LEVEL = 1 };
struct CurveValue {
    TextId name;
    int16_t min, max;
    HelpCode help;
    const State* dialog;
    const State* feedback;
};
constexpr std::array<CurveValue, 2> VALUES{{
    {TXT_NEIGUNG, 2, 35, HLP_BHKH_NEIGUNG, &BHKH_NeigungDialog, &BHKH_FeedbackNeigung},
    {TXT_NIVEAU, -13, 40, HLP_BHKH_NIVEAU, &BHKH_NiveauDialog, &BHKH_FeedbackNiveau},
}};

// What the dialogs change before it is stored.
int16_t working[2] = {0, 0};
bool changed = false;

int16_t stored(Value v)
{
    return v == SLOPE ? DAT_GetHeatingCurveSlope() : DAT_GetHeatingCurveLevel();
}

void loadWorking()
{
    working[SLOPE] = stored(SLOPE);
    working[LEVEL] = stored(LEVEL);
}

// The slope in tenths as "1,4" with the language's separator; the level as "-5 K".
void format(Value v, char* out, uint16_t size)
{
    const int16_t w = working[v];
    if (v == SLOPE) {
        out[0] = static_cast<char>('0' + w / 10 % 10);
        out[1] = TXT_GetDecimalSeparator();
        out[2] = static_cast<char>('0' + w % 10);
        out[3] = 0;
        return;
    }
    const uint8_t n = FMT_Int(w, out);
    out[n] = ' ';
    TXT_GetInto(TXT_EINHEIT_K, out + n + 1, static_cast<uint16_t>(size - n - 1));
}

void drawTitle()
{
    KOP_DrawCircuitTitle(TXT_HEIZKENNLINIE);
    KOP_DrawLine();
}

// --- the menu of the two values -------------------------------------------------------------

void valueRight(uint8_t row, const GFX_Rect& r)
{
    char value[16];
    format(static_cast<Value>(row), value, sizeof value);
    GFX_TextInRect(value, r, GFX_ALIGN_RIGHT_CENTER);
}

constexpr std::array<MEN_Row, 2> ROWS{{
    {.text = TXT_NEIGUNG,
     .target = &BHKH_NeigungDialog,
     .help = HLP_BHKH_NEIGUNG,
     .draw = valueRight},
    {.text = TXT_NIVEAU, .target = &BHKH_NiveauDialog, .help = HLP_BHKH_NIVEAU, .draw = valueRight},
}};

MEN_Memory memory;

constexpr MEN_Screen MENU{
    .self = &BHKH_NeigungNiveauMenue,
    .rows = ROWS,
    .memory = &memory,
    .header = drawTitle,
    .geometry = {MEN_STD_LEFT, MEN_STD_RIGHT, MEN_STD_TOP, MEN_STD_HEIGHT, MEN_STD_GAP, 2},
    .back = &BHKM_HKMenue,
    .backReason = PAR_BACK};

StateHandler neigungNiveauMenue(Hsm& me, const Event& e)
{
    if (e.sig == SIG_INIT) loadWorking();
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

// --- the dialogs and their feedback ---------------------------------------------------------

constexpr GFX_Rect VALUE_ROW{1, 107, 238, 130};
constexpr GFX_Rect VALUE_FIELD{186, 107, 239, 130};

void drawValueRow(Value v, bool editing)
{
    GFX_ClearRect(0, VALUE_ROW.y0, 239, VALUE_ROW.y1);
    GFX_TextInRect(TXT_Get(VALUES[v].name), VALUE_ROW, GFX_ALIGN_LEFT_CENTER);
    char value[16];
    format(v, value, sizeof value);
    GFX_TextInRect(value, VALUE_FIELD, GFX_ALIGN_CENTER);
    if (editing) GFX_InvertRect(VALUE_FIELD);
}

void drawDialog(Value v, bool editing, uint8_t hint)
{
    GFX_Clear();
    drawTitle();
    BHKH_DrawCurve(static_cast<uint8_t>(working[SLOPE]), static_cast<int8_t>(working[LEVEL]));
    drawValueRow(v, editing);
    FUS_DrawHint(hint);
    lcd_refresh();
}

void backToMenu(Hsm& me) { UI_Back(me, &BHKH_NeigungNiveauMenue, PAR_BACK); }

void step(Value v, int16_t delta)
{
    const int16_t next = static_cast<int16_t>(working[v] + delta);
    if (next >= VALUES[v].min && next <= VALUES[v].max) working[v] = next;
    changed = true;
    drawDialog(v, true, FUS_HINT_TAKE_OK);
    UI_StartScreenTimer(FUS_HINT_TICKS);
}

void store(Value v)
{
    if (v == SLOPE)
        DIS_SendHeatingCurveSlope(static_cast<uint8_t>(working[SLOPE]));
    else
        DIS_SendHeatingCurveLevel(static_cast<int8_t>(working[LEVEL]));
}

// Reason 4 comes back from help with the value as the user left it.
template <Value V> StateHandler dialog(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        if (e.par != PAR_BACK) {
            loadWorking();
            changed = false;
        }
        drawDialog(V, true, FUS_HINT_CHANGE);
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT: step(V, 1); return nullptr;
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT: step(V, -1); return nullptr;
    case SIG_KEY_OK:
        if (!changed) {
            backToMenu(me);
            return nullptr;
        }
        store(V);
        UI_Continue(me, VALUES[V].feedback);
        return nullptr;
    case SIG_KEY_BACK: backToMenu(me); return nullptr;
    case UI_SCREEN_TIMEOUT:
        FUS_DrawHint(FUS_HINT_CHANGE);
        FUS_Refresh();
        return nullptr;
    case SIG_HELP_REQUEST: UI_OpenHelp(me, VALUES[V].help); return nullptr;
    }
    return &BMM_Menuemonitor;
}

template <Value V> StateHandler feedback(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        drawDialog(V, false, FUS_HINT_TAKEN);
        UI_StartScreenTimer(FUS_HINT_TICKS);
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case SIG_KEY_BACK:
    case UI_SCREEN_TIMEOUT: backToMenu(me); return nullptr;
    }
    return &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BHKH_NeigungNiveauMenue, neigungNiveauMenue);
HSM_STATE(BHKH_NeigungDialog, dialog<SLOPE>);
HSM_STATE(BHKH_NiveauDialog, dialog<LEVEL>);
HSM_STATE(BHKH_FeedbackNeigung, feedback<SLOPE>);
HSM_STATE(BHKH_FeedbackNiveau, feedback<LEVEL>);

void BHKH_Reset()
{
    MEN_ResetMemory(memory);
    working[SLOPE] = working[LEVEL] = 0;
    changed = false;
}
