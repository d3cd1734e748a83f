// Bus frames: the block table, the four byte handlers the bus driver calls and the armed
// response.
#include <algorithm>

#include "kernel/dtm.h"
#include "kernel/evt.h"
#include "link/link_state.h"

namespace {

LinkState& link = linkState;

void nothing() {}
constexpr DIS_BusDriver INERT_DRIVER{nothing, nothing, nothing, nothing, nothing, nothing, nothing};
// A host may plug its driver in while the panel runs, from a thread of its own.
const DIS_BusDriver* driverInUse = &INERT_DRIVER;
const DIS_BusDriver& bus() { return *__atomic_load_n(&driverInUse, __ATOMIC_ACQUIRE); }

enum class LinkBuffer : uint8_t { RxMessage, Request, ChangeMask, Status, Long };
enum class Completion : uint8_t { None, MessageReceived, StatusReceived };

struct BlockEntry {
    uint8_t length;
    LinkBuffer buffer;
    uint8_t type; // 1: offered for reading, 2: request alias
    Completion completion;
};

// Blocks 16..35: where a master write is stored and what its correct checksum sets off.
constexpr std::array<BlockEntry, DIS_LAST_BLOCK - DIS_FIRST_BLOCK + 1> BLOCKS{{
    {32, LinkBuffer::RxMessage, 0, Completion::MessageReceived}, // 16
    {32, LinkBuffer::RxMessage, 0, Completion::MessageReceived},
    {32, LinkBuffer::RxMessage, 0, Completion::MessageReceived},
    {32, LinkBuffer::RxMessage, 0, Completion::MessageReceived},
    {9, LinkBuffer::Request, 1, Completion::None}, // 20
    {9, LinkBuffer::Request, 2, Completion::None},
    {9, LinkBuffer::Request, 2, Completion::None},
    {9, LinkBuffer::Request, 2, Completion::None},
    {2, LinkBuffer::ChangeMask, 0, Completion::None}, // 24
    {2, LinkBuffer::ChangeMask, 0, Completion::None},
    {2, LinkBuffer::ChangeMask, 0, Completion::None},
    {2, LinkBuffer::ChangeMask, 0, Completion::None},
    {21, LinkBuffer::Status, 0, Completion::StatusReceived}, // 28
    {13, LinkBuffer::Status, 0, Completion::StatusReceived},
    {13, LinkBuffer::Status, 0, Completion::StatusReceived},
    {13, LinkBuffer::Status, 0, Completion::StatusReceived},
    {4, LinkBuffer::Long, 0, Completion::None}, // 32
    {4, LinkBuffer::Long, 0, Completion::None},
    {4, LinkBuffer::Long, 0, Completion::None},
    {30, LinkBuffer::Long, 1, Completion::None}, // 35
}};

constexpr std::array<uint8_t, 4> IDENTIFICATION{0x11, 0x21, 0x00, 0x01};

constexpr bool knownBlock(uint8_t block)
{
    return block >= DIS_FIRST_BLOCK && block <= DIS_LAST_BLOCK;
}
const BlockEntry& entry(uint8_t block) { return BLOCKS[block - DIS_FIRST_BLOCK]; }

uint8_t* bufferOf(LinkBuffer b)
{
    switch (b) {
    case LinkBuffer::RxMessage: return link.rxMessage.data();
    case LinkBuffer::Request: return link.request.data();
    case LinkBuffer::ChangeMask: return link.changeMask.data();
    case LinkBuffer::Status: return link.status.data();
    case LinkBuffer::Long: return link.longBuffer.data();
    }
    return nullptr;
}

void complete()
{
    if (!knownBlock(link.blockNumber)) return;
    switch (entry(link.blockNumber).completion) {
    case Completion::None: break;
    case Completion::MessageReceived:
        link.rxLength = link.stored;
        link.flags |= DIS_FLAG_MESSAGE_RECEIVED;
        break;
    case Completion::StatusReceived: link.flags |= DIS_FLAG_STATUS_RECEIVED; break;
    }
}

void chooseResponse()
{
    link.responseIsArmed = false;
    link.response = nullptr;
    link.responseLength = 0;
    if (link.writeCount != 1) return;
    const uint8_t command = link.frameLength;
    if (command <= 63) {
        link.response = link.armed;
        link.responseLength = link.armed != nullptr ? link.armedLength : 0;
        link.responseIsArmed = true;
    } else if ((command & 0xC0) == 0x40) {
        link.response = IDENTIFICATION.data();
        link.responseLength = IDENTIFICATION.size();
    }
}

} // namespace

