#include <cstdio>

#include "display/lcd.h"
#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "sim/hal/debug.h"
#include "sim/hal/hal.h"
#include "spine/ui_spine.h"

namespace {

constexpr uint8_t ALIGN_CENTRED = 14;

uint8_t wdMask = 0x3C;

void restart(Hsm& me, uint8_t reason)
{
    EVT_Post(PRIO_TIMER, SIG_TIM_DISABLE);
    EVT_Post(PRIO_LINK, SIG_LINK_STOP);
    APP_SetResetReason(reason);
    HSM_Tran(me, &HSM_Top, &BSM_SystemReset);
}

StateHandler systemmonitor(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT: HSM_Start(me, &BKE_Kontrasteinstellung, e.par); return nullptr;
    case SIG_ALIVE_ADC: BSM_WatchdogCheckIn(5); return nullptr;
    case SIG_ALIVE_KEYS: BSM_WatchdogCheckIn(2); return nullptr;
    case SIG_ALIVE_TICK10: BSM_WatchdogCheckIn(3); return nullptr;
    case SIG_ALIVE_TICK100: BSM_WatchdogCheckIn(4); return nullptr;
    case SIG_3UHR_RESTART:
        DBG_Printf("\n*SIG_3UHR_RESTART");
        // Only while the panel sits idle; the controller repeats its request.
        if (BMM_Restart3UhrAllowed() == 1) restart(me, RESET_3UHR);
        return nullptr;
    case SIG_REG_RESET:
        DBG_Printf("\n*SIG_REG_RESET");
        restart(me, RESET_CONTROLLER);
        return nullptr;
    case SIG_BED_ERROR_RESET:
        DBG_Printf("\n*SIG_BED_ERROR_RESET: %d", static_cast<int>(e.par));
        restart(me, static_cast<uint8_t>(e.par & 0xFF));
        return nullptr;
    }
    return &HSM_Top;
}

void showReset()
{
    GFX_Clear();
    GFX_TextInRect(TXT_Get(TXT_RESET), GFX_Rect{0, 0, 239, 79}, ALIGN_CENTRED);
    char code[48];
    const uint16_t n = TXT_GetInto(TXT_CODE, code, sizeof code - 8);
    snprintf(code + n, sizeof code - n, ": %u", APP_ResetReason());
    GFX_TextInRect(code, GFX_Rect{0, 79, 239, 159}, ALIGN_CENTRED);
}

StateHandler systemReset(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        HAL_WatchdogStop();
        // Both reset bits match no service pattern: the watchdog is no longer served.
        BSM_WatchdogCheckIn(0);
        BSM_WatchdogCheckIn(1);
        return nullptr;
    case SIG_INIT:
        showReset();
        APP_RequestRestart();
        lcd_refresh();
        return nullptr;
    case SIG_EXIT: return nullptr;
    }
    return &HSM_Top;
}

} // namespace

HSM_STATE(BSM_Systemmonitor, systemmonitor);
HSM_STATE(BSM_SystemReset, systemReset);

void BSM_ColdRestart(Hsm& me)
{
    EVT_Post(PRIO_TIMER, SIG_TIM_DISABLE);
    APP_Persistent().startMagic = 0;
    HSM_Tran(me, &HSM_Top, &BSM_SystemReset);
}

void BSM_InitWatchdog(uint8_t) { wdMask = 0x3C; }

uint8_t BSM_WatchdogMask() { return wdMask; }

void BSM_WatchdogCheckIn(uint8_t bit)
{
    wdMask = static_cast<uint8_t>(wdMask | 1u << bit);
    switch (wdMask) {
    case 0x3C: // all four periodic check-ins since the last service
        HAL_WatchdogService();
        HAL_WatchdogService();
        wdMask = 0;
        break;
    case 0x3E:
        HAL_WatchdogService();
        wdMask = 2;
        break;
    case 0x3D:
        HAL_WatchdogService();
        wdMask = 1;
        break;
    default: return;
    }
    HAL_WatchdogHook();
}
