#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "kernel/dtm.h"
#include "sim/hal/cpu_timer.h"
#include "sim/hal/ticks.h"

namespace {

// Runs real threads; the sanitizer build checks the locking between them.
TEST(RealTime, TicksRunOnTheHostThreadAndSuspensionHoldsThem)
{
    SIM_RealTimeTicks realTime;
    SIM_SetTickSource(&realTime);
    ASSERT_TRUE(realTime.create(SIM_Tick::Ms10));
    ASSERT_TRUE(realTime.create(SIM_Tick::Ms100));
    tim_enableTimer10ms();
    const uint32_t before = DTM_Ms10Count();
    SIM_Delay(200);
    const uint32_t after = DTM_Ms10Count();
    EXPECT_GE(after - before, 10u);
    EXPECT_LE(after - before, 30u);

    ASSERT_TRUE(realTime.suspend());
    EXPECT_FALSE(realTime.suspend()) << "already suspended";
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t held = DTM_Ms10Count();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(DTM_Ms10Count() - held, 1u);
    ASSERT_TRUE(realTime.resume());
    EXPECT_FALSE(realTime.resume()) << "not suspended";

    realTime.shutdown(3);
    try {
        SIM_Delay(1000);
        ADD_FAILURE() << "the wait must end with the shutdown";
    } catch (const SIM_Shutdown& s) {
        EXPECT_EQ(s.exitCode, 3);
    }
    tim_disableTimer10ms();
    realTime.stop();
    SIM_SetTickSource(nullptr);
}

} // namespace
