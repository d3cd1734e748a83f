// Status transfers, the acknowledgement hold-offs and the fault records.
#include <algorithm>

#include "data/datapool.h"
#include "data/pool.h"
#include "kernel/dtm.h"
#include "kernel/evt.h"

namespace {

DataPool& pool = dataPool;

constexpr uint16_t STATUS_WINK = 1u << 3;
constexpr uint16_t STATUS_FAULT = 1u << 1;
constexpr uint16_t STATUS_RESTART_3UHR = 1u << 13;
constexpr uint16_t STATUS_MAINTENANCE = 1u << 14;
constexpr uint16_t STATUS_CONTROLLER_RESET = 1u << 15;
constexpr uint8_t BYTE7_FLAG = 1u << 5;
constexpr uint8_t BYTE7_FAULT = 1u << 7;
constexpr uint8_t FAULT_ACK_HOLD_S = 5;
constexpr uint8_t MAINT_ACK_HOLD_S = 5;
constexpr uint8_t FLAG_HOLD_S = 15;

uint16_t statusFlags() { return DAT_LoadU16(pool.statusFlags.data()); }
void setStatusFlags(uint16_t f) { DAT_StoreU16(pool.statusFlags.data(), f); }

void setStatusBit(uint16_t mask, bool on)
{
    const uint16_t f = statusFlags();
    setStatusFlags(static_cast<uint16_t>(on ? f | mask : f & ~mask));
}

const uint8_t* record(const Bytes<DAT_FAULT_LIST_SIZE>& list, uint8_t index)
{
    return &list[DAT_FAULT_RECORD_SIZE * index];
}

} // namespace

void DAT_TakeStatus(std::span<const uint8_t, DAT_STATUS_SIZE> transfer)
{
    std::copy(transfer.begin(), transfer.end(), pool.status.begin());

    const uint16_t f = DAT_LoadU16(pool.status.data());
    const uint16_t old = statusFlags();
    if (f & STATUS_RESTART_3UHR) EVT_Post(PRIO_UI, SIG_3UHR_RESTART);
    if (f & STATUS_CONTROLLER_RESET) EVT_Post(PRIO_UI, SIG_REG_RESET);
    if ((f & STATUS_WINK) && !(old & STATUS_WINK)) EVT_Post(PRIO_UI, SIG_WINK);

    if (pool.faultAckHold == 0 && (f & STATUS_FAULT) && !(old & STATUS_FAULT))
        pool.faultPending = 1;
    if (!(f & STATUS_FAULT) && (old & STATUS_FAULT)) pool.faultPending = 0;
    if (pool.maintAckHold == 0 && (f & STATUS_MAINTENANCE) && !(old & STATUS_MAINTENANCE))
        pool.maintenancePending = 1;
    if (!(f & STATUS_MAINTENANCE) && (old & STATUS_MAINTENANCE)) pool.maintenancePending = 0;
    setStatusFlags(f);

    const uint8_t b = pool.status[7];
    const uint8_t oldB = pool.statusByte7[0];
    if (pool.flagHold == 0 && (b & BYTE7_FLAG) && !(oldB & BYTE7_FLAG))
        EVT_Post(PRIO_UI, SIG_STATUS_FLAG_ON);
    if (!(b & BYTE7_FLAG) && (oldB & BYTE7_FLAG)) EVT_Post(PRIO_UI, SIG_STATUS_FLAG_OFF);
    pool.statusByte7[0] = b;

    const uint8_t c = pool.selectedCircuit;
    if (c == 1 || c == 2)
        std::copy_n(pool.status.begin() + STATUS_SLOT_FIRST + 4 * c, DAT_CIRCUIT_STATUS_SIZE,
                    pool.circuitStatus.begin());

    // A local acknowledgement outlives the transfers that still carry the old state.
    if (pool.faultAckHold != 0) setStatusBit(STATUS_FAULT, false);
    if (pool.maintAckHold != 0) setStatusBit(STATUS_MAINTENANCE, false);
    if (pool.flagHold != 0) pool.statusByte7[0] &= static_cast<uint8_t>(~BYTE7_FLAG);
    EVT_Post(PRIO_UI, SIG_DATA_CHANGED);
}

