#include "sim/hal/ticks.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sim/hal/cpu_timer.h"
#include "sim/hal/intrinsics.h"

namespace {

SIM_VirtualTicks defaultSource; // tests run on virtual time unless they choose otherwise
SIM_TickSource* source = &defaultSource;

SIM_TickHandlers handlers{};

// Set by a host thread while the tick thread may be calling it: the context is stored before
// the function and read after it.
std::atomic<SIM_PeripheralFn> peripheralFn{nullptr};
std::atomic<void*> peripheralContext{nullptr};

void repeat(void (*handler)(), uint32_t count)
{
    if (handler == nullptr) return;
    for (uint32_t i = 0; i < count; ++i)
        handler();
}

void runHandler(SIM_Tick tick, uint32_t count)
{
    switch (tick) {
    case SIM_Tick::Ms1:
        if (handlers.ms1 != nullptr) handlers.ms1(count);
        break;
    case SIM_Tick::Ms10: repeat(handlers.ms10, count); break;
    case SIM_Tick::Ms20: repeat(handlers.ms20, count); break;
    case SIM_Tick::Ms100: repeat(handlers.ms100, count); break;
    }
}

} // namespace

void SIM_SetTickHandlers(const SIM_TickHandlers& next) { handlers = next; }

void SIM_SetPeripheral(SIM_PeripheralFn fn, void* context)
{
    peripheralFn.store(nullptr);
    peripheralContext.store(context);
    peripheralFn.store(fn);
}

void SIM_RunPeripheral(uint64_t nowMs)
{
    const SIM_PeripheralFn fn = peripheralFn.load();
    if (fn != nullptr) fn(peripheralContext.load(), nowMs);
}

void SIM_SetTickSource(SIM_TickSource* next) { source = next ? next : &defaultSource; }
SIM_TickSource& SIM_Ticks() { return *source; }
void SIM_Delay(uint32_t ms) { source->delay(ms); }

void SIM_FireTick(SIM_Tick tick, uint32_t count)
{
    if (count == 0 || tim_enableCount(static_cast<uint8_t>(tick)) == 0) return;
    ISR_Enter();
    runHandler(tick, count);
    ISR_Leave();
}

namespace {

// The ticks due at one 10 ms boundary of virtual time, in the target's order, under one entry
// of the tick lock: each handler finds the interrupts disabled once, as in its own interrupt.
// Virtual time walks 8.6 million of these boundaries a day.
void fireBoundary(uint32_t count1ms, bool ms20, bool ms100)
{
    bool entered = false;
    auto due = [&](SIM_Tick tick, bool connected) {
        if (tim_enableCount(static_cast<uint8_t>(tick)) == 0) return false;
        if (!entered) ISR_Enter();
        entered = true;
        return connected;
    };
    if (count1ms > 0 && due(SIM_Tick::Ms1, handlers.ms1 != nullptr)) handlers.ms1(count1ms);
    if (due(SIM_Tick::Ms10, handlers.ms10 != nullptr)) handlers.ms10();
    if (ms20 && due(SIM_Tick::Ms20, handlers.ms20 != nullptr)) handlers.ms20();
    if (ms100 && due(SIM_Tick::Ms100, handlers.ms100 != nullptr)) handlers.ms100();
    if (entered) ISR_Leave();
}

} // namespace

// ---- virtual time ----

void SIM_VirtualTicks::setHostEvent(uint64_t at, HostEvent event, void* context)
{
    hostAt_ = at < now_ ? now_ : at;
    hostEvent_ = event;
    hostContext_ = context;
}

void SIM_VirtualTicks::flush1ms()
{
    SIM_FireTick(SIM_Tick::Ms1, pending1ms_);
    pending1ms_ = 0;
}

void SIM_VirtualTicks::delay(uint32_t ms)
{
    const uint64_t target = now_ + ms;
    for (;;) {
        // Ticks due at `now_` have fired; host events at `now_` run after them.
        if (hostAt_ == now_ && hostEvent_ != nullptr) {
            flush1ms();
            hostAt_ = UINT64_MAX;
            hostEvent_(hostContext_); // may set the next host event, or throw SIM_Shutdown
            continue;
        }
        if (now_ >= target) break;
        const uint64_t boundary = (now_ / 10 + 1) * 10;
        uint64_t next = boundary < target ? boundary : target;
        if (hostAt_ < next) next = hostAt_;
        pending1ms_ += static_cast<uint32_t>(next - now_);
        now_ = next;
        if (now_ % 10 == 0) {
            fireBoundary(pending1ms_, now_ % 20 == 0, now_ % 100 == 0);
            pending1ms_ = 0;
            SIM_RunPeripheral(now_);
        }
    }
    flush1ms();
}

// ---- real time ----

struct SIM_RealTimeTicks::Impl {
    using Clock = std::chrono::steady_clock;

    Clock::time_point start = Clock::now();
    std::array<std::atomic<bool>, 4> wanted{};
    std::thread thread;
    mutable std::mutex lock;
    std::condition_variable changed;
    bool running = false;
    bool stopRequested = false;
    bool isSuspended = false;
    bool parked = false;
    bool shutdownRequested = false;
    int exitCode = 0;
    // Counts of ticks fired so far, in milliseconds of panel time. Suspension removes the
    // suspended time from the schedule instead of catching up on it.
    uint64_t fired1 = 0, fired10 = 0, fired20 = 0, fired100 = 0;
    Clock::duration pausedTotal{};
    Clock::time_point pausedSince{};

