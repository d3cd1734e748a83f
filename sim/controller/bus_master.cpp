#include "sim/controller/bus_master.h"

#include <algorithm>

#include "link/dis.h"
#include "sim/hal/intrinsics.h"

namespace {

constexpr uint8_t SEQUENCE_BITS = 0x07;

// The byte handlers run in the bus driver's interrupt context: the event thread reads what
// they write only under the interrupt lock, and a tick handler cannot run in between.
class InterruptContext {
  public:
    InterruptContext() { ISR_Enter(); }
    ~InterruptContext() { ISR_Leave(); }
    InterruptContext(const InterruptContext&) = delete;
    InterruptContext& operator=(const InterruptContext&) = delete;
};

bool write(std::span<const uint8_t> bytes)
{
    DIS_OnAddressed(BusDirection::Write);
    bool acknowledged = true;
    for (uint8_t b : bytes)
        acknowledged = DIS_OnByteReceived(b) && acknowledged;
    return acknowledged;
}

} // namespace

std::vector<uint8_t> BUS_BlockFrame(uint8_t block, std::span<const uint8_t> data)
{
    const std::span<const uint8_t> sent = data.first(std::min(data.size(), BUS_MAX_BLOCK_DATA));
    std::vector<uint8_t> frame{static_cast<uint8_t>(sent.size() + 1), block};
    uint8_t sum = block;
    for (uint8_t b : sent) {
        frame.push_back(b);
        sum = static_cast<uint8_t>(sum + b);
    }
    frame.push_back(sum);
    return frame;
}

std::vector<uint8_t> BUS_AnswerMessage(uint8_t message, uint8_t circuit,
                                       std::span<const uint8_t> data)
{
    const uint8_t sequence = DIS_RequestBuffer()[1] & SEQUENCE_BITS;
    std::vector<uint8_t> m(data.size() + 2);
    m[0] = static_cast<uint8_t>(message << 3 | sequence);
    m[1] = circuit;
    std::copy(data.begin(), data.end(), m.begin() + 2);
    return m;
}

bool BUS_Write(std::span<const uint8_t> bytes)
{
    const InterruptContext isr;
    return write(bytes);
}

bool BUS_WriteBlock(uint8_t block, std::span<const uint8_t> data)
{
    return BUS_Write(BUS_BlockFrame(block, data));
}

bool BUS_Answer(uint8_t message, uint8_t circuit, std::span<const uint8_t> data)
{
    return BUS_WriteBlock(BUS_MESSAGE_BLOCK, BUS_AnswerMessage(message, circuit, data));
}

std::vector<uint8_t> BUS_ReadBytes(uint8_t command, size_t count, bool acknowledged)
{
    const InterruptContext isr;
    write(std::span(&command, 1));
    DIS_OnAddressed(BusDirection::Read);
    std::vector<uint8_t> out;
    for (size_t i = 0; i < count; ++i)
        out.push_back(DIS_OnByteToSend());
    DIS_OnReadDone(acknowledged);
    return out;
}

bool BUS_ReadIsGood(std::span<const uint8_t> read)
{
    if (read.empty() || read.size() != read.front() + 2u) return false;
    uint8_t sum = 0;
    for (uint8_t b : read.first(read.size() - 1))
        sum = static_cast<uint8_t>(sum + b);
    return sum == read.back();
}

std::vector<uint8_t> BUS_Read(uint8_t command)
{
    const InterruptContext isr;
    write(std::span(&command, 1));
    DIS_OnAddressed(BusDirection::Read);
    std::vector<uint8_t> out{DIS_OnByteToSend()};
    for (size_t i = 0; i <= out.front(); ++i)
        out.push_back(DIS_OnByteToSend());
    DIS_OnReadDone(BUS_ReadIsGood(out));
    return out;
}