void DAT_TickHoldOffs()
{
    for (uint8_t* hold : {&pool.faultAckHold, &pool.maintAckHold, &pool.flagHold})
        if (*hold != 0) --*hold;
}

void DAT_SetFaultPresent(bool on)
{
    setStatusBit(STATUS_FAULT, on);
    pool.status[7] =
        static_cast<uint8_t>(on ? pool.status[7] | BYTE7_FAULT : pool.status[7] & ~BYTE7_FAULT);
    if (!on) pool.faultAckHold = FAULT_ACK_HOLD_S;
}

void DAT_SetMaintenanceDue(bool on)
{
    setStatusBit(STATUS_MAINTENANCE, on);
    pool.maintenancePending = on;
    if (!on) pool.maintAckHold = MAINT_ACK_HOLD_S;
}

void DAT_SetStatusByte7Flag(bool on)
{
    uint8_t& b = pool.statusByte7[0];
    b = static_cast<uint8_t>(on ? b | BYTE7_FLAG : b & ~BYTE7_FLAG);
    pool.flagHold = FLAG_HOLD_S;
}

uint8_t DAT_GetFaultPending() { return pool.faultPending; }
void DAT_SetFaultPending(uint8_t v) { pool.faultPending = v; }
uint8_t DAT_GetMaintenancePending() { return pool.maintenancePending; }
void DAT_SetMaintenancePending(uint8_t v) { pool.maintenancePending = v; }
uint8_t DAT_GetFaultAckHold() { return pool.faultAckHold; }
uint8_t DAT_GetMaintAckHold() { return pool.maintAckHold; }
uint8_t DAT_GetFlagHold() { return pool.flagHold; }
uint16_t DAT_GetStatusFlags() { return statusFlags(); }
uint8_t DAT_GetStatusByte7() { return pool.statusByte7[0]; }

void DAT_EnterPanelFault(uint8_t code)
{
    setStatusBit(STATUS_FAULT, true);
    pool.faultList[0] = code;
    DAT_StoreU32(&pool.faultList[FAULT_TIME], DTM_GetClock());
    EVT_Post(PRIO_UI, SIG_PANEL_FAULT);
}

void DAT_SetFaultIndex(uint8_t i)
{
    if (i < DAT_FAULT_RECORDS) pool.faultIndex = i;
}
uint8_t DAT_GetFaultIndex() { return pool.faultIndex; }
uint8_t DAT_GetFaultCode() { return record(pool.faultList, pool.faultIndex)[0]; }
uint8_t DAT_GetFaultCategory() { return record(pool.faultList, pool.faultIndex)[1]; }
uint16_t DAT_GetFaultHelpCategory()
{
    return DAT_LoadU16(record(pool.faultList, pool.faultIndex) + 5);
}
uint32_t DAT_GetFaultTime()
{
    return DAT_LoadU32(record(pool.faultList, pool.faultIndex) + FAULT_TIME);
}
void DAT_SetHistoryIndex(uint8_t i)
{
    if (i < DAT_FAULT_RECORDS) pool.historyIndex = i;
}
uint8_t DAT_GetHistoryIndex() { return pool.historyIndex; }
uint8_t DAT_GetHistoryCode() { return record(pool.faultHistory, pool.historyIndex)[0]; }
uint8_t DAT_GetHistoryCategory() { return record(pool.faultHistory, pool.historyIndex)[1]; }
uint16_t DAT_GetHistoryHelpCategory()
{
    return DAT_LoadU16(record(pool.faultHistory, pool.historyIndex) + 5);
}
uint32_t DAT_GetHistoryTime()
{
    return DAT_LoadU32(record(pool.faultHistory, pool.historyIndex) + FAULT_TIME);
}
