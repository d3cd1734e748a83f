#include "screens/bsp.h"

#include "data/datapool.h"
#include "display/lcd.h"
#include "link/dis.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"
#include "widgets/kop.h"
#include "widgets/screen.h"

namespace {

constexpr GFX_Rect RESULT_BOX{0, 27, 239, 132};
constexpr GFX_Rect REASON_LINE{1, 29, 238, 52};
constexpr GFX_Rect REFUSAL_BOX{0, 52, 239, 132};

enum class Result : uint8_t { Off, On, NotPossible };

StateHandler returnState = nullptr;
Result result = Result::Off;

// The controller allows economy mode and does not block it, and the circuit heats by its
// own programme: not in "Nur Warmwasser" or "Abschaltbetrieb", not during a holiday.
bool mayBeSwitchedOn()
{
    return DAT_GetFlag(DatFlag::EconomyAllowed) && !DAT_GetFlag(DatFlag::EconomyBlocked) &&
           !DAT_IsStandby() && !DAT_IsOnlyHotWater() && !DAT_GetFlag(DatFlag::HolidayActive);
}

Result toggle()
{
    if (DAT_GetEconomyMode()) {
        DIS_SendEconomyMode(false);
        return Result::Off;
    }
    if (!mayBeSwitchedOn()) return Result::NotPossible;
    DIS_SendEconomyMode(true); // ends party mode
    return Result::On;
}

void draw()
{
    GFX_Clear();
    KOP_DrawCircuitTitle(TXT_SPARBETRIEB);
    KOP_DrawLine();
    if (result == Result::NotPossible) {
        GFX_TextInRect(TXT_Get(TXT_KEIN_HEIZBETRIEB), REASON_LINE, GFX_ALIGN_CENTER);
        ABF_DrawBoxedStatement(TXT_NICHT_EINSTELLBAR, REFUSAL_BOX);
        FUS_DrawHint(FUS_HINT_BACK);
    } else {
        ABF_DrawBoxedStatement(result == Result::On ? TXT_EIN : TXT_AUS, RESULT_BOX);
        FUS_DrawHint(FUS_HINT_TAKEN);
    }
    UI_StartScreenTimer(FUS_HINT_TICKS);
    lcd_refresh();
}

// Reason 3 is the user's request; any other reason (back from help) shows its result again.
StateHandler sparbetriebFeedback(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        if (e.par == PAR_NAVIGATE) {
            returnState = BMM_LastMenuChild();
            result = toggle();
        }
        draw();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_OK:
    case SIG_KEY_BACK:
    case UI_SCREEN_TIMEOUT: UI_Return(me, returnState, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BSP_SparbetriebFeedback, sparbetriebFeedback);

void BSP_Reset()
{
    returnState = nullptr;
    result = Result::Off;
}
