// Request slots, the transmit queue with its sequence numbers, message acceptance and the
// scheduling steps of the link service.
#include <algorithm>

#include "base/tables.h"
#include "data/datapool.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "link/link_state.h"
#include "sim/hal/intrinsics.h"

namespace {

LinkState& link = linkState;

constexpr uint8_t DATA_REQUEST = 231;
constexpr uint8_t LONG_ENTRY = DIS_LONG_BLOCK; // '#'
constexpr uint8_t MAX_WAITING_FOR_SCHEDULE = 3;

const DIS_Observer* observer = nullptr;

// The order in which requested slots become data requests: configuration and coding first,
// then the circuit messages, time programs and the cyclic blocks.
constexpr std::array<uint8_t, 24> SCHEDULE_ORDER{
    DIS_MSG_CONFIG,
    DIS_MSG_CODING,
    DIS_MSG_FAULT_LIST,
    DIS_MSG_FAULT_HISTORY,
    DIS_MSG_ACTUATOR,
    DIS_CircuitSlot(DIS_MSG_CIRCUIT, 1),
    DIS_CircuitSlot(DIS_MSG_CIRCUIT, 2),
    DIS_CircuitSlot(DIS_MSG_STATISTICS, 1),
    DIS_CircuitSlot(DIS_MSG_STATISTICS, 2),
    DIS_CircuitSlot(DIS_MSG_SYSTEM, 1),
    DIS_CircuitSlot(DIS_MSG_SYSTEM, 2),
    DIS_MSG_BOILER,
    DIS_MSG_TP_DAY1,
    DIS_MSG_TP_DAY1 + 1,
    DIS_MSG_TP_DAY1 + 2,
    DIS_MSG_TP_DAY1 + 3,
    DIS_MSG_TP_DAY1 + 4,
    DIS_MSG_TP_DAY1 + 5,
    DIS_MSG_TP_DAY7,
    DIS_MSG_SOLAR,
    DIS_MSG_EXTRA,
    DIS_MSG_SOLAR_STATS,
    DIS_MSG_CIRCUIT_DIAG,
    DIS_MSG_LABEL,
};
static_assert(TBL_Unique(SCHEDULE_ORDER), "a slot comes once in the order");

// Message and circuit of the data request that serves a slot.
struct SlotRequest {
    uint8_t message;
    uint8_t circuit;
    uint8_t part;
};

SlotRequest requestForSlot(uint8_t slot)
{
    if (slot >= DIS_MESSAGES)
        return {static_cast<uint8_t>((slot - DIS_MESSAGES) % 3),
                static_cast<uint8_t>((slot - DIS_MESSAGES) / 3 + 1), 0};
    if (DIS_IsTimeProgramMessage(slot)) return {slot, DAT_FirstCircuit(), 0};
    if (slot == DIS_MSG_LABEL)
        return {slot, static_cast<uint8_t>(DAT_CircuitPresent(1) ? 1 : 2), 1};
    return {slot, 0, 0};
}

} // namespace

int DIS_SlotOf(uint8_t message, uint8_t circuit)
{
    if (message >= DIS_MESSAGES) return -1;
    if (DIS_IsCircuitMessage(message) && circuit >= 1 && circuit <= 3)
        return DIS_CircuitSlot(message, circuit);
    return message;
}

void DIS_SetSlotState(uint8_t message, uint8_t circuit, uint8_t state)
{
    const int slot = DIS_SlotOf(message, circuit);
    if (slot < 0) return;
    link.requestState[slot] = state;
    if (DIS_IsCircuitMessage(message) && circuit != 0) {
        const uint8_t selected = DAT_GetSelectedCircuit();
        if (selected == 0 || selected == circuit) link.requestState[message] = state;
    }
}

void DIS_InitLink()
{
    link.unknownMessageCount = 0;
    link.rxMessage.fill(0);
    link.rxMessage[0] = DIS_Header(0, 1);
    link.rxMessage[1] = 1;
    link.rxLength = 0;
    link.lastRxSequence = 1;
    link.longBuffer[1] = link.longBuffer[2] = 0;
    link.changeMask.fill(0);
    link.request.fill(0);
    link.request[0] = DIS_OWN_BLOCK;
    link.request[1] = DIS_Header(0, 1);
    link.request[2] = 1;
    link.txWrite = link.txRead = link.txCount = 0;
    link.txBuilder.fill(0);
    link.txBuilder[0] = DIS_OWN_BLOCK;
    link.txBuilder[1] = DIS_Header(DIS_MSG_CONFIG, 2);
    link.txBuilder[2] = 1;
    link.txBuilder[3] = DATA_REQUEST;
    link.txSequence = 1;
    link.requestState.fill(SLOT_IDLE);
    link.request[1] = DIS_Header(DIS_HeaderMessage(link.request[1]), link.lastRxSequence);
}

