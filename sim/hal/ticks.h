// Time for the panel: the four periodic CPU ticks (1, 10, 20, 100 ms) and the main task's wait.
// One interface, two sources: real time on a host thread, or virtual time that advances only
// while the main task waits, so that runs are deterministic and far faster than real time.
#pragma once

#include <cstdint>

enum class SIM_Tick : uint8_t { Ms1, Ms10, Ms20, Ms100 };

class SIM_TickSource {
  public:
    virtual ~SIM_TickSource() = default;
    // Start producing ticks; false when the host cannot create that tick.
    virtual bool create(SIM_Tick tick) = 0;
    // The main task's wait (through GFX_Delay).
    virtual void delay(uint32_t ms) = 0;
    // Milliseconds since the source started.
    virtual uint64_t nowMs() const = 0;
};

// Thrown out of SIM_Delay when the host ends the panel (window closed, script finished).
struct SIM_Shutdown {
    int exitCode;
};

// The source the panel runs on; the host chooses it before the main task starts.
void SIM_SetTickSource(SIM_TickSource* source);
SIM_TickSource& SIM_Ticks();
void SIM_Delay(uint32_t ms);

// What each tick runs, connected by the kernel (the timer task's counters, the key scan). The
// 1 ms handler takes a whole batch of ticks; the others run once per tick. A tick without a
// handler does nothing.
struct SIM_TickHandlers {
    void (*ms1)(uint32_t count);
    void (*ms10)();
    void (*ms20)();
    void (*ms100)();
};
void SIM_SetTickHandlers(const SIM_TickHandlers& handlers);

// A peripheral of the host that lives on the panel's time, such as an emulated controller on the
// bus: called at every 10 ms boundary of panel time after that boundary's ticks, on the thread
// that runs the ticks and outside the tick lock (it takes the interrupt context itself where it
// needs it). It stops with the ticks while the panel is suspended. nullptr removes it.
using SIM_PeripheralFn = void (*)(void* context, uint64_t nowMs);
void SIM_SetPeripheral(SIM_PeripheralFn fn, void* context);
void SIM_RunPeripheral(uint64_t nowMs);

// One timer callback: when that tick is enabled, run its handler `count` times under the
// tick lock with interrupts disabled. The 1 ms handler takes the whole batch in one call.
void SIM_FireTick(SIM_Tick tick, uint32_t count = 1);

// Real time: a host thread woken every 10 ms on the steady clock that runs all due ticks in
// order (1 ms ticks batched), without accumulating drift.
class SIM_RealTimeTicks final : public SIM_TickSource {
  public:
    SIM_RealTimeTicks();
    ~SIM_RealTimeTicks() override;
    bool create(SIM_Tick tick) override;
    void delay(uint32_t ms) override;
    uint64_t nowMs() const override;

    // Application control of the window host: suspension holds the ticks and the main task at
    // its next wait; shutdown makes the next wait throw SIM_Shutdown.
    bool suspend(); // false when already suspended
    bool resume();  // false when not suspended
    bool suspended() const;
    // Suspends and waits until the main task is parked in its wait, so another thread may look
    // at the panel's state; false when it did not arrive within the time-out.
    bool holdMainTask(uint32_t timeoutMs);
    void releaseMainTask() { resume(); }
    void shutdown(int exitCode);
    void stop(); // ends the tick thread

  private:
    struct Impl;
    Impl* impl_;
};

// Virtual time: ticks fire only inside delay(), at exact millisecond boundaries. A host event
// (the headless runner's next script step, a serial byte) runs when its time is reached.
class SIM_VirtualTicks final : public SIM_TickSource {
  public:
    using HostEvent = void (*)(void* context);

    bool create(SIM_Tick) override { return true; }
    void delay(uint32_t ms) override;
    uint64_t nowMs() const override { return now_; }

    // Advance without a waiting main task (tests that drive the tick handlers directly).
    void advance(uint32_t ms) { delay(ms); }
    // The host event runs at time `at` (never earlier than now); UINT64_MAX disables it.
    void setHostEvent(uint64_t at, HostEvent event, void* context);
    uint64_t hostEventAt() const { return hostAt_; }

  private:
    void flush1ms();
    uint64_t now_ = 0;
    uint32_t pending1ms_ = 0;
    uint64_t hostAt_ = UINT64_MAX;
    HostEvent hostEvent_ = nullptr;
    void* hostContext_ = nullptr;
};
