#include "data/datapool.h"
#include "display/lcd.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "spine/ui_spine.h"

namespace {

// The new contrast becomes the pool's and the controller's, and an open contrast screen
// redraws its bar.
void contrastChanged(Hsm& me, uint8_t contrast)
{
    DAT_SetDisplayContrast(contrast);
    DAT_ApplyDisplaySettings();
    DIS_SendDisplaySettings();
    EVT_Send(&me, SIG_CONTRAST_CHANGED, contrast);
}

StateHandler kontrasteinstellung(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        if (e.par == START_3UHR) {
            // After the 3 o'clock restart straight back to the basic display.
            EVT_Post(PRIO_LINK, SIG_LINK_START);
            HSM_Start(me, &BMM_Menuemonitor, START_3UHR);
        } else {
            BMM_SetRestart3UhrAllowed(0);
            if (UI_screens.resetIdleAnimation) UI_screens.resetIdleAnimation();
            HSM_Start(me, UI_screens.startupDisplay, e.par);
        }
        // The CPU ticks start only once the whole user interface exists.
        EVT_Post(PRIO_TIMER, SIG_TIM_ENABLE);
        return nullptr;
    case SIG_KEY_ANY:
        BMM_SetUserActive(true);
        EVT_Post(PRIO_TIMER, SIG_TMR_MENU, BMM_MenuTimeout());
        if (BMM_ServiceMode()) EVT_Post(PRIO_TIMER, SIG_TMR_SERVICE, BMM_SERVICE_TIMEOUT);
        return nullptr;
    case SIG_KEY_OK_UP:
    case SIG_CONTRAST_INC: contrastChanged(me, lcd_contrastUp()); return nullptr;
    case SIG_KEY_OK_DOWN:
    case SIG_CONTRAST_DEC: contrastChanged(me, lcd_contrastDown()); return nullptr;
    case SIG_CONTRAST_SET:
        DAT_SetDisplayContrast(static_cast<uint8_t>(e.par & 0xFF));
        DAT_ApplyDisplaySettings();
        DIS_SendDisplaySettings();
        return nullptr;
    case SIG_MENU_TIMEOUT:
        BMM_SetUserActive(false);
        // Every screen below the menu monitor goes home; during the start-up display the
        // menu monitor is not active and the engine refuses the transition.
        HSM_Tran(me, &BMM_Menuemonitor, UI_screens.basicDisplay, PAR_NAVIGATE);
        return nullptr;
    case SIG_TICK_5S: lcd_refresh(); return nullptr;
    }
    return &BSM_Systemmonitor;
}

} // namespace

HSM_STATE(BKE_Kontrasteinstellung, kontrasteinstellung);