std::array<uint8_t, DIS_STATUS_BUFFER_SIZE>& DIS_StatusBuffer() { return link.status; }
uint8_t& DIS_LinkFlags() { return link.flags; }

void DIS_SetBusDriver(const DIS_BusDriver* d)
{
    __atomic_store_n(&driverInUse, d != nullptr ? d : &INERT_DRIVER, __ATOMIC_RELEASE);
}
const DIS_BusDriver& DIS_Bus() { return bus(); }

void DIS_OnTransferDone() { EVT_Post(PRIO_LINK, SIG_LINK_SERVICE); }

void DIS_OnAddressed(BusDirection direction)
{
    if (direction == BusDirection::Read) chooseResponse();
    link.writeCount = 0;
    link.byteIndex = 0;
    link.checksum = 0;
    DIS_NoteTransferStart();
    DIS_ClearBusResetCount();
}

bool DIS_OnByteReceived(uint8_t byte)
{
    const uint16_t i = link.byteIndex;
    if (link.byteIndex < 0xFFFF) ++link.byteIndex;
    if (link.writeCount < 0xFFFF) ++link.writeCount;
    if (i == 0) {
        link.frameLength = byte;
        link.blockNumber = 0;
        link.buffer = nullptr;
        link.stored = 0;
        return true;
    }
    if (i <= link.frameLength) {
        link.checksum = static_cast<uint8_t>(link.checksum + byte);
        if (i == 1) {
            link.blockNumber = byte;
            if (knownBlock(byte)) {
                link.buffer = bufferOf(entry(byte).buffer);
                link.bufferLength = entry(byte).length;
                std::fill_n(link.buffer, link.bufferLength, 0);
            }
        } else if (link.buffer != nullptr && link.stored < link.bufferLength) {
            link.buffer[link.stored++] = byte;
        }
        return true;
    }
    if (byte != link.checksum) return false;
    complete();
    return true;
}

uint8_t DIS_OnByteToSend()
{
    const uint16_t i = link.byteIndex;
    if (link.byteIndex < 0xFFFF) ++link.byteIndex;
    if (i > link.responseLength) return link.checksum;
    const uint8_t byte = i == 0 ? link.responseLength : link.response[i - 1];
    link.checksum = static_cast<uint8_t>(link.checksum + byte);
    return byte;
}

void DIS_OnReadDone(bool acknowledged)
{
    // Only a read of the armed response answers the attention; an identification read does not.
    if (!link.responseIsArmed) return;
    if (acknowledged) {
        link.armedLength = 0;
        bus().stopAttention();
    } else if (link.retries > 0) {
        --link.retries;
        bus().raiseAttention();
    }
}

void DIS_ArmResponse(const uint8_t* buffer, uint8_t length)
{
    // One driver for the whole change, even if the host plugs another one in meanwhile.
    const DIS_BusDriver& d = bus();
    d.responseChanging();
    link.armed = buffer;
    link.armedLength = length;
    link.retries = DIS_RESPONSE_RETRIES;
    d.responseChanged();
    d.raiseAttention();
}

void DIS_ArmBlock(uint8_t block)
{
    if (!knownBlock(block) || entry(block).type != 1) return;
    DIS_ArmResponse(bufferOf(entry(block).buffer), entry(block).length);
}

// The bus supervision's two values are noted at every transfer start in the driver's context
// and read by the link task without the interrupt lock: each is read and written whole.
uint32_t DIS_LastTransferTime()
{
    return __atomic_load_n(&link.lastTransferTime, __ATOMIC_RELAXED);
}
void DIS_NoteTransferStart()
{
    __atomic_store_n(&link.lastTransferTime, DTM_Ms100Count(), __ATOMIC_RELAXED);
}
uint8_t DIS_BusResetCount() { return __atomic_load_n(&link.busResetCount, __ATOMIC_RELAXED); }
void DIS_CountBusReset() { __atomic_fetch_add(&link.busResetCount, 1, __ATOMIC_RELAXED); }
void DIS_ClearBusResetCount() { __atomic_store_n(&link.busResetCount, 0, __ATOMIC_RELAXED); }

void DIS_ResetBusState()
{
    link.frameLength = link.blockNumber = 0;
    link.byteIndex = link.writeCount = 0;
    link.buffer = nullptr;
    link.bufferLength = link.stored = link.checksum = 0;
    link.response = nullptr;
    link.responseLength = 0;
    link.responseIsArmed = false;
    link.armed = nullptr;
    link.armedLength = 0;
    link.retries = 0;
    bus().stopAttention();
}
