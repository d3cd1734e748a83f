#include "screens/bhkw.h"

#include <array>

#include "data/datapool.h"
#include "kernel/evt.h"
#include "screens/bhkg.h"
#include "screens/brt.h"
#include "spine/ui_spine.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

// What the selection says in its title, and which help it offers, for the function it leads
// to; any other function is announced as "Heizkreiswahl" with the general help.
struct NextFunction {
    StateHandler state;
    TextId title;
    HelpCode help;
};
constexpr std::array<NextFunction, 2> FUNCTIONS{{
    {&BRT_RaumtemperaturTag, TXT_RAUM_SOLLTEMP, 0},
    {&BHKG_HKGrundeinstellung, TXT_GRUNDEINSTELLUNG, HLP_BEM_GRUNDEINSTELLUNG},
}};

void shortName(uint8_t row, const GFX_Rect& r)
{
    GFX_TextInRect(TXT_Get(row == 0 ? TXT_HK1 : TXT_HK2), r, GFX_ALIGN_RIGHT_CENTER);
}

constexpr std::array<MEN_Row, 2> ROWS{{
    {.text = TXT_HEIZKREIS_1, .draw = shortName},
    {.text = TXT_HEIZKREIS_2, .draw = shortName},
}};
constexpr uint8_t CIRCUIT_OF_ROW_0 = 1;

StateHandler next = nullptr;
StateHandler returnState = nullptr;

const NextFunction* nextFunction()
{
    for (const NextFunction& f : FUNCTIONS)
        if (f.state == next) return &f;
    return nullptr;
}

void drawHeader()
{
    const NextFunction* f = nextFunction();
    KOP_DrawLeft(f != nullptr ? f->title : TXT_HEIZKREISWAHL);
    KOP_DrawLine();
}

MEN_Memory memory;

constexpr MEN_Screen MENU{
    .self = &BHKW_HKWahl,
    .rows = ROWS,
    .memory = &memory,
    .header = drawHeader,
    .geometry = {MEN_STD_LEFT, MEN_STD_RIGHT, MEN_STD_TOP, MEN_STD_HEIGHT, MEN_STD_GAP, 2}};

void openNext(Hsm& me) { UI_Open(me, next); }

// Reason 3: a new function follows, announced by SIG_SET_NEXT_STATE. Any other reason comes
// back from the function: with one circuit there was nothing to choose, so the selection is
// left at once as well.
void init(Hsm& me, uint32_t reason)
{
    if (reason == PAR_NAVIGATE) {
        returnState = BMM_LastMenuChild();
        next = nullptr;
    } else if (DAT_CircuitCount() < 2) {
        EVT_Send(&me, SIG_KEY_BACK);
        return;
    }
    MEN_ScreenPosition(MENU, reason == PAR_NAVIGATE || reason == PAR_REDRAW ? reason : PAR_BACK);
    MEN_ScreenDraw(MENU);
}

void nextState(Hsm& me, uint32_t par)
{
    next = HSM_ParToState(par);
    if (DAT_CircuitCount() >= 2) {
        MEN_ScreenDraw(MENU);
        return;
    }
    DAT_SelectCircuit(DAT_FirstCircuit());
    openNext(me);
}

bool help(Hsm& me)
{
    const NextFunction* f = nextFunction();
    if (f == nullptr || f->help == 0) return false;
    UI_OpenHelp(me, f->help);
    return true;
}

StateHandler hkWahl(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_INIT: init(me, e.par); return nullptr;
    case SIG_SET_NEXT_STATE: nextState(me, e.par); return nullptr;
    case SIG_KEY_OK:
        DAT_SelectCircuit(static_cast<uint8_t>(CIRCUIT_OF_ROW_0 + MEN_GetCursor()));
        openNext(me);
        return nullptr;
    case SIG_KEY_BACK: UI_Return(me, returnState, PAR_BACK); return nullptr;
    case SIG_HELP_REQUEST: return help(me) ? nullptr : &BMM_Menuemonitor;
    }
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BHKW_HKWahl, hkWahl);

void BHKW_Reset()
{
    MEN_ResetMemory(memory);
    next = nullptr;
    returnState = nullptr;
}
