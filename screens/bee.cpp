#include "screens/bee.h"

#include <array>
#include <utility>

#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "pictures.h"
#include "screens/bfa.h"
#include "screens/bga.h"
#include "screens/bha.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"
#include "widgets/status_texts.h"

namespace {

constexpr uint8_t LIST_RIGHT = 158;
constexpr GFX_Rect PICTURE_AREA{159, 28, 239, 131};
constexpr GFX_Rect VALUE_RECT{162, 41, 238, 65};
constexpr int16_t PICTURE_X = 177, PICTURE_Y = 76;
constexpr int16_t DIVIDER_X = 160, DIVIDER_Y0 = 29, DIVIDER_Y1 = 130;

void drawOnOff(bool on)
{
    GFX_TextInRect(TXT_Get(on ? TXT_EIN : TXT_AUS), VALUE_RECT, GFX_ALIGN_CENTER);
}

void roomTemperature()
{
    GFX_DrawBitmap(PIC_RoomTemperature, PICTURE_X, PICTURE_Y);
    FMT_DrawTemperature(VALUE_RECT, DAT_ToDisplayTemp(DAT_GetRoomSetTemp()));
}

// The picture of the active programme, centred in the picture area; none for other modes.
void operatingProgram()
{
    const GFX_Bitmap* picture = DAT_IsStandby()              ? &PIC_ProgramStandby
                                : DAT_IsOnlyHotWater()       ? &PIC_ProgramHotWaterOnly
                                : DAT_IsHeatingAndHotWater() ? &PIC_ProgramHeatingAndHotWater
                                                             : nullptr;
    if (picture == nullptr) return;
    GFX_DrawBitmap(*picture, static_cast<int16_t>((400 - picture->width) / 2),
                   static_cast<int16_t>((159 - picture->height) / 2));
}

void party()
{
    GFX_DrawBitmap(PIC_Party, PICTURE_X, PICTURE_Y);
    drawOnOff(DAT_GetPartyMode());
}

void economy()
{
    GFX_DrawBitmap(PIC_Economy, PICTURE_X, PICTURE_Y);
    drawOnOff(DAT_GetEconomyMode());
}

struct Item {
    TextId text;
    void (*detail)();    // picture and value beside the list while the item is selected
    StateHandler target; // null: a screen of a later stage, OK does nothing
    HelpCode help;
};

// The end-user menu: text, detail, OK target and help code of each item.
constexpr std::array<Item, 4> ITEMS{{
    {TXT_RAUM_SOLLTEMP, roomTemperature, nullptr /* BRT_RaumtemperaturTag */,
     HLP_BEE_RAUM_SOLLTEMP},
    {TXT_BETRIEBSPROGRAMM, operatingProgram, nullptr /* BetriebsartEinstellen */,
     HLP_BEE_BETRIEBSPROGRAMM},
    {TXT_PARTYBETRIEB, party, nullptr /* BPB_Partybetrieb */, HLP_BEE_PARTYBETRIEB},
    {TXT_SPARBETRIEB, economy, nullptr /* BSP_SparbetriebFeedback */, HLP_BEE_SPARBETRIEB},
}};

void drawItem(uint8_t index, const GFX_Rect& r)
{
    GFX_TextInRect(TXT_Get(ITEMS[index].text), r, GFX_ALIGN_LEFT_CENTER);
    if (index != MEN_GetCursor()) return;
    GFX_ClearRect(PICTURE_AREA);
    GFX_DrawVLine(DIVIDER_X, DIVIDER_Y0, DIVIDER_Y1);
    ITEMS[index].detail();
}

template <size_t... I> constexpr auto drawFunctions(std::index_sequence<I...>)
{
    return std::array<MEN_DrawFn, sizeof...(I)>{
        [](const GFX_Rect& r) { drawItem(static_cast<uint8_t>(I), r); }...};
}
constexpr auto DRAW = drawFunctions(std::make_index_sequence<ITEMS.size()>());

uint8_t savedTop = 0;
uint8_t savedCursor = 0;
uint8_t hint = FUS_HINT_SELECT;

void drawHeader()
{
    if (DAT_CircuitCount() > 1)
        KOP_DrawCircuitName();
    else
        KOP_DrawLeft(TXT_CircuitName());
    KOP_DrawLine();
}

void entry()
{
    for (uint8_t i = 0; i < ITEMS.size(); ++i)
        MEN_SetItem(i, DRAW[i]);
    MEN_SetCount(ITEMS.size());
    MEN_Init(MEN_STD_LEFT, LIST_RIGHT, MEN_STD_TOP, MEN_STD_HEIGHT, MEN_STD_GAP, MEN_STD_LINES);
}

// 4 comes back to the remembered item, 5 redraws in place with the hint shown last.
void init(uint32_t par)
{
    if (par == PAR_BACK) MEN_SetPosition(savedTop, savedCursor);
    if (par != PAR_REDRAW) hint = FUS_HINT_SELECT;
    GFX_Clear();
    drawHeader();
    MEN_Draw();
    FUS_DrawHint(hint);
    lcd_refresh();
}

// With one heating circuit there is nothing to choose: the key goes on to the menu monitor.
StateHandler chooseCircuit(Hsm& me, void (*step)())
{
    if (DAT_CircuitCount() < 2) return &BMM_Menuemonitor;
    step();
    HSM_Tran(me, &BKE_Kontrasteinstellung, &BFA_Feedbackanzeige, PAR_NAVIGATE);
    return nullptr;
}

StateHandler endbenutzermenue(Hsm& me, const Event& e)
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
    case SIG_KEY_LEFT: return chooseCircuit(me, DAT_PrevCircuit);
    case SIG_KEY_RIGHT: return chooseCircuit(me, DAT_NextCircuit);
    case SIG_KEY_OK:
        if (ITEMS[MEN_GetCursor()].target != nullptr)
            HSM_Tran(me, &BKE_Kontrasteinstellung, ITEMS[MEN_GetCursor()].target, PAR_NAVIGATE);
        return nullptr;
    case SIG_KEY_BACK: HSM_Tran(me, &BMM_Menuemonitor, &BGA_Grundanzeige, PAR_BACK); return nullptr;
    case SIG_REFRESH: hint = MEN_SelectHintAgain(); return nullptr;
    case SIG_TICK_5S:
        HSM_Tran(me, &BEE_Endbenutzermenue, &BEE_Endbenutzermenue, PAR_REDRAW);
        return nullptr;
    case SIG_HELP_REQUEST:
        HSM_Tran(me, &BKE_Kontrasteinstellung, &BHA_Hilfeanzeige, ITEMS[MEN_GetCursor()].help);
        return nullptr;
    }
    return &BMM_Menuemonitor;
}

} // namespace

const State BEE_Endbenutzermenue{"BEE_Endbenutzermenue", endbenutzermenue};
