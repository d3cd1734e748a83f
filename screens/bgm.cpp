#include "screens/bgm.h"

#include <array>
#include <utility>

#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "pictures.h"
#include "screens/bga.h"
#include "screens/bha.h"
#include "screens/bsd.h"
#include "spine/ui_spine.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

bool always() { return true; }
bool faultShown() { return DAT_GetFaultPresent() || DAT_GetFaultPending() != 0; }
bool maintenanceShown() { return DAT_MaintenanceFlagged(); }
bool dhwShown() { return DAT_GetDhwPresent() || DAT_GetFlag(DatFlag::DhwConfigured); }
bool serviceShown() { return BMM_ServiceMode(); }

struct Item {
    TextId text;
    const GFX_Bitmap* icon;
    bool firstCircuit;   // OK first makes the first present heating circuit the current one
    StateHandler target; // null: a screen of a later stage, OK does nothing
    HelpCode help;
    bool (*shown)();
};

// The main menu: text, icon, OK target and help code of each item.
constexpr std::array<Item, 7> ITEMS{{
    {TXT_STOERUNG, &PIC_IconStoerung, false, &BSD_Stoerungsdialog, HLP_BGM_STOERUNG, faultShown},
    {TXT_WARTUNG, &PIC_IconWartung, false, nullptr /* BWD_WartungsDialog */, HLP_BGM_WARTUNG,
     maintenanceShown},
    {TXT_HEIZUNG, &PIC_IconHeizung, true, nullptr /* BHKM_HKMenue */, HLP_BGM_HEIZUNG, always},
    {TXT_WARMWASSER, &PIC_IconWarmwasser, false, nullptr /* BWWM_WWMenue */, HLP_BGM_WARMWASSER,
     dhwShown},
    {TXT_INFORMATION, &PIC_IconInformation, false, nullptr /* BEIM_ExpertInfoMenue */,
     HLP_BGM_INFORMATION, always},
    {TXT_EINSTELLUNGEN, &PIC_IconEinstellungen, false, nullptr /* BEM_EinstellungenMenue */,
     HLP_BGM_EINSTELLUNGEN, always},
    {TXT_SERVICE, &PIC_IconService, false, nullptr /* BSVM_Servicemenue */, HLP_BGM_SERVICE,
     serviceShown},
}};

template <size_t... I> constexpr auto drawFunctions(std::index_sequence<I...>)
{
    return std::array<MEN_DrawFn, sizeof...(I)>{
        [](const GFX_Rect& r) { MEN_DrawTextIconItem(ITEMS[I].text, *ITEMS[I].icon, r); }...};
}
constexpr auto DRAW = drawFunctions(std::make_index_sequence<ITEMS.size()>());

uint8_t savedTop = 0;
uint8_t savedCursor = 0;
uint8_t hint = FUS_HINT_SELECT;

void applyVisibility()
{
    for (uint8_t i = 0; i < ITEMS.size(); ++i)
        MEN_SetItemVisible(i, ITEMS[i].shown());
}

void entry()
{
    for (uint8_t i = 0; i < ITEMS.size(); ++i)
        MEN_SetItem(i, DRAW[i]);
    MEN_SetCount(ITEMS.size());
    applyVisibility();
    MEN_InitStandard();
}

void startAtFirst()
{
    MEN_SetTop(MEN_FirstVisible());
    MEN_SetCursor(MEN_FirstVisible());
}

// 3 starts afresh, 4 comes back to the remembered item, any other value redraws in place.
void init(uint32_t par)
{
    if (par == PAR_NAVIGATE || par == PAR_BACK) hint = FUS_HINT_SELECT;
    if (par == PAR_NAVIGATE) startAtFirst();
    if (par == PAR_BACK) {
        if (MEN_IsVisible(savedTop) && MEN_IsVisible(savedCursor))
            MEN_SetPosition(savedTop, savedCursor);
        else
            startAtFirst();
    }
    GFX_Clear();
    KOP_DrawLeft(TXT_MENUE);
    KOP_DrawLine();
    applyVisibility();
    MEN_Draw();
    FUS_DrawHint(hint);
    lcd_refresh();
}

void openItem(Hsm& me)
{
    const Item& item = ITEMS[MEN_GetCursor()];
    if (item.firstCircuit) DAT_SelectCircuit(DAT_FirstCircuit());
    if (item.target != nullptr) HSM_Tran(me, &BKE_Kontrasteinstellung, item.target, PAR_NAVIGATE);
}

StateHandler grundmenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: entry(); return nullptr;
    case SIG_INIT: init(e.par); return nullptr;
    case SIG_EXIT:
        savedTop = MEN_GetTop();
        savedCursor = MEN_GetCursor();
        UI_ScreenExit();
        return nullptr;
    case SIG_KEY_UP: hint = MEN_MoveWithHint(MenuMove::Up); return nullptr;
    case SIG_KEY_DOWN: hint = MEN_MoveWithHint(MenuMove::Down); return nullptr;
    case SIG_KEY_OK: openItem(me); return nullptr;
    case SIG_KEY_BACK:
        HSM_Tran(me, &BMM_Menuemonitor, &BGA_Grundanzeige, PAR_NAVIGATE);
        return nullptr;
    case SIG_REFRESH: hint = MEN_SelectHintAgain(); return nullptr;
    case SIG_TICK_5S: HSM_Tran(me, &BGM_Grundmenue, &BGM_Grundmenue, PAR_REDRAW); return nullptr;
    case SIG_HELP_REQUEST:
        HSM_Tran(me, &BKE_Kontrasteinstellung, &BHA_Hilfeanzeige, ITEMS[MEN_GetCursor()].help);
        return nullptr;
    }
    return &BMM_Menuemonitor;
}

} // namespace

const State BGM_Grundmenue{"BGM_Grundmenue", grundmenue};
