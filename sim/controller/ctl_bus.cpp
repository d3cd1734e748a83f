// The emulator's bus: the panel's bus driver as a bus adapter implements it, and the controller
// as bus master behind it. Every transfer goes through the panel's four byte handlers in the
// interrupt context, one transfer in a bus slot of 20 ms of panel time at most: an answer to
// the request read last, a read of the panel's request when it raises attention (and now and
// then without), the status transfer when it changed, the change mask.
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

#include "link/dis.h"
#include "sim/controller/controller.h"
#include "sim/controller/ctl_protocol.h"
#include "sim/controller/ctl_state.h"
#include "sim/hal/intrinsics.h"
#include "sim/hal/ticks.h"

namespace {

constexpr uint64_t SLOT_MS = 20;     // one transfer at most per slot
constexpr uint64_t POLL_MS = 200;    // a read without attention: it gives the link its service
constexpr uint64_t STATUS_MS = 5000; // measured values at most this often
constexpr uint64_t STATUS_KEEP_ALIVE_MS = 20000; // a status transfer at least this often
// The panel takes a mask or a status transfer over at its next link service: the next one waits.
constexpr uint64_t MASK_HOLD_MS = 300;
constexpr uint64_t STATUS_HOLD_MS = 300;
constexpr uint64_t PLANT_STEP_MS = 1000;
constexpr uint8_t READ_ARMED_RESPONSE = 0x00; // the command byte before a read

struct Emulator {
    std::mutex lock;
    CtlSettings settings;
    CTL_ReportFn report = nullptr;
    CtlPlant plant;
    bool on = false;
    bool silent = false;
    bool dirty = false; // the state file is behind
    bool started = false;
    uint64_t plantMs = 0;
    uint64_t nextSlot = 0;
    uint64_t lastRead = 0;
    uint64_t lastStatus = 0;
    uint64_t maskHold = 0;
    bool statusSent = false;
    CtlBytes<20> sentStatus{};
    std::optional<CtlMessage> answer;
    uint16_t mask = 0;
};

std::unique_ptr<Emulator> emulator;

// What the panel's link tells its driver; it calls on its event thread and in the byte
// handlers, so only atomics here, and the hold that keeps a read away from a changing response.
std::atomic<bool> attention{false};
std::atomic<bool> driverStarted{false};
std::atomic<bool> busReset{false};
std::atomic<bool> adapterActive{false}; // the emulator is on: the driver is a real one
std::mutex responseHold;

void responseChanging() { responseHold.lock(); }
void responseChanged() { responseHold.unlock(); }
void raiseAttention() { attention = true; }
void stopAttention() { attention = false; }
// Stopping or resetting waits for a transfer under way: the link resets its bus state next.
void resetBus()
{
    std::lock_guard hold(responseHold);
    attention = false;
    busReset = true;
}
void start()
{
    driverStarted = true;
    // The transfer sequence begins: the link's supervision watches it from now on.
    if (adapterActive) DIS_SetBusActive(true);
}
void stop()
{
    std::lock_guard hold(responseHold);
    driverStarted = false;
}

constexpr DIS_BusDriver ADAPTER{
    responseChanging, responseChanged, raiseAttention, stopAttention, resetBus, start, stop};

void tell(Emulator& e, const std::string& line)
{
    if (e.report != nullptr) e.report("controller " + line);
}

// ---- transfers through the byte handlers ----

// A master write of one block: length, block number, data, checksum. Nothing answers while the
// panel has its bus stopped.
bool writeBlock(uint8_t block, const uint8_t* data, size_t n)
{
    {
        std::lock_guard hold(responseHold);
        if (!driverStarted) return false;
        ISR_Enter();
        DIS_OnAddressed(BusDirection::Write);
        DIS_OnByteReceived(static_cast<uint8_t>(n + 1));
        DIS_OnByteReceived(block);
        uint8_t sum = block;
        for (size_t i = 0; i < n; ++i) {
            DIS_OnByteReceived(data[i]);
            sum = static_cast<uint8_t>(sum + data[i]);
        }
        DIS_OnByteReceived(sum);
        ISR_Leave();
    }
    DIS_OnTransferDone();
    return true;
}

// The command byte, then a read of the armed response: length, bytes, checksum. Returns the
// response bytes (empty when nothing is armed or the checksum was wrong, which is not
// acknowledged, so the panel raises attention again).
std::vector<uint8_t> readResponse()
{
    std::vector<uint8_t> response;
    {
        std::lock_guard hold(responseHold);
        if (!driverStarted) return response;
        ISR_Enter();
        DIS_OnAddressed(BusDirection::Write);
        DIS_OnByteReceived(READ_ARMED_RESPONSE);
        DIS_OnAddressed(BusDirection::Read);
        const uint8_t length = DIS_OnByteToSend();
        uint8_t sum = length;
        for (uint8_t i = 0; i < length; ++i) {
            response.push_back(DIS_OnByteToSend());
            sum = static_cast<uint8_t>(sum + response.back());
        }
        const bool good = DIS_OnByteToSend() == sum;
        DIS_OnReadDone(good);
        ISR_Leave();
        if (!good) response.clear();
    }
    DIS_OnTransferDone();
    return response;
}

// ---- the master's slots ----

void serveRequest(Emulator& e, const std::vector<uint8_t>& request)
{
    const CtlApplied a = CTL_ApplyRequest(e.plant, request);
    e.answer = CTL_BuildMessage(e.plant, a.message, a.circuit, a.part, a.sequence);
    e.mask |= a.changeMask;
    e.dirty = e.dirty || a.persistent;
    if (!a.report.empty()) tell(e, a.report);
}

bool statusDue(const Emulator& e, uint64_t now)
{
    if (!e.statusSent) return true;
    if (now - e.lastStatus < STATUS_HOLD_MS) return false;
    const CtlBytes<20>& s = e.plant.status;
    for (size_t i : {size_t{0}, size_t{1}, CtlStatus::TESTS, CtlStatus::BYTE7})
        if (s[i] != e.sentStatus[i]) return true;
    if (now - e.lastStatus >= STATUS_KEEP_ALIVE_MS) return true;
    return now - e.lastStatus >= STATUS_MS && s != e.sentStatus;
}

void sendStatus(Emulator& e, uint64_t now)
{
    CtlBytes<CTL_STATUS_TRANSFER> transfer{};
    std::copy(e.plant.status.begin(), e.plant.status.end(), transfer.begin());
    if (!writeBlock(CTL_BLOCK_STATUS, transfer.data(), transfer.size())) return;
    e.sentStatus = e.plant.status;
    e.statusSent = true;
    e.lastStatus = now;
    // A reset request is one transfer long: the panel restarts on it.
    if (e.plant.resetRequested) {
        e.plant.resetRequested = false;
        CTL_SetStatusFlag(e.plant, CTL_FLAG_PANEL_RESET, false);
    }
}

void slot(Emulator& e, uint64_t now)
{

    if (busReset.exchange(false)) e.answer.reset();
    if (e.answer) {
        if (writeBlock(CTL_BLOCK_MESSAGE, e.answer->bytes.data(), e.answer->length))
            e.answer.reset();
    } else if (attention || now - e.lastRead >= POLL_MS) {
        e.lastRead = now;
        const std::vector<uint8_t> request = readResponse();
        if (!request.empty()) serveRequest(e, request);
    } else if (statusDue(e, now)) {
        sendStatus(e, now);
    } else if (e.mask != 0 && now >= e.maskHold) {
        const uint16_t m = e.mask & 0x7FFF;
        const uint8_t bytes[] = {static_cast<uint8_t>(m), static_cast<uint8_t>(m >> 8)};
        if (!writeBlock(CTL_BLOCK_MASK, bytes, sizeof bytes)) return;
        e.mask = 0;
        e.maskHold = now + MASK_HOLD_MS;
    }
}

void tick(void*, uint64_t now)
{
    if (!emulator) return;
    Emulator& e = *emulator;
    std::lock_guard guard(e.lock);
    if (!e.on) return;
    if (!e.started) {
        e.started = true;
        e.plantMs = e.nextSlot = now;
        e.lastRead = now - POLL_MS; // read at once: a request may stand from before
    }
    while (now - e.plantMs >= PLANT_STEP_MS) {
        CTL_PlantStep(e.plant);
        e.plantMs += PLANT_STEP_MS;
    }
    e.mask |= e.plant.changed;
    e.plant.changed = 0;
    if (e.silent || now < e.nextSlot) return;
    e.nextSlot = now + SLOT_MS;
    slot(e, now);
}

template <typename F> void withEmulator(F f)
{
    if (!emulator) return;
    std::lock_guard guard(emulator->lock);
    f(*emulator);
}

void inject(const char* what, void (*raise)(CtlPlant&))
{
    withEmulator([&](Emulator& e) {
        raise(e.plant);
        e.dirty = true;
        tell(e, what);
    });
}

} // namespace