void DIS_Request(uint8_t slot)
{
    if (slot >= DIS_SLOTS) {
        EVT_Post(PRIO_UI, SIG_BED_ERROR_RESET, RESET_REQUEST_SLOT);
        return;
    }
    if (link.requestState[slot] == SLOT_IDLE) link.requestState[slot] = SLOT_REQUESTED;
    if (!DIS_IsCircuitMessage(slot)) return;
    for (uint8_t c = 1; c <= 2; ++c) {
        uint8_t& s = link.requestState[DIS_CircuitSlot(slot, c)];
        if (DAT_CircuitPresent(c) && s == SLOT_IDLE) s = SLOT_REQUESTED;
    }
    link.requestState[DIS_CircuitSlot(slot, 3)] = SLOT_IDLE;
}

void DIS_CancelRequests()
{
    link.requestState.fill(SLOT_IDLE);
    link.txWrite = link.txRead = link.txCount = 0;
}

void DIS_Queue(std::span<const uint8_t> entry)
{
    const bool isLong = !entry.empty() && entry[0] == LONG_ENTRY;
    const size_t length = isLong ? DIS_LONG_SIZE : DIS_TX_BUILDER_SIZE;
    if (entry.size() < length) return;
    if (link.txCount >= DIS_TX_QUEUE_ENTRIES) {
        if (observer != nullptr) observer->queued(entry.first(length), true);
        return;
    }
    LinkBytes<DIS_LONG_SIZE>& slotEntry = link.txQueue[link.txWrite];
    slotEntry.fill(0);
    std::copy_n(entry.begin(), length, slotEntry.begin());
    link.txWrite = static_cast<uint8_t>((link.txWrite + 1) % DIS_TX_QUEUE_ENTRIES);
    ++link.txCount;
    if (observer != nullptr) observer->queued(std::span(slotEntry).first(length), false);

    const uint8_t message = DIS_HeaderMessage(entry[1]);
    const int slot = DIS_SlotOf(message, entry[2]);
    if (slot < 0) return;
    const uint8_t state = link.requestState[slot];
    DIS_SetSlotState(message, entry[2],
                     state <= SLOT_IDLE ? SLOT_QUEUED : static_cast<uint8_t>(state + 1));
}

void DIS_SendNext()
{
    if (link.txCount == 0) return;
    // The controller has not yet answered the request standing in the buffer.
    if (DIS_HeaderSequence(link.request[1]) != link.lastRxSequence) return;
    const LinkBytes<DIS_LONG_SIZE>& entry = link.txQueue[link.txRead];
    if (entry[0] == LONG_ENTRY) {
        link.longBuffer = entry;
        DIS_ArmBlock(DIS_LONG_BLOCK);
        link.request[1] = entry[1];
        link.request[2] = entry[2];
    } else {
        std::copy_n(entry.begin(), DIS_REQUEST_SIZE, link.request.begin());
        DIS_ArmBlock(DIS_OWN_BLOCK);
    }
    link.txRead = static_cast<uint8_t>((link.txRead + 1) % DIS_TX_QUEUE_ENTRIES);
    --link.txCount;

    const uint8_t message = DIS_HeaderMessage(entry[1]);
    const int slot = DIS_SlotOf(message, entry[2]);
    if (slot < 0) return;
    const uint8_t state = link.requestState[slot];
    DIS_SetSlotState(message, entry[2],
                     state < SLOT_QUEUED ? SLOT_WAITING : static_cast<uint8_t>(state - 1));
}

void DIS_SetObserver(const DIS_Observer* o) { observer = o; }

uint8_t DIS_SlotState(uint8_t slot) { return slot < DIS_SLOTS ? link.requestState[slot] : 0; }
uint8_t DIS_QueueCount() { return link.txCount; }

