#include "kernel/app.h"

namespace {

// Restart-surviving: initialised when the program is loaded, never by start-up.
AppPersistent persistent{};

} // namespace

AppPersistent& APP_Persistent() { return persistent; }

uint8_t APP_StartType(AppPersistent& p)
{
    if (p.startMagic != APP_START_MAGIC) {
        p.startMagic = APP_START_MAGIC;
        p.resetReason = RESET_NORMAL;
        return START_COLD;
    }
    const uint8_t r = p.resetReason;
    if (r == RESET_3UHR) return START_3UHR;
    if (r == RESET_CONTROLLER) return START_CONTROLLER;
    if (r >= RESET_ERROR_FIRST && r <= RESET_ERROR_LAST) return START_ERROR;
    if (r >= RESET_COLD_FIRST && r <= RESET_COLD_LAST) return START_COLD;
    // Not a known reason (0 after the first start among them): a cold start.
    p.resetReason = RESET_UNKNOWN;
    return START_COLD;
}

void APP_RequestRestart() { persistent.restartFlag = 1; }
uint8_t APP_ResetReason() { return persistent.resetReason; }
void APP_SetResetReason(uint8_t reason) { persistent.resetReason = reason; }
bool APP_GuardDestroyed() { return persistent.memoryGuard != APP_MEMORY_GUARD; }
