#include "screens/bwwm.h"

#include <array>

#include "data/datapool.h"
#include "screens/bgm.h"
#include "screens/bww.h"
#include "spine/ui_spine.h"
#include "widgets/men.h"

namespace {

bool dhwShown() { return DAT_GetDhwPresent(); }
bool circulationShown() { return DAT_GetFlag(DatFlag::CirculationPumpConfigured); }

// The hot-water functions; OK does nothing on a row whose screen the panel does not have (the
// time programs).
constexpr std::array<MEN_Row, 3> ROWS{{
    {.text = TXT_WARMWASSERTEMPERATUR,
     .target = &BWW_Warmwasser,
     .help = HLP_BWWM_WARMWASSERTEMPERATUR,
     .shown = dhwShown},
    {.text = TXT_ZEITPROGR_WARMWASSER,
     .target = nullptr /* BWWS_WWSchaltuhr */,
     .help = HLP_BWWM_ZEITPROGR_WARMWASSER,
     .shown = dhwShown},
    {.text = TXT_ZEITPROGR_ZIRKULATION,
     .target = nullptr /* BZPS_ZPSchaltuhr */,
     .help = HLP_BWWM_ZEITPROGR_ZIRKULATION,
     .shown = circulationShown},
}};

MEN_Memory memory;

constexpr MEN_Screen MENU{.self = &BWWM_WWMenue,
                          .rows = ROWS,
                          .memory = &memory,
                          .title = TXT_WARMWASSER,
                          .back = &BGM_Grundmenue,
                          .backReason = PAR_BACK};

StateHandler wwMenue(Hsm& me, const Event& e)
{
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BWWM_WWMenue, wwMenue);

void BWWM_Reset() { MEN_ResetMemory(memory); }
