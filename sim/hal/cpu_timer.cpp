#include "sim/hal/cpu_timer.h"

#include <array>
#include <atomic>

#include "sim/hal/debug.h"
#include "sim/hal/host_services.h"
#include "sim/hal/ticks.h"

namespace {

struct TickInfo {
    const char* name;
    SIM_Tick tick;
};

// In creation order.
constexpr std::array<TickInfo, 4> ticks{{
    {"Timer1ms", SIM_Tick::Ms1},
    {"Timer10ms", SIM_Tick::Ms10},
    {"Timer20ms", SIM_Tick::Ms20},
    {"Timer100ms", SIM_Tick::Ms100},
}};

// Written by the main task, read by the tick thread.
std::array<std::atomic<int32_t>, 4> enableCount{};
bool created = false; // once per process

void enable(uint8_t index, const char* name)
{
    const int32_t n = ++enableCount[index];
    if (n != 1) DBG_Printf("\nFATAL ERROR: CPU_Timer tim_enable%s() %d", name, n);
}

void disable(uint8_t index, const char* name)
{
    const int32_t n = --enableCount[index];
    if (n != 0) DBG_Printf("\nFATAL ERROR: CPU_Timer tim_disable%s() %d", name, n);
}

} // namespace

void CPU_TimerInit()
{
    if (created) return;
    created = true;
    for (const TickInfo& t : ticks) {
        if (!SIM_Ticks().create(t.tick)) {
            DBG_Printf("\nCPU_Timer: %s timeSetEvent() failed", t.name);
            char text[64];
            snprintf(text, sizeof text, "CPU_Timer: %s timeSetEvent() failed", t.name);
            SIM_MessageBox(text, "Warning");
        }
    }
}

void tim_enableTimer1ms() { enable(0, "Timer1ms"); }
void tim_enableTimer10ms() { enable(1, "Timer10ms"); }
void tim_enableTimer20ms() { enable(2, "Timer20ms"); }
void tim_enableTimer100ms() { enable(3, "Timer100ms"); }
void tim_disableTimer1ms() { disable(0, "Timer1ms"); }
void tim_disableTimer10ms() { disable(1, "Timer10ms"); }
void tim_disableTimer20ms() { disable(2, "Timer20ms"); }
void tim_disableTimer100ms() { disable(3, "Timer100ms"); }

void tim_enableAll()
{
    tim_enableTimer100ms();
    tim_enableTimer20ms();
    tim_enableTimer10ms();
    tim_enableTimer1ms();
}

void tim_disableAll()
{
    tim_disableTimer100ms();
    tim_disableTimer20ms();
    tim_disableTimer10ms();
    tim_disableTimer1ms();
}

int32_t tim_enableCount(uint8_t tick)
{
    return tick < enableCount.size() ? enableCount[tick].load() : 0;
}
