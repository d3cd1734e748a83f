// Timer task (priority 4), software timers, periodic ticks, the wall clock and the calendar.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State DTM_TimerTask;

// Tick handlers, called by the CPU ticks with interrupts disabled. The 1 ms handler takes a
// batch of ticks at once.
void DTM_Tick1ms(uint32_t ticks = 1);
void DTM_Tick10ms();
void DTM_Tick100ms();
// Connects the host's four ticks to their handlers: 1, 10 and 100 ms to the timer task's
// counters, 20 ms to the key scan.
void DTM_ConnectTicks();

// Seconds since 1970-01-01 00:00, local time.
uint32_t DTM_GetClock();
uint32_t DTM_Ms1Count();
uint32_t DTM_Ms10Count();
uint32_t DTM_Ms100Count();

struct DateTime {
    uint16_t year;   // 1970..2099
    uint8_t month;   // 1..12
    uint8_t day;     // 1..31
    uint8_t weekday; // 1 = Monday .. 7 = Sunday
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
};

inline bool DTM_SameDate(const DateTime& a, const DateTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

DateTime DTM_GetDateTime();
DateTime DTM_SecondsToDateTime(uint32_t seconds);
// Sets year, month, day and weekday of `date` from a day number since 1970-01-01.
void DTM_DaysToDate(uint32_t days, DateTime& date);
uint32_t DTM_DateToDays(const DateTime& date);
uint32_t DTM_DateTimeToSeconds(const DateTime& dt);
// Moves the date by delta days, clamped to 2009-01-01 .. 2098-02-28; returns its weekday.
uint8_t DTM_AddDays(DateTime& date, int32_t delta);
// Moves a time of day by delta minutes, wrapping around midnight.
void DTM_AddMinutes(uint8_t& hour, uint8_t& minute, int32_t delta);
bool DTM_IsLeapYear(uint16_t year);
uint8_t DTM_MonthLength(uint16_t year, uint8_t month);

// Tests: the counter of a one-shot timer by its start signal (0 when unknown).
uint16_t DTM_TimerCounter(Signal startSignal);
