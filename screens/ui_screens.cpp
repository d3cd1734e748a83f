#include "kernel/ui_spine.h"

// The screens the spine opens. Screens of later stages are not there yet: their keys do
// nothing until they are.
const UI_Screens UI_screens{
    nullptr, // BLA_Laufbalkenanzeige
    nullptr, // BGA_Grundanzeige
    nullptr, // BGM_Grundmenue
    nullptr, // BMA_BedienungGesperrt
    nullptr, // BHA_Hilfeanzeige
    nullptr, // BSVM_Servicemenue
    nullptr, // BCPM_Codierung_2_Menue
    nullptr, // BTC_TeilnehmerWink
    nullptr,
};
