#include "kernel/evt.h"

#include <array>

#include "sim/hal/intrinsics.h"

namespace {

constexpr std::array<int8_t, 256> makeLog2Table()
{
    std::array<int8_t, 256> table{};
    table[0] = -1;
    for (int n = 1; n < 256; ++n) {
        int8_t msb = 0;
        for (int v = n; v > 1; v >>= 1)
            ++msb;
        table[n] = msb;
    }
    return table;
}

constexpr std::array<int8_t, 256> log2Table = makeLog2Table();
static_assert(log2Table[0] == -1 && log2Table[1] == 0 && log2Table[0x2A] == 5 &&
              log2Table[255] == 7);

constexpr std::array<uint8_t, PRIO_COUNT> queueLength{16, 16, 16, 16, 16, 16, 16, 16};

std::array<std::array<Event, EVT_QUEUE_SLOTS>, PRIO_COUNT> queueStorage{};
std::array<uint8_t, PRIO_COUNT> head{};
std::array<uint8_t, PRIO_COUNT> tail{};
std::array<uint8_t, PRIO_COUNT> count{};
std::array<uint8_t, PRIO_COUNT> highWater{};
uint8_t readySet = 0;
std::array<Hsm, PRIO_COUNT> machine{};

} // namespace

int8_t EVT_Log2(uint8_t n) { return log2Table[n]; }

bool EVT_Post(uint8_t p, Signal sig, uint32_t par)
{
    if (p >= PRIO_COUNT) return false;
    bool stored = false;
    __disable_interrupt();
    if (count[p] < queueLength[p]) {
        queueStorage[p][head[p]] = Event{sig, par};
        if (++head[p] >= queueLength[p]) head[p] = 0;
        if (++count[p] == 1) readySet |= static_cast<uint8_t>(1u << p);
        if (count[p] > highWater[p]) highWater[p] = count[p];
        stored = true;
    }
    __enable_interrupt();
    return stored;
}

void EVT_Run()
{
    __disable_interrupt();
    for (;;) {
        const int8_t p = log2Table[readySet];
        if (p < 0) break;
        const Event e = queueStorage[p][tail[p]];
        if (++tail[p] >= queueLength[p]) tail[p] = 0;
        if (--count[p] == 0) readySet &= static_cast<uint8_t>(~(1u << p));
        __enable_interrupt();
        HSM_Dispatch(machine[p], e);
        __disable_interrupt();
    }
    __enable_interrupt();
}

void EVT_Purge(uint8_t p, Signal low, Signal high)
{
    if (p >= PRIO_COUNT) return;
    __disable_interrupt();
    uint8_t index = tail[p];
    for (uint8_t n = 0; n < count[p]; ++n) {
        Event& slot = queueStorage[p][index];
        if (slot.sig >= low && slot.sig <= high) slot.sig = SIG_NONE;
        if (++index >= queueLength[p]) index = 0;
    }
    __enable_interrupt();
}

void EVT_Send(Hsm* m, Signal sig, uint32_t par)
{
    const Event e{sig, par};
    HSM_Dispatch(*m, e);
}

// Construct and ClearReady run during start-up, which already holds the interrupt lock.
void EVT_Construct(uint8_t p)
{
    if (p >= PRIO_COUNT) return;
    HSM_Construct(machine[p]);
    head[p] = tail[p] = count[p] = highWater[p] = 0;
    readySet &= static_cast<uint8_t>(~(1u << p));
}

void EVT_ClearReady() { readySet = 0; }

Hsm* EVT_Machine(uint8_t p) { return p < PRIO_COUNT ? &machine[p] : nullptr; }
StateHandler EVT_CurrentState(uint8_t p) { return p < PRIO_COUNT ? machine[p].state : nullptr; }
uint8_t EVT_HighWater(uint8_t p) { return p < PRIO_COUNT ? highWater[p] : 0; }
uint8_t EVT_QueueLength(uint8_t p) { return p < PRIO_COUNT ? queueLength[p] : 0; }

uint8_t EVT_Pending(uint8_t p)
{
    if (p >= PRIO_COUNT) return 0;
    __disable_interrupt();
    const uint8_t n = count[p];
    __enable_interrupt();
    return n;
}
