#include "kernel/app.h"

#include "data/datapool.h"
#include "gfx/gfx.h"
#include "kernel/dtm.h"
#include "kernel/evt.h"
#include "kernel/tas.h"
#include "kernel/ui_spine.h"
#include "link/dis_task.h"
#include "link/uart.h"
#include "sim/bel.h"
#include "sim/debug.h"
#include "sim/hal.h"
#include "sim/host.h"
#include "sim/instance.h"
#include "sim/intrinsics.h"
#include "ui/fonts.h"
#include "ui/text.h"

namespace {

// Restart-surviving: initialised when the program is loaded, never by start-up.
AppPersistent persistent{};

StateHandler uiRoot = &BSM_Systemmonitor;

} // namespace

AppPersistent& APP_Persistent() { return persistent; }

void APP_SetUserInterface(StateHandler root) { uiRoot = root ? root : &BSM_Systemmonitor; }

uint8_t APP_StartType(AppPersistent& p)
{
    if (p.startMagic != APP_START_MAGIC) {
        p.startMagic = APP_START_MAGIC;
        p.resetReason = RESET_NORMAL;
        return 1;
    }
    const uint8_t r = p.resetReason;
    if (r == RESET_3UHR) return 2;
    if (r == RESET_CONTROLLER) return 3;
    if (r >= 128 && r <= 136) return 4;
    if (r >= 32 && r <= 38) return 1;
    // Not a known reason (0 after the first start among them): a cold start.
    p.resetReason = RESET_UNKNOWN;
    return 1;
}

uint8_t APP_Init()
{
    persistent.memoryGuard = APP_MEMORY_GUARD;
    const uint8_t startType = APP_StartType(persistent);
    persistent.resetInfo = 0xFFFF;

    IAR_Intrinsics_Init();
    __disable_interrupt();
    BSM_InitWatchdog(startType);
    HAL_PortInit();
    HAL_PortInit2();
    HAL_AdcInit();

    for (uint8_t p = PRIO_LIGHT; p <= PRIO_LINK; ++p)
        EVT_Construct(p);
    UART0_Init();
    TXT_Init();
    DAT_ClearAll(startType);
    BMM_ClearFlags();
    GFX_Init(&FNT_GetNormal());
    EVT_ClearReady();
    EVT_Construct(PRIO_UI);
    return startType;
}

void APP_Start(uint8_t startType)
{
    HAL_DriverStart();
    HAL_AdcStart();
    HAL_AdcStart2();
    HSM_Start(PRIO_LIGHT, &BEL_BeleuchtungTask, startType);
    HSM_Start(PRIO_KEYS, &TAS_TastaturTask, startType);
    HSM_Start(PRIO_TIMER, &DTM_TimerTask, startType);
    HSM_Start(PRIO_LINK, &DIS_I2C_Task, startType);
    __enable_interrupt();
    if (uiRoot != nullptr) HSM_Start(PRIO_UI, uiRoot, startType == 2 ? 2 : 1);
}

void APP_IdleLoop()
{
    do {
        EVT_Run();
        GFX_Delay(100);
        if (APP_GuardDestroyed()) EVT_Send(EVT_Machine(PRIO_UI), SIG_BED_ERROR_RESET, 35);
    } while (!persistent.restartFlag);
}

void MainTask()
{
    if (!SIM_AcquireInstanceLock("Simulation_am_laufen")) {
        SIM_MessageBox("Es ist bereits eine Simulation aktiv.", "Hinweis");
        return;
    }
    GFX_Delay(250);
    for (;;) {
        persistent.restartFlag = 0;
        const uint8_t startType = APP_Init();
        APP_Start(startType);
        APP_IdleLoop();
        DBG_Printf("\n*RESTARTING");
    }
}

void APP_RequestRestart() { persistent.restartFlag = 1; }
uint8_t APP_ResetReason() { return persistent.resetReason; }
void APP_SetResetReason(uint8_t reason) { persistent.resetReason = reason; }
bool APP_GuardDestroyed() { return persistent.memoryGuard != APP_MEMORY_GUARD; }