    uint64_t elapsedMs(Clock::time_point now) const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now - start - pausedTotal)
            .count();
    }

    void fireDue(uint64_t elapsed)
    {
        // After a long stall (debugger, overloaded host) resynchronise instead of firing a
        // burst of stale ticks; the tick counts stay exact in normal running.
        constexpr uint64_t maxLag = 1000;
        if (elapsed > fired1 + maxLag) {
            fired1 = elapsed;
            fired10 = elapsed / 10;
            fired20 = elapsed / 20;
            fired100 = elapsed / 100;
        }
        // Walk the 10 ms boundaries in order so 1, 10, 20 and 100 ms ticks interleave as on
        // the target.
        while (fired1 < elapsed) {
            uint64_t next = (fired1 / 10 + 1) * 10;
            if (next > elapsed) next = elapsed;
            if (wanted[0]) SIM_FireTick(SIM_Tick::Ms1, static_cast<uint32_t>(next - fired1));
            fired1 = next;
            if (fired1 % 10 == 0) {
                if (wanted[1] && fired1 / 10 > fired10) SIM_FireTick(SIM_Tick::Ms10);
                fired10 = fired1 / 10;
                if (fired1 % 20 == 0) {
                    if (wanted[2] && fired1 / 20 > fired20) SIM_FireTick(SIM_Tick::Ms20);
                    fired20 = fired1 / 20;
                }
                if (fired1 % 100 == 0) {
                    if (wanted[3] && fired1 / 100 > fired100) SIM_FireTick(SIM_Tick::Ms100);
                    fired100 = fired1 / 100;
                }
                SIM_RunPeripheral(fired1);
            }
        }
    }

    void run()
    {
        auto wake = Clock::now();
        std::unique_lock guard(lock);
        while (!stopRequested) {
            wake += std::chrono::milliseconds(10);
            changed.wait_until(guard, wake, [&] { return stopRequested; });
            if (stopRequested) break;
            if (isSuspended) {
                changed.wait(guard, [&] { return stopRequested || !isSuspended; });
                wake = Clock::now();
                continue;
            }
            const uint64_t elapsed = elapsedMs(Clock::now());
            guard.unlock();
            fireDue(elapsed);
            guard.lock();
            // A late wake-up does not shift the schedule: the next wake stays on the grid,
            // unless it fell behind by more than a period.
            const auto now = Clock::now();
            if (now > wake + std::chrono::milliseconds(10)) wake = now;
        }
    }
};

SIM_RealTimeTicks::SIM_RealTimeTicks() : impl_(new Impl) {}

SIM_RealTimeTicks::~SIM_RealTimeTicks()
{
    stop();
    delete impl_;
}

bool SIM_RealTimeTicks::create(SIM_Tick tick)
{
    impl_->wanted[static_cast<uint8_t>(tick)] = true;
    std::lock_guard guard(impl_->lock);
    if (!impl_->running) {
        impl_->running = true;
        try {
            impl_->thread = std::thread([this] { impl_->run(); });
        } catch (...) {
            impl_->running = false;
            impl_->wanted[static_cast<uint8_t>(tick)] = false;
            return false;
        }
    }
    return true;
}

void SIM_RealTimeTicks::delay(uint32_t ms)
{
    std::unique_lock guard(impl_->lock);
    const auto until = Impl::Clock::now() + std::chrono::milliseconds(ms);
    impl_->changed.wait_until(guard, until, [&] { return impl_->shutdownRequested; });
    // Suspension holds the main task here, at its next wait.
    if (impl_->isSuspended && !impl_->shutdownRequested) {
        impl_->parked = true;
        impl_->changed.notify_all();
        impl_->changed.wait(guard, [&] { return impl_->shutdownRequested || !impl_->isSuspended; });
        impl_->parked = false;
    }
    if (impl_->shutdownRequested) throw SIM_Shutdown{impl_->exitCode};
}

uint64_t SIM_RealTimeTicks::nowMs() const
{
    std::lock_guard guard(impl_->lock);
    return impl_->elapsedMs(impl_->isSuspended ? impl_->pausedSince : Impl::Clock::now());
}

bool SIM_RealTimeTicks::suspend()
{
    std::lock_guard guard(impl_->lock);
    if (impl_->isSuspended) return false;
    impl_->isSuspended = true;
    impl_->pausedSince = Impl::Clock::now();
    impl_->changed.notify_all();
    return true;
}

bool SIM_RealTimeTicks::resume()
{
    std::lock_guard guard(impl_->lock);
    if (!impl_->isSuspended) return false;
    impl_->isSuspended = false;
    impl_->pausedTotal += Impl::Clock::now() - impl_->pausedSince;
    impl_->changed.notify_all();
    return true;
}

bool SIM_RealTimeTicks::suspended() const
{
    std::lock_guard guard(impl_->lock);
    return impl_->isSuspended;
}

bool SIM_RealTimeTicks::holdMainTask(uint32_t timeoutMs)
{
    suspend();
    std::unique_lock guard(impl_->lock);
    return impl_->changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                   [&] { return impl_->parked; });
}

void SIM_RealTimeTicks::shutdown(int exitCode)
{
    std::lock_guard guard(impl_->lock);
    impl_->shutdownRequested = true;
    impl_->exitCode = exitCode;
    impl_->changed.notify_all();
}

void SIM_RealTimeTicks::stop()
{
    {
        std::lock_guard guard(impl_->lock);
        impl_->stopRequested = true;
        impl_->changed.notify_all();
    }
    if (impl_->thread.joinable()) impl_->thread.join();
}
