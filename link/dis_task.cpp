#include "link/dis_task.h"

#include <atomic>

#include "data/datapool.h"
#include "display/flash.h"
#include "kernel/app.h"
#include "kernel/dtm.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "link/link_buffers.h"

namespace {

constexpr uint8_t NO_VALUE = 255;           // the controller has no value of its own
constexpr uint32_t SUPERVISION_TICKS = 300; // 30 s without a transfer start

bool pollingEnabled = true;
// Armed by the bus driver, which may run on a thread of its own.
std::atomic<bool> busActive{false};
uint8_t announceFlag = 1;

void startBus()
{
    DIS_NoteTransferStart();
    DIS_Bus().start();
}

void stopBus()
{
    busActive = false;
    DIS_Bus().stop();
}

void initialise()
{
    DIS_InitLink();
    DIS_LinkFlags() = 0;
    pollingEnabled = true;
    busActive = false;
    DIS_ClearBusResetCount();
    announceFlag = 1;
    DIS_ResetBusState();
}

void busReset()
{
    stopBus();
    DIS_Bus().resetBus();
    DIS_ResetBusState();
    startBus();
    DIS_CountBusReset();
}

// The second time-out in a row (no transfer start in between) restarts the panel.
void supervise()
{
    DAT_TickHoldOffs();
    if (!busActive || DTM_Ms100Count() - DIS_LastTransferTime() <= SUPERVISION_TICKS) return;
    const bool again = DIS_BusResetCount() != 0;
    busReset();
    if (again) EVT_Post(PRIO_UI, SIG_BED_ERROR_RESET, RESET_BUS_TIMEOUT);
}

void startUpRequests()
{
    DIS_SendDataRequest(DIS_MSG_LABEL, 1);
    DIS_SendDataRequest(DIS_MSG_SYSTEM);
    DIS_SendDataRequest(DIS_MSG_CIRCUIT);
    DIS_SendDataRequest(DIS_MSG_STATISTICS);
    if (DAT_GetSolarPresent()) {
        DIS_SendDataRequest(DIS_MSG_SOLAR);
        DIS_SendDataRequest(DIS_MSG_EXTRA);
        DIS_SendDataRequest(DIS_MSG_SOLAR_STATS);
    }
    DIS_SendDataRequest(DIS_MSG_BOILER);
    DIS_SendDataRequest(DIS_MSG_FAULT_LIST, 0);
    for (uint8_t slot = DIS_MSG_TP_DAY1; slot <= DIS_MSG_TP_DAY7; ++slot)
        DIS_Request(slot);
}

// Where the controller has no display setting, the panel's own one (from the flash image, or
// the defaults) becomes the pool's and is sent to the controller.
void applyDisplaySettings()
{
    if (DAT_GetDisplayContrast() == NO_VALUE) {
        DAT_SetDisplayContrast(FLS_GetContrastSetting());
        DIS_SendDisplaySettings();
    }
    if (DAT_GetBrightnessOperation() == NO_VALUE) {
        DAT_SetBrightnessOperation(FLS_GetOperatingBacklight());
        DIS_SendBrightness(BrightnessKind::Operation, DAT_GetBrightnessOperation());
    }
    if (DAT_GetBrightnessIdle() == NO_VALUE) {
        DAT_SetBrightnessIdle(FLS_GetIdleBacklight());
        DIS_SendBrightness(BrightnessKind::Idle, DAT_GetBrightnessIdle());
    }
    DAT_ApplyDisplaySettings();
}

void fastRequests()
{
    if (DAT_GetSolarPresent()) {
        DIS_Request(DIS_MSG_SOLAR);
        DIS_Request(DIS_MSG_EXTRA);
        DIS_Request(DIS_MSG_SOLAR_STATS);
    }
    if (DAT_GetStatusNibble7() > 3) DIS_Request(DIS_MSG_CIRCUIT_DIAG);
}

void slowRequests()
{
    for (uint8_t slot : {DIS_MSG_CIRCUIT, DIS_MSG_SYSTEM, DIS_MSG_STATISTICS, DIS_MSG_CONFIG,
                         DIS_MSG_BOILER, DIS_MSG_FAULT_LIST})
        DIS_Request(slot);
    for (uint8_t slot = DIS_MSG_TP_DAY1; slot <= DIS_MSG_TP_DAY7; ++slot)
        DIS_Request(slot);
    DIS_Request(DIS_MSG_LABEL);
}

StateHandler i2cTask(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT: initialise(); return nullptr;
    case SIG_LINK_BUS_ON: startBus(); return nullptr;
    case SIG_LINK_STOP: stopBus(); return nullptr;
    case SIG_LINK_BUS_RESET: busReset(); return nullptr;
    case SIG_LINK_START: HSM_Tran(me, &DIS_I2C_Task, &DIS_StartCommunication); return nullptr;
    }
    return &HSM_Top;
}

StateHandler startCommunication(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        DIS_Request(DIS_MSG_CONFIG);
        DIS_SendAnnouncement(APP_ResetReason(), announceFlag, 0);
        startBus();
        return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_TICK_1S: supervise(); return nullptr;
    case SIG_LINK_SERVICE: DIS_Service(); return nullptr;
    case SIG_RX_MSG10:
        announceFlag = 0;
        startUpRequests();
        return nullptr;
    case SIG_RX_TP_DAY7:
        if (DAT_GetStatusNibble7() > 3) DIS_SendDataRequest(DIS_MSG_CIRCUIT_DIAG);
        applyDisplaySettings();
        EVT_Post(PRIO_UI, SIG_LINK_STARTED);
        HSM_Tran(me, &DIS_I2C_Task, &DIS_Run);
        return nullptr;
    }
    return &DIS_I2C_Task;
}

StateHandler run(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT: pollingEnabled = true; return nullptr;
    case SIG_TICK_1S: supervise(); return nullptr;
    case SIG_LINK_SERVICE: DIS_Service(); return nullptr;
    case SIG_TICK_30S:
        if (pollingEnabled) fastRequests();
        return nullptr;
    case SIG_TICK_60S:
        if (pollingEnabled) slowRequests();
        return nullptr;
    case SIG_LINK_POLL_NOW:
        slowRequests();
        fastRequests();
        return nullptr;
    case SIG_LINK_POLL_ON: pollingEnabled = true; return nullptr;
    case SIG_LINK_POLL_OFF: pollingEnabled = false; return nullptr;
    }
    return &DIS_I2C_Task;
}

} // namespace

HSM_STATE(DIS_I2C_Task, i2cTask);
HSM_STATE(DIS_StartCommunication, startCommunication);
HSM_STATE(DIS_Run, run);

bool DIS_PollingEnabled() { return pollingEnabled; }
bool DIS_BusActive() { return busActive; }
void DIS_SetBusActive(bool active) { busActive = active; }
