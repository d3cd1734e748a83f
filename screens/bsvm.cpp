#include "screens/bsvm.h"

#include <array>

#include "kernel/evt.h"
#include "screens/bcpm.h"
#include "screens/bgm.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

bool codingLevel2Unlocked() { return BMM_CodingLevel2(); }

// The service menu: what service personnel reach in service mode. A row without target belongs
// to a screen family still to come; OK on it does nothing until the family is there.
constexpr uint8_t ROW_END_SERVICE = 6;
constexpr std::array<MEN_Row, 7> ROWS{{
    {.text = TXT_DIAGNOSE, .target = nullptr /* BDM_DiagnoseMenue */},
    {.text = TXT_AKTORENTEST, .target = nullptr /* BAT_AktorenTest */},
    {.text = TXT_CODIEREBENE_1, .target = &BCPM_Codierung_1_Menue},
    {.text = TXT_CODIEREBENE_2, .target = &BCPM_Codierung_2_Menue, .shown = codingLevel2Unlocked},
    {.text = TXT_FEHLERHISTORIE, .target = nullptr /* BFH_Wahlmenue */},
    {.text = TXT_SERVICEFUNKTIONEN, .target = nullptr /* BIF_InbetriebnahmeMenue */},
    {.text = TXT_SERVICE_BEENDEN_FRAGE, .target = &BSVM_BeendenAbfrage},
}};

MEN_Memory memory;
// Coming back restores the row that was chosen even when rows above it appeared meanwhile.
constexpr MEN_Screen MENU{.self = &BSVM_Servicemenue,
                          .rows = ROWS,
                          .memory = &memory,
                          .title = TXT_SERVICE,
                          .restore = MEN_Restore::Reposition};

StateHandler servicemenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_OK:
        // Leaving service mode is a step inside the menu monitor, not another menu family.
        if (MEN_GetCursor() == ROW_END_SERVICE)
            UI_Continue(me, &BSVM_BeendenAbfrage);
        else
            MEN_OpenCursorRow(MENU, me);
        return nullptr;
    case SIG_KEY_BACK:
        UI_Open(me, &BGM_Grundmenue);
        return nullptr; // service mode stays
    // Nothing here changes by itself, and the rows have no help of their own: the general help.
    case SIG_TICK_5S:
    case SIG_HELP_REQUEST: return &BMM_Menuemonitor;
    }
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

// --- leaving service mode --------------------------------------------------------------------

constexpr GFX_Rect END_ANSWER_RECT{74, 54, 164, 104};

void endFeedback(Hsm& me) { UI_Continue(me, &BSVM_ServiceBeendenFeedback); }
void backToMenu(Hsm& me) { UI_Back(me, &BSVM_Servicemenue, PAR_BACK); }

constexpr ABF_Question END_QUESTION{.title = TXT_SERVICE_BEENDEN_FRAGE,
                                    .yes = endFeedback,
                                    .no = backToMenu,
                                    .back = backToMenu,
                                    .answerRect = END_ANSWER_RECT};

StateHandler beendenAbfrage(Hsm& me, const Event& e)
{
    return ABF_HandleQuestion(END_QUESTION, me, e) ? nullptr : &BMM_Menuemonitor;
}

// The menu monitor ends service mode and goes home.
void endService(Hsm& me) { EVT_Send(&me, SIG_SERVICE_END); }

void drawEndFeedback()
{
    ABF_SetAnswer(true);
    ABF_DrawQuestion(END_QUESTION, false);
}

constexpr ABF_Feedback END_FEEDBACK{
    .draw = drawEndFeedback, .done = endService, .again = endService};

StateHandler serviceBeendenFeedback(Hsm& me, const Event& e)
{
    if (e.sig == SIG_KEY_MENU) {
        endService(me);
        return nullptr;
    }
    return ABF_HandleFeedback(END_FEEDBACK, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BSVM_Servicemenue, servicemenue);
HSM_STATE(BSVM_BeendenAbfrage, beendenAbfrage);
HSM_STATE_JOINED(BSVM_ServiceBeendenFeedback, serviceBeendenFeedback);

void BSVM_Reset() { MEN_ResetMemory(memory); }
