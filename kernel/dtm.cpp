#include "kernel/dtm.h"

#include <array>
#include <atomic>

#include "kernel/app.h"
#include "kernel/evt.h"
#include "kernel/tas.h"
#include "sim/hal/cpu_timer.h"
#include "sim/hal/hal.h"
#include "sim/hal/host_services.h"
#include "sim/hal/intrinsics.h"
#include "sim/hal/ticks.h"

namespace {

struct OneShotTimer {
    Signal start;
    Signal expiry;
    uint8_t priority;
};

// One-shot timers, processed in table order.
constexpr std::array<OneShotTimer, 2> timers10ms{{
    {SIG_TMR_PROGRESS, SIG_PROGRESS_TICK, PRIO_UI},
    {SIG_TMR_KEY, SIG_KEY_TIMEOUT, PRIO_KEYS},
}};
constexpr std::array<OneShotTimer, 8> timers100ms{{
    {SIG_TMR_WAIT, SIG_WAIT_TIMEOUT, PRIO_UI},
    {SIG_TMR_MENU, SIG_MENU_TIMEOUT, PRIO_UI},
    {SIG_TMR_REFRESH, SIG_REFRESH, PRIO_UI},
    {SIG_TMR_SERVICE, SIG_SERVICE_TIMEOUT, PRIO_UI},
    {SIG_TMR_IDLE, SIG_IDLE_TIMEOUT, PRIO_UI},
    {SIG_TMR_TEST, SIG_TEST_TIMEOUT, PRIO_UI},
    {SIG_TMR_HWQC, SIG_HWQC_TIMEOUT, PRIO_UI},
    {SIG_TMR_ANIM, SIG_ANIM_TIMEOUT, PRIO_UI},
}};

struct PeriodicTimer {
    uint16_t reload; // the period is reload + 1 ticks of 100 ms
    Signal signal;
    uint8_t priority;
};

constexpr std::array<PeriodicTimer, 4> periodicTimers{{
    {10, SIG_TICK_1S, PRIO_LINK},
    {300, SIG_TICK_30S, PRIO_LINK},
    {600, SIG_TICK_60S, PRIO_LINK},
    {50, SIG_TICK_5S, PRIO_UI},
}};

// Counters shared with the tick handlers. The main task stores a new count while a tick may be
// counting down: the handlers decrement by compare-and-swap, so a restarted timer is never lost
// and a stale expiry never delivered. (The tick lock cannot serve here: start-up writes them
// with interrupts disabled, and the tick lock must be taken before the interrupt lock.)
using Counter = std::atomic<uint16_t>;
std::array<Counter, timers10ms.size()> counters10ms{};
std::array<Counter, timers100ms.size()> counters100ms{};
std::array<Counter, periodicTimers.size()> periodicCounters{};
std::atomic<uint32_t> clockSeconds{0};
std::atomic<uint32_t> ms1Count{0}, ms10Count{0}, ms100Count{0};
uint8_t checkIn10ms = 20;
uint8_t checkIn100ms = 2;

constexpr std::array<uint8_t, 12> monthLengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr uint32_t firstClampDay = 14245; // 2009-01-01
constexpr uint32_t lastClampDay = 46810;  // 2098-02-28

// One tick off a running timer; true when this tick made it expire.
bool countDown(Counter& counter)
{
    uint16_t value = counter.load();
    while (value != 0) {
        if (counter.compare_exchange_weak(value, static_cast<uint16_t>(value - 1)))
            return value == 1;
    }
    return false;
}

template <size_t N>
void processOneShots(const std::array<OneShotTimer, N>& table, std::array<Counter, N>& counters)
{
    for (size_t i = 0; i < N; ++i)
        if (countDown(counters[i])) EVT_Post(table[i].priority, table[i].expiry);
}

Counter* counterOf(Signal start)
{
    for (size_t i = 0; i < timers10ms.size(); ++i)
        if (timers10ms[i].start == start) return &counters10ms[i];
    for (size_t i = 0; i < timers100ms.size(); ++i)
        if (timers100ms[i].start == start) return &counters100ms[i];
    return nullptr;
}

void startTimer(Signal start, uint32_t ticks)
{
    counterOf(start)->store(static_cast<uint16_t>(ticks));
    // A refresh that belongs to an earlier start must never reach the screen.
    if (start == SIG_TMR_REFRESH) EVT_Purge(PRIO_UI, SIG_REFRESH);
}

void initialise(uint32_t startType)
{
    checkIn10ms = 20;
    checkIn100ms = 2;
    if (startType != START_3UHR) {
        const SIM_HostTime host = SIM_GetHostTime();
        const int64_t local =
            host.utcSeconds + (host.daylightSaving ? 3600 : 0) - 60 * int64_t{host.minutesWest};
        clockSeconds = static_cast<uint32_t>(local);
        periodicCounters[0] = 10;
        periodicCounters[1] = 300;
        periodicCounters[2] = 600;
    }
    periodicCounters[3] = 50;
    ms1Count = ms10Count = ms100Count = 0;
    for (Counter& c : counters10ms)
        c = 0;
    for (Counter& c : counters100ms)
        c = 0;
    CPU_TimerInit();
}

StateHandler timerTask(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT: initialise(e.par); return nullptr;
    case SIG_EXIT: return nullptr;
    case SIG_TIM_ENABLE: tim_enableAll(); return nullptr;
    case SIG_TIM_DISABLE: tim_disableAll(); return nullptr;
    case SIG_SET_CLOCK: clockSeconds = e.par; return nullptr;
    case SIG_BEEP: HAL_Beep(); return nullptr;
    default:
        if (counterOf(e.sig) != nullptr) {
            startTimer(e.sig, e.par);
            return nullptr;
        }
        break;
    }
    return &HSM_Top;
}

} // namespace

