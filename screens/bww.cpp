#include "screens/bww.h"

#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/screen.h"
#include "widgets/ved.h"

namespace {

StateHandler returnState = nullptr;

int16_t stored() { return DAT_ToDisplayTemp(DAT_GetDhwSetTemp()); }

// The controller's limits. A maximum below the minimum would leave the editor no value to
// offer: the minimum is then the only one.
VED_Limits limits()
{
    const uint8_t min = DAT_GetDhwSetTempMin();
    const uint8_t max = DAT_GetDhwSetTempMax() < min ? min : DAT_GetDhwSetTempMax();
    return {DAT_ToDisplayTemp(min), DAT_ToDisplayTemp(max), 1};
}

void send(int16_t value) { DIS_SendDhwSetTemp(static_cast<uint8_t>(DAT_FromDisplayTemp(value))); }

// One hot-water temperature for the whole plant: no circuit in the title.
constexpr VED_Screen EDITOR{.title = TXT_WARMWASSERTEMPERATUR,
                            .get = stored,
                            .limits = limits,
                            .send = send,
                            .format = FMT_DrawTemperature,
                            .container = &BWW_Warmwasser,
                            .dialog = &BWW_TemperaturDialog,
                            .feedback = &BWW_Feedback,
                            .help = HLP_BGA_WARMWASSER};

StateHandler warmwasser(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        if (e.par != PAR_REDRAW) returnState = BMM_LastMenuChild();
        VED_ScreenSetUp(EDITOR);
        HSM_Start(me, DAT_GetDhwSetAtPanel() ? &BWW_TemperaturDialog : &BWW_Fernbedienung,
                  PAR_NAVIGATE);
        return nullptr;
    case SIG_KEY_BACK: UI_Return(me, returnState, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

StateHandler temperaturDialog(Hsm& me, const Event& e)
{
    return VED_HandleDialog(EDITOR, me, e) ? nullptr : &BWW_Warmwasser;
}

StateHandler feedback(Hsm& me, const Event& e)
{
    return VED_HandleFeedback(EDITOR, me, e) ? nullptr : &BWW_Warmwasser;
}

// The value belongs to a remote control: every key but Back only ends the function.
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
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: EVT_Send(&me, SIG_KEY_BACK); return nullptr;
    }
    return &BWW_Warmwasser;
}

} // namespace

HSM_STATE(BWW_Warmwasser, warmwasser);
HSM_STATE(BWW_TemperaturDialog, temperaturDialog);
HSM_STATE(BWW_Fernbedienung, fernbedienung);
HSM_STATE(BWW_Feedback, feedback);

void BWW_Reset() { returnState = nullptr; }
