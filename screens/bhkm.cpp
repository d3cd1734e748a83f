#include "screens/bhkm.h"

#include <array>

#include "data/datapool.h"
#include "screens/bbe.h"
#include "screens/bfa.h"
#include "screens/bgm.h"
#include "screens/bhkh.h"
#include "screens/bpb.h"
#include "screens/brn.h"
#include "screens/brt.h"
#include "screens/bsp.h"
#include "spine/ui_spine.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"
#include "widgets/status_texts.h"

namespace {

// The rows of the functions that are on or off show it with the radio glyph.
void partyMark(uint8_t, const GFX_Rect& r) { MEN_DrawOption(r, DAT_GetPartyMode()); }
void economyMark(uint8_t, const GFX_Rect& r) { MEN_DrawOption(r, DAT_GetEconomyMode()); }
void holidayMark(uint8_t, const GFX_Rect& r) { MEN_DrawOption(r, DAT_GetHolidayStart() != 0); }

// The functions of the current heating circuit; OK does nothing on a row whose screen the
// panel does not have.
constexpr std::array<MEN_Row, 8> ROWS{{
    {.text = TXT_RAUM_SOLLTEMPERATUR,
     .target = &BRT_RaumtemperaturTag,
     .help = HLP_BHKM_RAUM_SOLLTEMPERATUR},
    {.text = TXT_RED_RAUM_SOLLTEMP,
     .target = &BRN_RaumtemperaturNacht,
     .help = HLP_BHKM_RED_RAUM_SOLLTEMP},
    {.text = TXT_BETRIEBSPROGRAMM,
     .target = &BetriebsartEinstellen,
     .help = HLP_BHKM_BETRIEBSPROGRAMM},
    {.text = TXT_PARTYBETRIEB,
     .target = &BPB_Partybetrieb,
     .help = HLP_BHKM_PARTYBETRIEB,
     .draw = partyMark},
    {.text = TXT_SPARBETRIEB,
     .target = &BSP_SparbetriebFeedback,
     .help = HLP_BHKM_SPARBETRIEB,
     .draw = economyMark},
    {.text = TXT_ZEITPROGRAMM_HEIZUNG,
     .target = nullptr /* BHKS_HKSchaltuhr */,
     .help = HLP_BHKM_ZEITPROGRAMM_HEIZUNG},
    {.text = TXT_FERIENPROGRAMM,
     .target = nullptr /* BFP_FerienProgramm */,
     .help = HLP_BHKM_FERIENPROGRAMM,
     .draw = holidayMark},
    {.text = TXT_HEIZKENNLINIE, .target = &BHKH_NeigungNiveauMenue, .help = HLP_BHKM_HEIZKENNLINIE},
}};

// The circuit's name; with two circuits the selector beside it tells that Left and Right
// choose the other one.
void drawHeader()
{
    if (DAT_CircuitCount() >= 2)
        KOP_DrawCircuitName();
    else
        KOP_DrawLeft(TXT_CircuitName());
    KOP_DrawLine();
}

MEN_Memory memory;

constexpr MEN_Screen MENU{.self = &BHKM_HKMenue,
                          .rows = ROWS,
                          .memory = &memory,
                          .header = drawHeader,
                          .back = &BGM_Grundmenue,
                          .backReason = PAR_BACK};

// With one heating circuit there is nothing to choose: the key goes on to the menu monitor.
StateHandler chooseCircuit(Hsm& me, void (*step)())
{
    if (DAT_CircuitCount() < 2) return &BMM_Menuemonitor;
    step();
    UI_Open(me, &BFA_Feedbackanzeige);
    return nullptr;
}

StateHandler hkMenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_LEFT: return chooseCircuit(me, DAT_PrevCircuit);
    case SIG_KEY_RIGHT: return chooseCircuit(me, DAT_NextCircuit);
    }
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BHKM_HKMenue, hkMenue);

void BHKM_Reset() { MEN_ResetMemory(memory); }