HSM_STATE(DTM_TimerTask, timerTask);

void DTM_Tick1ms(uint32_t ticks) { ms1Count += ticks; }

void DTM_Tick10ms()
{
    __enable_interrupt();
    ++ms10Count;
    processOneShots(timers10ms, counters10ms);
    if (--checkIn10ms == 0) {
        checkIn10ms = 20;
        EVT_Post(PRIO_UI, SIG_ALIVE_TICK10);
    }
    __disable_interrupt();
}

void DTM_Tick100ms()
{
    __enable_interrupt();
    if (++ms100Count % 10 == 0) ++clockSeconds;
    processOneShots(timers100ms, counters100ms);
    for (size_t i = 0; i < periodicTimers.size(); ++i) {
        if (periodicCounters[i] == 0) {
            periodicCounters[i] = periodicTimers[i].reload;
            EVT_Post(periodicTimers[i].priority, periodicTimers[i].signal);
        } else {
            --periodicCounters[i];
        }
    }
    if (--checkIn100ms == 0) {
        checkIn100ms = 2;
        EVT_Post(PRIO_UI, SIG_ALIVE_TICK100);
    }
    __disable_interrupt();
}

uint32_t DTM_GetClock() { return clockSeconds; }
uint32_t DTM_Ms1Count() { return ms1Count; }
uint32_t DTM_Ms10Count() { return ms10Count; }
uint32_t DTM_Ms100Count() { return ms100Count; }

uint16_t DTM_TimerCounter(Signal start)
{
    const Counter* counter = counterOf(start);
    return counter ? counter->load() : 0;
}

bool DTM_IsLeapYear(uint16_t year) { return year % 4 == 0; }

uint8_t DTM_MonthLength(uint16_t year, uint8_t month)
{
    if (month < 1 || month > 12) return 0;
    return static_cast<uint8_t>(monthLengths[month - 1] + (month == 2 && DTM_IsLeapYear(year)));
}

void DTM_DaysToDate(uint32_t days, DateTime& date)
{
    date.weekday = static_cast<uint8_t>((days + 3) % 7 + 1);
    uint16_t year = 1970;
    for (;;) {
        const uint32_t length = DTM_IsLeapYear(year) ? 366 : 365;
        if (days < length) break;
        days -= length;
        ++year;
    }
    uint8_t month = 1;
    while (month < 12 && days >= DTM_MonthLength(year, month))
        days -= DTM_MonthLength(year, month++);
    date.year = year;
    date.month = month;
    date.day = static_cast<uint8_t>(days + 1);
}

uint32_t DTM_DateToDays(const DateTime& date)
{
    uint32_t days = date.day - 1u;
    for (uint8_t m = 1; m < date.month && m <= 12; ++m)
        days += DTM_MonthLength(date.year, m);
    for (uint16_t y = 1970; y < date.year; ++y)
        days += DTM_IsLeapYear(y) ? 366 : 365;
    return days;
}

DateTime DTM_SecondsToDateTime(uint32_t s)
{
    DateTime dt{};
    dt.second = static_cast<uint8_t>(s % 60);
    dt.minute = static_cast<uint8_t>(s / 60 % 60);
    dt.hour = static_cast<uint8_t>(s / 3600 % 24);
    DTM_DaysToDate(s / 86400, dt);
    return dt;
}

uint32_t DTM_DateTimeToSeconds(const DateTime& dt)
{
    return DTM_DateToDays(dt) * 86400u + dt.hour * 3600u + dt.minute * 60u + dt.second;
}

DateTime DTM_GetDateTime() { return DTM_SecondsToDateTime(DTM_GetClock()); }

uint8_t DTM_AddDays(DateTime& date, int32_t delta)
{
    const bool allZero = date.year == 0 && date.month == 0 && date.day == 0;
    // With no change the date keeps its weekday (callers show the result as the day's name).
    if (delta == 0) {
        if (allZero) return 0;
        DateTime copy = date;
        DTM_DaysToDate(DTM_DateToDays(date), copy);
        return copy.weekday;
    }
    int64_t days = allZero ? int64_t{delta} : int64_t{DTM_DateToDays(date)} + delta;
    if (days < firstClampDay) days = firstClampDay;
    if (days > lastClampDay) days = lastClampDay;
    DTM_DaysToDate(static_cast<uint32_t>(days), date);
    return date.weekday;
}

void DTM_AddMinutes(uint8_t& hour, uint8_t& minute, int32_t delta)
{
    int32_t m = hour * 60 + minute + delta;
    if (m < 0) m += 1440;
    if (m >= 1440) m -= 1440;
    hour = static_cast<uint8_t>(m / 60);
    minute = static_cast<uint8_t>(m % 60);
}

void DTM_ConnectTicks()
{
    SIM_SetTickHandlers(
        {[](uint32_t count) { DTM_Tick1ms(count); }, DTM_Tick10ms, TAS_Scan, DTM_Tick100ms});
}
