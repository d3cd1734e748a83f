#include <gtest/gtest.h>

#include "kernel/dtm.h"
#include "sim/hal/cpu_timer.h"
#include "sim/hal/ticks.h"
#include "support/panel_harness.h"

namespace {

TEST(VirtualTime, TicksFireAtExactMillisecondsAndHostEventsInBetween)
{
    PanelHarness panel;
    APP_Persistent().startMagic = 0;
    panel.start();
    EVT_Run(); // enables the ticks
    const uint32_t ms1 = DTM_Ms1Count(), ms10 = DTM_Ms10Count(), ms100 = DTM_Ms100Count();
    static uint64_t eventAt = 0;
    panel.ticks().setHostEvent(
        panel.now() + 1234, [](void*) { eventAt = SIM_Ticks().nowMs(); }, nullptr);
    const uint64_t start = panel.now();
    SIM_Delay(2005);
    EXPECT_EQ(panel.now(), start + 2005);
    EXPECT_EQ(eventAt, start + 1234);
    EXPECT_EQ(DTM_Ms1Count() - ms1, 2005u);
    EXPECT_EQ(DTM_Ms10Count() - ms10, 200u);
    EXPECT_EQ(DTM_Ms100Count() - ms100, 20u);
}

TEST(VirtualTime, DisabledTicksDoNotRun)
{
    PanelHarness panel;
    const uint32_t ms10 = DTM_Ms10Count();
    SIM_Delay(500);
    EXPECT_EQ(DTM_Ms10Count(), ms10);
}

} // namespace
