#include "sim/hal/intrinsics.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "sim/hal/debug.h"

namespace {

// A mutex that its owner may enter again. The target's interrupt mask does not nest; a nested
// disable is a programming error that is reported, and it must not deadlock the panel.
struct OwnedLock {
    std::mutex mutex;
    std::atomic<std::thread::id> owner{};
    std::atomic<int> nesting{0};
};

OwnedLock irqLock;
std::mutex isrLock;
std::atomic<bool> initialised{false};
// On virtual time the ticks, the host's key presses and the main task share one thread: the
// locks then have nobody to keep out and only their counts (and misuse reports) remain.
bool oneThread = false;

} // namespace

void IAR_Intrinsics_Init()
{
    // The locks are static objects and exist for the whole process; only the counter is reset.
    if (!initialised.exchange(true)) irqLock.nesting = 0;
}

void __disable_interrupt()
{
    if (oneThread) {
        const int n = irqLock.nesting.load(std::memory_order_relaxed) + 1;
        irqLock.nesting.store(n, std::memory_order_relaxed);
        if (n != 1) DBG_Printf("\nFATAL ERROR: IAR_Intrinsics __disable_interrupt() %d", n);
        return;
    }
    const auto self = std::this_thread::get_id();
    if (irqLock.owner.load(std::memory_order_acquire) != self) {
        if (!oneThread) irqLock.mutex.lock();
        irqLock.owner.store(self, std::memory_order_release);
    }
    const int n = ++irqLock.nesting;
    if (n != 1) DBG_Printf("\nFATAL ERROR: IAR_Intrinsics __disable_interrupt() %d", n);
}

void __enable_interrupt()
{
    if (oneThread) {
        const int held = irqLock.nesting.load(std::memory_order_relaxed);
        if (held == 0) {
            DBG_Printf("\nFATAL ERROR: IAR_Intrinsics __enable_interrupt() %d", -1);
            return;
        }
        irqLock.nesting.store(held - 1, std::memory_order_relaxed);
        if (held != 1)
            DBG_Printf("\nFATAL ERROR: IAR_Intrinsics __enable_interrupt() %d", held - 1);
        return;
    }
    const auto self = std::this_thread::get_id();
    if (irqLock.owner.load(std::memory_order_acquire) != self) {
        // Not held by this thread: report it, and leave the lock of the real owner alone.
        DBG_Printf("\nFATAL ERROR: IAR_Intrinsics __enable_interrupt() %d", -1);
        return;
    }
    const int n = --irqLock.nesting;
    if (n != 0) DBG_Printf("\nFATAL ERROR: IAR_Intrinsics __enable_interrupt() %d", n);
    if (n == 0) {
        irqLock.owner.store(std::thread::id{}, std::memory_order_release);
        if (!oneThread) irqLock.mutex.unlock();
    }
}

void ISR_Enter()
{
    if (!oneThread) isrLock.lock();
    __disable_interrupt();
}

void ISR_Leave()
{
    __enable_interrupt();
    if (!oneThread) isrLock.unlock();
}

void IAR_SetSingleThread(bool single) { oneThread = single; }
bool IAR_SingleThread() { return oneThread; }

int IAR_Nesting() { return irqLock.nesting.load(); }