std::span<const uint8_t> DIS_QueuedEntry(uint8_t i)
{
    if (i >= link.txCount) return {};
    return link.txQueue[(link.txRead + i) % DIS_TX_QUEUE_ENTRIES];
}

std::span<const uint8_t, DIS_REQUEST_SIZE> DIS_RequestBuffer() { return link.request; }
std::span<const uint8_t, DIS_LONG_SIZE> DIS_LongBuffer() { return link.longBuffer; }
std::span<const uint8_t, DIS_RX_MESSAGE_SIZE> DIS_RxMessageBuffer() { return link.rxMessage; }
uint8_t DIS_LastRxSequence() { return link.lastRxSequence; }
uint8_t DIS_UnknownMessageCount() { return link.unknownMessageCount; }
uint16_t DIS_ChangeMask()
{
    return static_cast<uint16_t>(link.changeMask[0] | link.changeMask[1] << 8);
}

// ---------------------------------------------------------------------------------------------
// Scheduling

void DIS_ChangeMaskToRequests()
{
    __disable_interrupt();
    const uint16_t mask = DIS_ChangeMask();
    link.changeMask.fill(0);
    __enable_interrupt();
    // Bit 15 is not a message.
    for (uint8_t i = 0; i < 15; ++i)
        if (mask >> i & 1) DIS_Request(i);
}

void DIS_TakeStatus()
{
    std::array<uint8_t, DAT_STATUS_SIZE> transfer{};
    __disable_interrupt();
    const bool arrived = link.flags & DIS_FLAG_STATUS_RECEIVED;
    if (arrived) {
        std::copy_n(link.status.begin(), DAT_STATUS_SIZE, transfer.begin());
        link.flags &= static_cast<uint8_t>(~DIS_FLAG_STATUS_RECEIVED);
    }
    __enable_interrupt();
    if (arrived) DAT_TakeStatus(transfer);
}

void DIS_ClearStatusBuffer() { std::fill_n(link.status.begin(), DAT_STATUS_SIZE, 0); }

void DIS_ScheduleNext()
{
    for (uint8_t slot : SCHEDULE_ORDER) {
        if (link.requestState[slot] != SLOT_REQUESTED) continue;
        if (link.txCount < MAX_WAITING_FOR_SCHEDULE) {
            const SlotRequest r = requestForSlot(slot);
            DIS_QueueDataRequest(r.message, r.circuit, r.part);
        }
        return;
    }
}

namespace {

// The checks before a message is taken over; only the sequence number is noted for any message.
bool check(const LinkBytes<DIS_RX_MESSAGE_SIZE>& rx)
{
    link.lastRxSequence = DIS_HeaderSequence(rx[0]);
    const uint8_t message = DIS_HeaderMessage(rx[0]);
    const uint8_t circuit = rx[1];
    if (message >= DIS_MESSAGES || circuit > 2) return false;
    if (link.requestState[DIS_SlotOf(message, circuit)] != SLOT_WAITING) return false;
    if (DIS_HeaderSequence(rx[0]) != DIS_HeaderSequence(link.request[1])) return false;
    DIS_SetSlotState(message, circuit, SLOT_IDLE);
    EVT_Post(PRIO_UI, SIG_LINK_ANSWER);
    return true;
}

bool accept(const LinkBytes<DIS_RX_MESSAGE_SIZE>& rx)
{
    const bool accepted = check(rx);
    if (observer != nullptr) observer->received(DIS_HeaderMessage(rx[0]), rx[1], accepted);
    return accepted;
}

} // namespace

void DIS_DispatchReceived()
{
    // A copy under the lock, so a new frame cannot change the message while it is taken over.
    __disable_interrupt();
    const bool arrived = link.flags & DIS_FLAG_MESSAGE_RECEIVED;
    const LinkBytes<DIS_RX_MESSAGE_SIZE> rx = link.rxMessage;
    const uint8_t length = link.rxLength;
    link.flags &= static_cast<uint8_t>(~DIS_FLAG_MESSAGE_RECEIVED);
    __enable_interrupt();
    if (arrived && accept(rx)) DIS_TakeOver(rx, length);
}

void DIS_Service()
{
    DIS_ChangeMaskToRequests();
    DIS_TakeStatus();
    DIS_ScheduleNext();
    DIS_SendNext();
    DIS_DispatchReceived();
}
