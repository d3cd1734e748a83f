#include <gtest/gtest.h>

#include "kernel/dtm.h"
#include "support/panel_harness.h"

namespace {

class Timers : public ::testing::Test {
  protected:
    void SetUp() override
    {
        APP_Persistent().startMagic = 0;
        panel.start();
        EVT_Run(); // SIG_TIM_ENABLE
        PanelHarness::recorded().clear();
    }
    // Signals of priority 1 after a dispatch, without the watchdog check-ins.
    static size_t count(Signal sig)
    {
        EVT_Run();
        return PanelHarness::only({sig}).size();
    }
    static void ticks100(int n)
    {
        for (int i = 0; i < n; ++i)
            SIM_FireTick(SIM_Tick::Ms100);
    }
    PanelHarness panel;
};

TEST_F(Timers, OneShotExpiresAfterExactlyItsTicks)
{
    EVT_Post(PRIO_TIMER, SIG_TMR_TEST, 5);
    EVT_Run();
    ticks100(4);
    EXPECT_EQ(count(SIG_TEST_TIMEOUT), 0u);
    ticks100(1);
    EXPECT_EQ(count(SIG_TEST_TIMEOUT), 1u);
    ticks100(10);
    EXPECT_EQ(count(SIG_TEST_TIMEOUT), 1u) << "one-shot";
}

TEST_F(Timers, TenMillisecondTimersCountTheTenMillisecondTick)
{
    EVT_Post(PRIO_TIMER, SIG_TMR_PROGRESS, 10);
    EVT_Run();
    for (int i = 0; i < 9; ++i)
        SIM_FireTick(SIM_Tick::Ms10);
    EXPECT_EQ(count(SIG_PROGRESS_TICK), 0u);
    SIM_FireTick(SIM_Tick::Ms10);
    EXPECT_EQ(count(SIG_PROGRESS_TICK), 1u);
}

TEST_F(Timers, StartWithZeroStopsWithoutExpiry)
{
    EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, 3);
    EVT_Run();
    ticks100(2);
    EVT_Post(PRIO_TIMER, SIG_TMR_WAIT, 0);
    EVT_Run();
    ticks100(5);
    EXPECT_EQ(count(SIG_WAIT_TIMEOUT), 0u);
}

TEST_F(Timers, RestartingTheRefreshTimerDelaysItAndDropsAQueuedRefresh)
{
    EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, 40);
    EVT_Run();
    ticks100(30);
    EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, 40);
    EVT_Run();
    ticks100(39);
    EXPECT_EQ(count(SIG_REFRESH), 0u);
    ticks100(1);
    EXPECT_EQ(count(SIG_REFRESH), 1u) << "40 ticks after the restart";

    // A refresh still queued when the timer is started again never reaches the screen.
    PanelHarness::recorded().clear();
    EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, 1);
    EVT_Run();
    ticks100(1); // SIG_REFRESH is now queued at priority 1
    EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, 40);
    EXPECT_EQ(count(SIG_REFRESH), 0u);
}

TEST_F(Timers, PeriodicTicksComeEveryReloadPlusOneTicks)
{
    // The 5-second tick starts at 50; the first comes after 51 ticks, then every 51.
    ticks100(50);
    EXPECT_EQ(count(SIG_TICK_5S), 0u);
    ticks100(1);
    EXPECT_EQ(count(SIG_TICK_5S), 1u);
    ticks100(50);
    EXPECT_EQ(count(SIG_TICK_5S), 1u);
    ticks100(1);
    EXPECT_EQ(count(SIG_TICK_5S), 2u);
}

TEST_F(Timers, ClockAdvancesEveryTenTicksAndIsSetBySignal)
{
    EVT_Post(PRIO_TIMER, SIG_SET_CLOCK, 1000);
    EVT_Run();
    EXPECT_EQ(DTM_GetClock(), 1000u);
    ticks100(25);
    EXPECT_EQ(DTM_GetClock(), 1002u);
}