void CTL_Create(const CtlSettings& settings, CTL_ReportFn report)
{
    CTL_Destroy();
    emulator = std::make_unique<Emulator>();
    Emulator& e = *emulator;
    e.settings = settings;
    e.report = report;
    e.plant = CTL_BuiltInPlant(settings.clock);
    if (!settings.stateFile.empty() && !settings.fresh) {
        const CtlStateResult r = CTL_ReadStateFile(settings.stateFile, e.plant);
        if (r.read == CtlStateRead::Damaged)
            tell(e, "state file " + settings.stateFile + " is damaged (" + r.problem +
                        "): starting from the built-in values");
        else if (r.read == CtlStateRead::Loaded && r.version < CTL_STATE_VERSION)
            e.dirty = true; // written again in the current layout
    }
    // The plant's clock runs from the controller's own start, whatever the file said.
    e.plant.clock = settings.clock;
    SIM_SetPeripheral(tick, nullptr);
}

void CTL_Destroy()
{
    if (!emulator) return;
    CTL_SetOn(false);
    SIM_SetPeripheral(nullptr, nullptr);
    emulator.reset();
}

bool CTL_Exists() { return emulator != nullptr; }

void CTL_SetOn(bool on)
{
    withEmulator([&](Emulator& e) {
        if (e.on == on) return;
        e.on = on;
        adapterActive = on;
        if (on) {
            e.started = false;
            e.statusSent = false;
            e.answer.reset();
            // The panel's link has started its driver long ago: take the bus as it stands.
            driverStarted = true;
            attention = true;
            DIS_SetBusDriver(&ADAPTER);
            DIS_SetBusActive(true);
        } else {
            DIS_SetBusActive(false);
            DIS_SetBusDriver(nullptr);
        }
        tell(e, on ? "on" : "off");
    });
}

