#include "screens/brt.h"

#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/ved.h"

namespace {

StateHandler returnState = nullptr;

void drawHeader()
{
    KOP_DrawCircuitTitle(TXT_RAUM_SOLLTEMPERATUR);
    KOP_DrawLine();
}

int16_t stored() { return DAT_ToDisplayTemp(DAT_GetRoomSetTemp()); }

VED_Limits limits()
{
    return {DAT_ToDisplayTemp(DAT_ROOM_SET_TEMP_MIN), DAT_ToDisplayTemp(DAT_ROOM_SET_TEMP_MAX), 1};
}

void send(int16_t value) { DIS_SendRoomSetTemp(static_cast<uint8_t>(DAT_FromDisplayTemp(value))); }

constexpr VED_Screen EDITOR{.header = drawHeader,
                            .get = stored,
                            .limits = limits,
                            .send = send,
                            .format = FMT_DrawTemperature,
                            .container = &BRT_RaumtemperaturTag,
                            .dialog = &BRT_TemperaturDialog,
                            .feedback = &BRT_Feedback};

StateHandler raumtemperaturTag(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        if (e.par != PAR_REDRAW) returnState = BMM_LastMenuChild();
        VED_ScreenSetUp(EDITOR);
        // A remote control on the circuit owns the value: the panel only shows it.
        HSM_Start(me, DAT_HasRemoteControl() ? &BRT_Fernbedienung : &BRT_TemperaturDialog,
                  PAR_NAVIGATE);
        return nullptr;
    case SIG_KEY_BACK: UI_Return(me, returnState, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

StateHandler temperaturDialog(Hsm& me, const Event& e)
{
    return VED_HandleDialog(EDITOR, me, e) ? nullptr : &BRT_RaumtemperaturTag;
}

StateHandler feedback(Hsm& me, const Event& e)
{
    return VED_HandleFeedback(EDITOR, me, e) ? nullptr : &BRT_RaumtemperaturTag;
}

// The arrow keys are not this screen's: they climb past the family.
StateHandler fernbedienung(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        VED_ScreenDraw(EDITOR, false, FUS_HINT_SEE_REMOTE_CONTROL);
        UI_StartScreenTimer(FUS_HINT_TICKS);
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: EVT_Send(&me, SIG_KEY_BACK); return nullptr;
    }
    return &BRT_RaumtemperaturTag;
}

} // namespace

HSM_STATE(BRT_RaumtemperaturTag, raumtemperaturTag);
HSM_STATE(BRT_TemperaturDialog, temperaturDialog);
HSM_STATE(BRT_Fernbedienung, fernbedienung);
HSM_STATE(BRT_Feedback, feedback);

void BRT_Reset() { returnState = nullptr; }