TEST_F(Timers, ColdStartReadsTheHostClockWithZoneAndDaylightSaving)
{
    EXPECT_EQ(DTM_GetClock(), 1767607200u); // the harness's fixed local time
}

TEST(Calendar, ConvertsDaysAndDates)
{
    struct Case {
        uint32_t days;
        uint16_t year;
        uint8_t month, day, weekday;
    };
    const Case cases[] = {
        {0, 1970, 1, 1, 4},      {14245, 2009, 1, 1, 4},  {11016, 2000, 2, 29, 2},
        {46443, 2097, 2, 26, 2}, {46810, 2098, 2, 28, 5}, {20458, 2026, 1, 5, 1},
    };
    for (const Case& c : cases) {
        DateTime d{};
        DTM_DaysToDate(c.days, d);
        EXPECT_EQ(d.year, c.year) << c.days;
        EXPECT_EQ(d.month, c.month) << c.days;
        EXPECT_EQ(d.day, c.day) << c.days;
        EXPECT_EQ(d.weekday, c.weekday) << c.days;
        EXPECT_EQ(DTM_DateToDays(d), c.days);
    }
    DateTime leap{2096, 2, 29, 0, 0, 0, 0};
    DateTime back{};
    DTM_DaysToDate(DTM_DateToDays(leap), back);
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 29) << "every year divisible by 4 is a leap year";
}

TEST(Calendar, SecondsRoundTrip)
{
    const DateTime dt = DTM_SecondsToDateTime(1767607200 + 3723); // 2026-01-05 11:02:03
    EXPECT_EQ(dt.year, 2026);
    EXPECT_EQ(dt.hour, 11);
    EXPECT_EQ(dt.minute, 2);
    EXPECT_EQ(dt.second, 3);
    EXPECT_EQ(dt.weekday, 1);
    EXPECT_EQ(DTM_DateTimeToSeconds(dt), 1767607200u + 3723u);
}

TEST(Calendar, AddDaysClampsToTheSupportedRange)
{
    DateTime d{2098, 2, 20, 0, 0, 0, 0};
    DTM_AddDays(d, 30);
    EXPECT_EQ(d.year, 2098);
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.day, 28);
    DateTime e{2009, 1, 5, 0, 0, 0, 0};
    DTM_AddDays(e, -10);
    EXPECT_EQ(e.year, 2009);
    EXPECT_EQ(e.month, 1);
    EXPECT_EQ(e.day, 1);
    DateTime zero{0, 0, 0, 0, 0, 0, 0};
    DTM_AddDays(zero, 14246);
    EXPECT_EQ(zero.day, 2) << "an all-zero date counts the delta from 1970";
    DateTime f{2026, 12, 31, 0, 0, 0, 0};
    EXPECT_EQ(DTM_AddDays(f, 1), 5);
    EXPECT_EQ(f.year, 2027);
    EXPECT_EQ(f.day, 1);
}

TEST(Calendar, AddDaysByZeroKeepsTheDateAndGivesItsWeekday)
{
    DateTime d{2026, 1, 5, 0, 0, 0, 0};
    EXPECT_EQ(DTM_AddDays(d, 0), 1) << "5 January 2026 is a Monday";
    EXPECT_EQ(d.day, 5);
}

TEST(Calendar, AddMinutesWrapsAroundMidnight)
{
    struct Case {
        uint8_t h, m;
        int32_t delta;
        uint8_t h2, m2;
    };
    for (const Case c : {Case{23, 50, 20, 0, 10}, Case{0, 5, -10, 23, 55}, Case{12, 0, 90, 13, 30},
                         Case{0, 0, 0, 0, 0}}) {
        uint8_t h = c.h, m = c.m;
        DTM_AddMinutes(h, m, c.delta);
        EXPECT_EQ(h, c.h2);
        EXPECT_EQ(m, c.m2);
    }
}

} // namespace