bool CTL_IsOn()
{
    bool on = false;
    withEmulator([&](Emulator& e) { on = e.on; });
    return on;
}

void CTL_InjectFault(uint8_t code)
{
    withEmulator([&](Emulator& e) {
        CTL_RaiseFault(e.plant, code);
        e.dirty = true;
        char text[64];
        snprintf(text, sizeof text, "fault %02X raised (category %d)", code,
                 CTL_FaultCategory(code));
        tell(e, text);
    });
}

void CTL_InjectMaintenance() { inject("maintenance due", CTL_RaiseMaintenance); }
void CTL_InjectLockout() { inject("burner control unit locked out", CTL_RaiseLockout); }
void CTL_InjectCommissioning() { inject("commissioning requested", CTL_RaiseCommissioning); }
void CTL_InjectWink() { inject("wink requested", CTL_RaiseWink); }
void CTL_InjectPanelReset() { inject("panel reset requested", CTL_RaisePanelReset); }

void CTL_InjectSilence()
{
    withEmulator([&](Emulator& e) {
        e.silent = true;
        tell(e, "silent: no more transfers");
    });
}

void CTL_ClearEvents()
{
    withEmulator([&](Emulator& e) {
        CTL_ClearEvents(e.plant);
        e.silent = false;
        e.dirty = true;
        tell(e, "events cleared");
    });
}

bool CTL_IsSilent()
{
    bool silent = false;
    withEmulator([&](Emulator& e) { silent = e.silent; });
    return silent;
}

bool CTL_SaveState(std::string* error)
{
    std::string path;
    CtlPlant snapshot;
    bool due = false;
    withEmulator([&](Emulator& e) {
        due = e.dirty && !e.settings.stateFile.empty();
        if (!due) return;
        path = e.settings.stateFile;
        snapshot = e.plant;
        e.dirty = false;
    });
    if (!due) return true;
    std::string why;
    if (CTL_WriteStateFile(path, snapshot, why)) return true;
    withEmulator([&](Emulator& e) { e.dirty = true; });
    if (error != nullptr) *error = why;
    return false;
}
