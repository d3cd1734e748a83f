#include "screens/brn.h"

#include "data/datapool.h"
#include "link/dis.h"
#include "screens/bhkm.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/ved.h"

namespace {

void drawHeader()
{
    KOP_DrawCircuitTitle(TXT_RED_RAUM_SOLLTEMP);
    KOP_DrawLine();
}

int16_t stored() { return DAT_ToDisplayTemp(DAT_GetRoomSetTempReduced()); }

VED_Limits limits()
{
    return {DAT_ToDisplayTemp(DAT_ROOM_SET_TEMP_MIN), DAT_ToDisplayTemp(DAT_ROOM_SET_TEMP_MAX), 1};
}

void send(int16_t value)
{
    DIS_SendRoomSetTempReduced(static_cast<uint8_t>(DAT_FromDisplayTemp(value)));
}

constexpr VED_Screen EDITOR{.header = drawHeader,
                            .get = stored,
                            .limits = limits,
                            .send = send,
                            .format = FMT_DrawTemperature,
                            .container = &BRN_RaumtemperaturNacht,
                            .dialog = &BRN_TemperaturDialog,
                            .feedback = &BRN_Feedback};

// A remote control holds only the normal set value: the reduced one is always edited here.
StateHandler raumtemperaturNacht(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        VED_ScreenSetUp(EDITOR);
        HSM_Start(me, &BRN_TemperaturDialog, PAR_NAVIGATE);
        return nullptr;
    case SIG_KEY_BACK: UI_Back(me, &BHKM_HKMenue, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

StateHandler temperaturDialog(Hsm& me, const Event& e)
{
    return VED_HandleDialog(EDITOR, me, e) ? nullptr : &BRN_RaumtemperaturNacht;
}

StateHandler feedback(Hsm& me, const Event& e)
{
    return VED_HandleFeedback(EDITOR, me, e) ? nullptr : &BRN_RaumtemperaturNacht;
}

} // namespace

HSM_STATE(BRN_RaumtemperaturNacht, raumtemperaturNacht);
HSM_STATE(BRN_TemperaturDialog, temperaturDialog);
HSM_STATE(BRN_Feedback, feedback);
