#include "screens/bee.h"

#include <array>

#include "data/datapool.h"
#include "pictures.h"
#include "screens/bbe.h"
#include "screens/bfa.h"
#include "screens/bga.h"
#include "screens/bpb.h"
#include "screens/brt.h"
#include "screens/bsp.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"
#include "widgets/status_texts.h"

namespace {

constexpr GFX_Rect VALUE_RECT{162, 41, 238, 65};
constexpr int16_t PICTURE_X = 177, PICTURE_Y = 76;

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

// The end-user menu, each row with its picture and value beside the list; OK does nothing on a
// row whose screen the panel does not have.
constexpr std::array<MEN_Row, 4> ROWS{{
    {.text = TXT_RAUM_SOLLTEMP,
     .target = &BRT_RaumtemperaturTag,
     .help = HLP_BEE_RAUM_SOLLTEMP,
     .detail = roomTemperature},
    {.text = TXT_BETRIEBSPROGRAMM,
     .target = &BetriebsartEinstellen,
     .help = HLP_BEE_BETRIEBSPROGRAMM,
     .detail = operatingProgram},
    {.text = TXT_PARTYBETRIEB,
     .target = &BPB_Partybetrieb,
     .help = HLP_BEE_PARTYBETRIEB,
     .detail = party},
    {.text = TXT_SPARBETRIEB,
     .target = &BSP_SparbetriebFeedback,
     .help = HLP_BEE_SPARBETRIEB,
     .detail = economy},
}};

void drawHeader()
{
    if (DAT_CircuitCount() > 1)
        KOP_DrawCircuitName();
    else
        KOP_DrawLeft(TXT_CircuitName());
    KOP_DrawLine();
}

MEN_Memory memory;

constexpr MEN_Screen MENU{.self = &BEE_Endbenutzermenue,
                          .rows = ROWS,
                          .memory = &memory,
                          .header = drawHeader,
                          .geometry = MEN_BESIDE_DETAIL,
                          .back = &BGA_Grundanzeige,
                          .backReason = PAR_BACK,
                          .restore = MEN_Restore::Reposition};

// With one heating circuit there is nothing to choose: the key goes on to the menu monitor.
StateHandler chooseCircuit(Hsm& me, void (*step)())
{
    if (DAT_CircuitCount() < 2) return &BMM_Menuemonitor;
    step();
    UI_Open(me, &BFA_Feedbackanzeige);
    return nullptr;
}

StateHandler endbenutzermenue(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_LEFT: return chooseCircuit(me, DAT_PrevCircuit);
    case SIG_KEY_RIGHT: return chooseCircuit(me, DAT_NextCircuit);
    }
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BEE_Endbenutzermenue, endbenutzermenue);

void BEE_Reset() { MEN_ResetMemory(memory); }
