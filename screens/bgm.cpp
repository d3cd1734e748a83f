#include "screens/bgm.h"

#include <array>

#include "data/datapool.h"
#include "pictures.h"
#include "screens/bga.h"
#include "screens/bhkm.h"
#include "screens/bsd.h"
#include "screens/bsvm.h"
#include "screens/bwwm.h"
#include "spine/ui_spine.h"
#include "widgets/men.h"

namespace {

bool faultShown() { return DAT_GetFaultPresent() || DAT_GetFaultPending() != 0; }
bool maintenanceShown() { return DAT_MaintenanceFlagged(); }
bool dhwShown() { return DAT_GetDhwPresent() || DAT_GetFlag(DatFlag::DhwConfigured); }
bool serviceShown() { return BMM_ServiceMode(); }
void selectFirstCircuit() { DAT_SelectCircuit(DAT_FirstCircuit()); }

// The main menu; OK does nothing on a row whose screen the panel does not have.
constexpr std::array<MEN_Row, 7> ROWS{{
    {.text = TXT_STOERUNG,
     .target = &BSD_Stoerungsdialog,
     .help = HLP_BGM_STOERUNG,
     .shown = faultShown,
     .icon = &PIC_IconStoerung},
    {.text = TXT_WARTUNG,
     .target = nullptr /* BWD_WartungsDialog */,
     .help = HLP_BGM_WARTUNG,
     .shown = maintenanceShown,
     .icon = &PIC_IconWartung},
    {.text = TXT_HEIZUNG,
     .target = &BHKM_HKMenue,
     .help = HLP_BGM_HEIZUNG,
     .icon = &PIC_IconHeizung,
     .beforeOpen = selectFirstCircuit},
    {.text = TXT_WARMWASSER,
     .target = &BWWM_WWMenue,
     .help = HLP_BGM_WARMWASSER,
     .shown = dhwShown,
     .icon = &PIC_IconWarmwasser},
    {.text = TXT_INFORMATION,
     .target = nullptr /* BEIM_ExpertInfoMenue */,
     .help = HLP_BGM_INFORMATION,
     .icon = &PIC_IconInformation},
    {.text = TXT_EINSTELLUNGEN,
     .target = nullptr /* BEM_EinstellungenMenue */,
     .help = HLP_BGM_EINSTELLUNGEN,
     .icon = &PIC_IconEinstellungen},
    {.text = TXT_SERVICE,
     .target = &BSVM_Servicemenue,
     .help = HLP_BGM_SERVICE,
     .shown = serviceShown,
     .icon = &PIC_IconService},
}};

MEN_Memory memory;

// Back goes home with a fresh start.
constexpr MEN_Screen MENU{.self = &BGM_Grundmenue,
                          .rows = ROWS,
                          .memory = &memory,
                          .title = TXT_MENUE,
                          .back = &BGA_Grundanzeige,
                          .backReason = PAR_NAVIGATE};

StateHandler grundmenue(Hsm& me, const Event& e)
{
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BGM_Grundmenue, grundmenue);

void BGM_Reset() { MEN_ResetMemory(memory); }
