// The events the controller raises itself, as a test or a user injects them: faults, maintenance,
// a burner lock-out, commissioning, wink and reset requests.
#include "sim/controller/ctl_protocol.h"

namespace {

constexpr size_t STAT_MAINTENANCE_HOURS = 19;
constexpr uint16_t FACTORY_MAINTENANCE_HOURS = 5500;

void file(CtlPlant& p, const CtlRecord& r)
{
    p.faults.insert(p.faults.begin(), r);
    if (p.faults.size() > CTL_FAULT_RECORDS) p.faults.resize(CTL_FAULT_RECORDS);
    p.history.insert(p.history.begin(), r);
    if (p.history.size() > CTL_FAULT_RECORDS) p.history.resize(CTL_FAULT_RECORDS);
}

} // namespace

void CTL_RaiseFault(CtlPlant& p, uint8_t code)
{
    const uint8_t category = CTL_FaultCategory(code);
    const CtlRecord r = CTL_FaultRecord(code, static_cast<uint32_t>(p.clock));
    file(p, r);
    CTL_SetStatusFlag(p, CTL_FLAG_FAULT, true);
    // A sensor fault also makes the sensor's value invalid.
    if (category == 5) p.system[1] |= 0x01;
    if (category == 7) p.system[1] |= 0x02;
    if (category == 8) p.system[1] |= 0x80;
}

void CTL_RaiseMaintenance(CtlPlant& p)
{
    CTL_SetStatusFlag(p, CTL_FLAG_MAINTENANCE_HOURS | CTL_FLAG_MAINTENANCE_DUE, true);
    p.statistics[STAT_MAINTENANCE_HOURS] = p.statistics[STAT_MAINTENANCE_HOURS + 1] = 0;
}

// A locked-out burner control unit: the burner stays off until it is unlocked at the boiler;
// the lock-out is in the fault list and the history, but it is not a fault to acknowledge.
void CTL_RaiseLockout(CtlPlant& p)
{
    constexpr uint8_t LOCKOUT_CODE = 0xF4;
    const CtlRecord r = CTL_FaultRecord(LOCKOUT_CODE, static_cast<uint32_t>(p.clock));
    file(p, r);
    p.lockedOut = true;
    CTL_SetStatusFlag(p, CTL_FLAG_LOCKED_OUT, true);
}

void CTL_RaiseCommissioning(CtlPlant& p)
{
    p.status[CtlStatus::TESTS] |= CTL_TEST_COMMISSIONING | CTL_TEST_COMMISSIONING_OPEN;
}

void CTL_RaiseWink(CtlPlant& p)
{
    constexpr uint32_t WINK_SECONDS = 60;
    p.winkLeft = WINK_SECONDS;
    CTL_SetStatusFlag(p, CTL_FLAG_WINK, true);
}

void CTL_RaisePanelReset(CtlPlant& p)
{
    p.resetRequested = true;
    CTL_SetStatusFlag(p, CTL_FLAG_PANEL_RESET, true);
}

void CTL_ClearEvents(CtlPlant& p)
{
    p.faults.clear();
    p.system[1] = 0;
    p.lockedOut = false;
    p.winkLeft = 0;
    p.resetRequested = false;
    CTL_SetStatusFlag(p,
                      CTL_FLAG_FAULT | CTL_FLAG_LOCKED_OUT | CTL_FLAG_WINK | CTL_FLAG_PANEL_RESET |
                          CTL_FLAG_MAINTENANCE_DUE | CTL_FLAG_MAINTENANCE_HOURS |
                          CTL_FLAG_MAINTENANCE_INTERVAL,
                      false);
    if (p.statistics[STAT_MAINTENANCE_HOURS] == 0 &&
        p.statistics[STAT_MAINTENANCE_HOURS + 1] == 0) {
        p.statistics[STAT_MAINTENANCE_HOURS] = FACTORY_MAINTENANCE_HOURS & 0xFF;
        p.statistics[STAT_MAINTENANCE_HOURS + 1] = FACTORY_MAINTENANCE_HOURS >> 8;
    }
    p.status[CtlStatus::TESTS] &=
        static_cast<uint8_t>(~(CTL_TEST_COMMISSIONING | CTL_TEST_COMMISSIONING_OPEN));
}
