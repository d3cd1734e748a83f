#include "screens/bpb.h"

#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"
#include "widgets/fmt.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/ved.h"

namespace {

constexpr GFX_Rect STATEMENT_BOX{0, 27, 239, 132};

StateHandler returnState = nullptr;

void drawHeader()
{
    KOP_DrawCircuitTitle(TXT_PARTYBETRIEB);
    KOP_DrawLine();
}

// The party starts from the normal room temperature, which the user raises from there.
int16_t startValue() { return DAT_ToDisplayTemp(DAT_GetRoomSetTemp()); }

VED_Limits limits()
{
    return {DAT_ToDisplayTemp(DAT_PARTY_SET_TEMP_MIN), DAT_ToDisplayTemp(DAT_ROOM_SET_TEMP_MAX), 1};
}

// Party on first (which ends economy mode), then its temperature.
void send(int16_t value)
{
    DIS_SendPartyMode(true);
    DIS_SendPartySetTemp(static_cast<uint8_t>(DAT_FromDisplayTemp(value)));
}

constexpr VED_Screen EDITOR{.header = drawHeader,
                            .get = startValue,
                            .limits = limits,
                            .send = send,
                            .format = FMT_DrawTemperature,
                            .container = &BPB_Partybetrieb,
                            .dialog = &BPB_PartybetriebRaumtemperatur,
                            .feedback = &BPB_PartybetriebFeedback};

StateHandler partybetrieb(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        if (e.par != PAR_REDRAW) returnState = BMM_LastMenuChild();
        VED_ScreenSetUp(EDITOR);
        HSM_Start(me, DAT_GetPartyMode() ? &BPB_PartybetriebReset : &BPB_PartybetriebRaumtemperatur,
                  PAR_NAVIGATE);
        return nullptr;
    case SIG_KEY_BACK: UI_Return(me, returnState, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

StateHandler raumtemperatur(Hsm& me, const Event& e)
{
    return VED_HandleDialog(EDITOR, me, e) ? nullptr : &BPB_Partybetrieb;
}

StateHandler feedback(Hsm& me, const Event& e)
{
    return VED_HandleFeedback(EDITOR, me, e) ? nullptr : &BPB_Partybetrieb;
}

// Entered while the party runs: it ends without a question. Coming back from help shows the
// result again without sending twice.
StateHandler reset(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        if (e.par == PAR_NAVIGATE) DIS_SendPartyMode(false);
        GFX_Clear();
        drawHeader();
        ABF_DrawBoxedStatement(TXT_AUS, STATEMENT_BOX);
        FUS_DrawHint(FUS_HINT_TAKEN);
        UI_StartScreenTimer(FUS_HINT_TICKS);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: EVT_Send(&me, SIG_KEY_BACK); return nullptr;
    }
    return &BPB_Partybetrieb;
}

} // namespace

HSM_STATE(BPB_Partybetrieb, partybetrieb);
HSM_STATE(BPB_PartybetriebRaumtemperatur, raumtemperatur);
HSM_STATE(BPB_PartybetriebFeedback, feedback);
HSM_STATE(BPB_PartybetriebReset, reset);

void BPB_Reset() { returnState = nullptr; }
