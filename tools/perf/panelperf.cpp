// Measures two of the panel's budgets on the real program:
//   panelperf alloc HOURS     heap allocations after start-up while the panel runs HOURS of
//                             virtual time with a user pressing keys now and then (must be 0);
//   panelperf latency N       time from a key press to the refreshed display on the real
//                             threads, N presses at random phases (budget 150 ms).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "kernel/app.h"
#include "kernel/evt.h"
#include "sim/hal/debug.h"
#include "sim/hal/host_services.h"
#include "sim/hal/instance.h"
#include "sim/hal/keys.h"
#include "sim/hal/ticks.h"
#include "sim/host/lcd_view.h"
#include "startup/startup.h"

// Every heap allocation of the process passes here once counting is on.
namespace {
std::atomic<bool> counting{false};
std::atomic<uint64_t> allocations{0};
} // namespace

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);

extern "C" void* malloc(size_t n)
{
    if (counting) ++allocations;
    return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t m)
{
    if (counting) ++allocations;
    return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, size_t n)
{
    if (counting) ++allocations;
    return __libc_realloc(p, n);
}

namespace {

void quiet(const char*, size_t) {}

// ---- allocations on virtual time ----

struct AllocRun {
    SIM_VirtualTicks ticks;
    uint64_t endMs = 0;
    uint64_t step = 0;
};

// Every 7 minutes of panel time a short burst of key presses through the menus; the rest of
// the time the panel idles (basic display, idle animation).
constexpr int keys[] = {HARDKEY_DOWN, HARDKEY_DOWN, HARDKEY_OK,   HARDKEY_UP,
                        HARDKEY_BACK, HARDKEY_MENU, HARDKEY_DOWN, HARDKEY_OK,
                        HARDKEY_HELP, HARDKEY_BACK, HARDKEY_BACK};

void allocEvent(void* context)
{
    auto* run = static_cast<AllocRun*>(context);
    const uint64_t now = run->ticks.nowMs();
    if (now == 20000) {
        // Start-up is over; from here the panel must not allocate.
        allocations = 0;
        counting = true;
    }
    if (now >= run->endMs) {
        counting = false;
        throw SIM_Shutdown{0};
    }
    const uint64_t phase = run->step++ % (2 * std::size(keys) + 1);
    uint64_t next = now + 300;
    if (phase < 2 * std::size(keys))
        SIM_HardkeyEvent(keys[phase / 2], phase % 2 == 0);
    else
        next = now + 7 * 60 * 1000;
    run->ticks.setHostEvent(next < 20000 ? 20000 : next, allocEvent, run);
}

int allocations_(double hours)
{
    static AllocRun run;
    run.endMs = static_cast<uint64_t>(hours * 3600e3);
    SIM_SetTickSource(&run.ticks);
    run.ticks.setHostEvent(20000, allocEvent, &run);
    try {
        MainTask();
    } catch (const SIM_Shutdown&) {
    }
    printf("allocations after start-up in %.1f h of panel time: %llu\n", hours,
           static_cast<unsigned long long>(allocations.load()));
    return allocations == 0 ? 0 : 1;
}

// ---- key press to refreshed display on the real threads ----

int latency(int presses)
{
    SIM_RealTimeTicks ticks;
    SIM_SetTickSource(&ticks);
    LcdView view;
    view.attach();
    std::thread app([] {
        try {
            MainTask();
        } catch (const SIM_Shutdown&) {
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(12)); // start-up display, basic display
    std::mt19937 random(7);
    std::vector<double> ms;
    for (int i = 0; i < presses; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(400 + random() % 300));
        const uint64_t before = view.generation();
        const auto t0 = std::chrono::steady_clock::now();
        SIM_HardkeyEvent(i % 2 ? HARDKEY_UP : HARDKEY_DOWN, true);
        while (view.generation() == before &&
               std::chrono::steady_clock::now() - t0 < std::chrono::seconds(2))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        SIM_HardkeyEvent(i % 2 ? HARDKEY_UP : HARDKEY_DOWN, false);
    }
    ticks.shutdown(0);
    app.join();
    ticks.stop();
    LcdView::detach();
    std::sort(ms.begin(), ms.end());
    printf("key press to refreshed display: median %.1f ms, worst %.1f ms (%d presses)\n",
           ms[ms.size() / 2], ms.back(), presses);
    return ms.back() <= 150 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: panelperf alloc HOURS | panelperf latency PRESSES\n");
        return 2;
    }
    char lockDir[] = "/tmp/panelperf-XXXXXX";
    if (mkdtemp(lockDir)) SIM_SetLockDirectory(lockDir);
    SIM_SetDebugSink(quiet);
    SIM_SetHardkeyCount(HARDKEY_COUNT);
    SIM_SetFixedLocalTime(1767607200);
    if (!strcmp(argv[1], "alloc")) return allocations_(atof(argv[2]));
    if (!strcmp(argv[1], "latency")) return latency(atoi(argv[2]));
    fprintf(stderr, "usage: panelperf alloc HOURS | panelperf latency PRESSES\n");
    return 2;
}
