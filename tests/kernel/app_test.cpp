#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "kernel/app.h"
#include "kernel/dtm.h"
#include "sim/hal/host_services.h"
#include "sim/hal/instance.h"
#include "startup/startup.h"
#include "support/log_capture.h"
#include "support/panel_harness.h"

namespace {

TEST(StartType, FollowsTheRestartSurvivingVariables)
{
    struct Case {
        uint32_t magic;
        uint8_t reason;
        uint8_t type;
        uint8_t reasonAfter;
    };
    const Case cases[] = {
        {0, 99, 1, 0},                // first start since power-up
        {APP_START_MAGIC, 0, 1, 37},  // normal operation was reached, then a restart
        {APP_START_MAGIC, 1, 2, 1},   // 3 o'clock restart
        {APP_START_MAGIC, 2, 3, 2},   // controller request
        {APP_START_MAGIC, 35, 1, 35}, // memory guard destroyed
        {APP_START_MAGIC, 32, 1, 32}, // bus time-out
        {APP_START_MAGIC, 38, 1, 38},
        {APP_START_MAGIC, 129, 4, 129}, // text identifier out of range
        {APP_START_MAGIC, 130, 4, 130},
        {APP_START_MAGIC, 136, 4, 136},
        {APP_START_MAGIC, 137, 1, 37},
        {APP_START_MAGIC, 3, 1, 37},
    };
    for (const Case& c : cases) {
        AppPersistent p{c.magic, c.reason, 0, 0, 0};
        EXPECT_EQ(APP_StartType(p), c.type) << "reason " << int(c.reason);
        EXPECT_EQ(p.resetReason, c.reasonAfter) << "reason " << int(c.reason);
        EXPECT_EQ(p.startMagic, APP_START_MAGIC);
    }
}

class StartUp : public ::testing::Test {
  protected:
    PanelHarness panel;
    LogCapture log;
};

TEST_F(StartUp, TasksStartInOrderAndTheTicksBeginWithTheUserInterface)
{
    APP_Persistent().startMagic = 0;
    EXPECT_EQ(panel.start(), 1);
    EXPECT_EQ(APP_Persistent().resetInfo, 0xFFFF);
    EXPECT_FALSE(APP_GuardDestroyed());
    const std::string text = log.text();
    const auto bel = text.find("\n BEL_BeleuchtungTask Init");
    const auto tas = text.find("\n TAS_TastaturTask Init");
    const auto dtm = text.find("\n DTM_TimerTask Init");
    const auto ui = text.find("\n TEST_Recorder Init");
    ASSERT_NE(ui, std::string::npos);
    EXPECT_LT(bel, tas);
    EXPECT_LT(tas, dtm);
    EXPECT_LT(dtm, ui);
    EXPECT_EQ(PanelHarness::lastStartParameter(), 1u);

    panel.run(1000);
    // Watchdog check-ins arrive every 200 ms once SIG_TIM_ENABLE has been processed.
    EXPECT_GE(PanelHarness::only({SIG_ALIVE_TICK10}).size(), 4u);
    EXPECT_GE(PanelHarness::only({SIG_ALIVE_TICK100}).size(), 4u);
    EXPECT_GE(PanelHarness::only({SIG_ALIVE_KEYS}).size(), 4u);
}

TEST_F(StartUp, ThreeOClockRestartKeepsTheClockAndStartsWithParameterTwo)
{
    APP_Persistent().startMagic = 0;
    panel.start();
    panel.run(3000);
    const uint32_t clockBefore = DTM_GetClock();
    EVT_Post(PRIO_TIMER, SIG_TIM_DISABLE);
    EVT_Run();
    APP_SetResetReason(RESET_3UHR);
    SIM_SetFixedLocalTime(0); // a re-read of the host clock would show
    EXPECT_EQ(panel.start(), 2);
    EXPECT_EQ(PanelHarness::lastStartParameter(), 2u);
    EXPECT_EQ(DTM_GetClock(), clockBefore) << "the clock keeps running across the restart";
}

TEST_F(StartUp, RestartEmptiesTheQueuesAndResetsHighWater)
{
    APP_Persistent().startMagic = 0;
    panel.start();
    for (int i = 0; i < 5; ++i)
        EVT_Post(PRIO_UI, 250);
    EVT_Post(PRIO_TIMER, SIG_TIM_DISABLE);
    EVT_Run();
    APP_SetResetReason(130);
    EXPECT_EQ(panel.start(), 4);
    EXPECT_EQ(EVT_Pending(PRIO_UI), 0);
    EXPECT_EQ(EVT_HighWater(PRIO_UI), 0);
}

TEST_F(StartUp, IdleLoopEndsOnTheRestartFlag)
{
    APP_Persistent().startMagic = 0;
    panel.start();
    APP_RequestRestart();
    APP_IdleLoop(); // one pass, then the flag ends it
    EXPECT_EQ(APP_Persistent().restartFlag, 1);
}

TEST_F(StartUp, DestroyedMemoryGuardDeliversErrorResetSynchronously)
{
    APP_Persistent().startMagic = 0;
    panel.start();
    PanelHarness::recorded().clear();
    APP_Persistent().memoryGuard = 0;
    APP_RequestRestart(); // let the loop end after this pass
    APP_IdleLoop();
    const auto resets = PanelHarness::only({SIG_BED_ERROR_RESET});
    ASSERT_EQ(resets.size(), 1u);
    EXPECT_EQ(resets[0].par, 35u);
}

TEST(SingleInstance, SecondMainTaskIsRefusedWithAMessage)
{
    char dir[] = "/tmp/panelsim-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    SIM_SetLockDirectory(dir);
    ASSERT_TRUE(SIM_AcquireInstanceLock("Simulation_am_laufen")); // the running simulation

    static std::string shown;
    SIM_SetMessageBox(
        [](const char* text, const char* caption) { shown = std::string(caption) + ": " + text; });
    MainTask(); // returns at once
    EXPECT_EQ(shown, "Hinweis: Es ist bereits eine Simulation aktiv.");
    EXPECT_FALSE(SIM_AcquireInstanceLock("Simulation_am_laufen")) << "the first keeps its lock";

    SIM_ReleaseInstanceLock("Simulation_am_laufen");
    EXPECT_TRUE(SIM_AcquireInstanceLock("Simulation_am_laufen")) << "released with its holder";
    SIM_ReleaseInstanceLock("Simulation_am_laufen");
    SIM_SetMessageBox(nullptr);
    SIM_SetLockDirectory(nullptr);
}

} // namespace
