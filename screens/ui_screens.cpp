#include "screens/ui_screens.h"

#include "screens/bbe.h"
#include "screens/bcp.h"
#include "screens/bcpm.h"
#include "screens/bee.h"
#include "screens/bfa.h"
#include "screens/bga.h"
#include "screens/bgm.h"
#include "screens/bha.h"
#include "screens/bhkh.h"
#include "screens/bhkm.h"
#include "screens/bhkw.h"
#include "screens/bla.h"
#include "screens/bma.h"
#include "screens/bpb.h"
#include "screens/bra.h"
#include "screens/brt.h"
#include "screens/bsd.h"
#include "screens/bsp.h"
#include "screens/bspm.h"
#include "screens/bsvm.h"
#include "screens/bww.h"
#include "screens/bwwm.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"

// The screens the spine opens; the keys of a screen the panel does not have do nothing.
const UI_Screens UI_screens{
    &BLA_Laufbalkenanzeige,
    &BGA_Grundanzeige,
    &BGM_Grundmenue,
    &BMA_BedienungGesperrt,
    &BHA_Hilfeanzeige,
    &BSVM_Servicemenue,
    &BCPM_Codierung_2_Menue,
    nullptr, // BTC_TeilnehmerWink
    [] { BRA_SetAngle(0); },
};

void UI_ResetScreens()
{
    BGA_Reset();
    BGM_Reset();
    BEE_Reset();
    BFA_Reset();
    BMA_Reset();
    BSD_Reset();
    BHKM_Reset();
    BHKW_Reset();
    BWWM_Reset();
    BSVM_Reset();
    BSPM_Reset();
    BCPM_Reset();
    BCP_Reset();
    BRT_Reset();
    BWW_Reset();
    BBE_Reset();
    BPB_Reset();
    BSP_Reset();
    BHKH_Reset();
    ABF_Reset();
}
