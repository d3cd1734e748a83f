#include "startup/startup.h"

#include "data/datapool.h"
#include "data/timeprog.h"
#include "display/fonts.h"
#include "display/lcd.h"
#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/app.h"
#include "kernel/dtm.h"
#include "kernel/evt.h"
#include "kernel/tas.h"
#include "link/dis.h"
#include "link/dis_task.h"
#include "link/uart0.h"
#include "screens/ui_screens.h"
#include "sim/hal/debug.h"
#include "sim/hal/hal.h"
#include "sim/hal/host_services.h"
#include "sim/hal/instance.h"
#include "sim/hal/intrinsics.h"
#include "sim/hal/keys.h"
#include "spine/bel.h"
#include "spine/ui_spine.h"
#include "startup/sim_commands.h"
#include "widgets/screen.h"

namespace {

StateHandler uiRoot = &BSM_Systemmonitor;

} // namespace

void APP_ConnectLayers()
{
    DTM_ConnectTicks();
    KEY_SetCommandHandler(APP_SimulationCommand);
    HAL_SetLightModeSink(lcd_setLightMode);
    TXT_SetLabelSource(DAT_GetCircuitLabel);
    DAT_SetTimeProgramResetSink(DIS_AnnounceTimeProgramReset);
    UI_ConnectSpine(
        {&BKE_Kontrasteinstellung, &BMM_Menuemonitor, UI_screens.basicDisplay, UI_screens.help});
}

void APP_SetUserInterface(StateHandler root) { uiRoot = root ? root : &BSM_Systemmonitor; }

uint8_t APP_Init()
{
    AppPersistent& persistent = APP_Persistent();
    persistent.memoryGuard = APP_MEMORY_GUARD;
    const uint8_t startType = APP_StartType(persistent);
    persistent.resetInfo = 0xFFFF;

    APP_ConnectLayers();
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
    // The 3 o'clock restart keeps the pool, and with it the link's status buffer.
    if (startType != START_3UHR) DIS_ClearStatusBuffer();
    DAT_ClearAll(startType);
    BMM_ClearFlags();
    UI_ResetScreens();
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
    if (uiRoot != nullptr)
        HSM_Start(PRIO_UI, uiRoot, startType == START_3UHR ? START_3UHR : START_COLD);
}

void APP_IdleLoop()
{
    do {
        EVT_Run();
        GFX_Delay(100);
        if (APP_GuardDestroyed())
            EVT_Send(EVT_Machine(PRIO_UI), SIG_BED_ERROR_RESET, RESET_MEMORY_GUARD);
    } while (!APP_Persistent().restartFlag);
}

void MainTask()
{
    if (!SIM_AcquireInstanceLock("Simulation_am_laufen")) {
        SIM_MessageBox("Es ist bereits eine Simulation aktiv.", "Hinweis");
        return;
    }
    GFX_Delay(250);
    for (;;) {
        APP_Persistent().restartFlag = 0;
        const uint8_t startType = APP_Init();
        APP_Start(startType);
        APP_IdleLoop();
        DBG_Printf("\n*RESTARTING");
    }
}
