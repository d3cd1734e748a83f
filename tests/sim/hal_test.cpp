#include <gtest/gtest.h>

#include "data/datapool.h"
#include "display/lcd.h"
#include "sim/hal/cpu_timer.h"
#include "sim/hal/hal.h"
#include "sim/hal/intrinsics.h"
#include "sim/hal/keys.h"
#include "support/log_capture.h"
#include "support/panel_harness.h"

namespace {

TEST(InterruptLock, NestedDisableIsReportedAndDoesNotBlock)
{
    LogCapture log;
    __disable_interrupt();
    __disable_interrupt(); // the same thread again: reported, not a deadlock
    EXPECT_TRUE(log.contains("\nFATAL ERROR: IAR_Intrinsics __disable_interrupt() 2"));
    __enable_interrupt();
    EXPECT_TRUE(log.contains("\nFATAL ERROR: IAR_Intrinsics __enable_interrupt() 1"));
    __enable_interrupt();
    EXPECT_EQ(IAR_Nesting(), 0);
    log.clear();
    __disable_interrupt();
    __enable_interrupt();
    EXPECT_EQ(log.text(), "") << "a balanced pair reports nothing";
}

TEST(InterruptLock, EnableWithoutDisableIsReported)
{
    LogCapture log;
    __enable_interrupt();
    EXPECT_TRUE(log.contains("\nFATAL ERROR: IAR_Intrinsics __enable_interrupt() -1"));
    EXPECT_EQ(IAR_Nesting(), 0);
}

TEST(TickEnables, UnbalancedEnableAndDisableAreReported)
{
    LogCapture log;
    tim_enableTimer10ms();
    EXPECT_EQ(log.text(), "");
    tim_enableTimer10ms();
    EXPECT_TRUE(log.contains("\nFATAL ERROR: CPU_Timer tim_enableTimer10ms() 2"));
    tim_disableTimer10ms();
    EXPECT_TRUE(log.contains("\nFATAL ERROR: CPU_Timer tim_disableTimer10ms() 1"));
    EXPECT_EQ(tim_enableCount(1), 1) << "one disable after two enables leaves it enabled";
    tim_disableTimer10ms();
    EXPECT_EQ(tim_enableCount(1), 0);
    log.clear();
    tim_disableTimer100ms();
    EXPECT_TRUE(log.contains("\nFATAL ERROR: CPU_Timer tim_disableTimer100ms() -1"));
    tim_enableTimer100ms();
}

TEST(Backlight, BrightnessSelectsDimmedOrFull)
{
    HAL_ApplyBrightness(24);
    EXPECT_EQ(HAL_BacklightState(), 2u);
    EXPECT_EQ(lcd_getLightMode(), 2);
    HAL_ApplyBrightness(25);
    EXPECT_EQ(HAL_BacklightState(), 4u);
    EXPECT_EQ(lcd_getLightMode(), 4);
    HAL_SetBacklight(0);
    EXPECT_EQ(lcd_getLightMode(), 0);
    LogCapture log;
    HAL_SetBacklight(7);
    EXPECT_TRUE(log.contains("\n*** Display-Beleuchtung, FEHLER ***"));
    HAL_SetBacklight(4);
}

class SimulationCommands : public ::testing::Test {
  protected:
    void SetUp() override
    {
        APP_Persistent().startMagic = 0;
        panel.start();
        panel.run(100);
        PanelHarness::recorded().clear();
    }
    PanelHarness panel;
};

TEST_F(SimulationCommands, RestartRequestsAndKeyShortcutsArePostedAtOnce)
{
    struct Case {
        int hardkey;
        Signal sig;
    };
    for (const Case c : {Case{13, SIG_3UHR_RESTART}, Case{14, SIG_REG_RESET},
                         Case{31, SIG_KEY_OK_BACK}, Case{32, SIG_KEY_MENU_OK}}) {
        PanelHarness::recorded().clear();
        SIM_HardkeyEvent(c.hardkey, true);
        SIM_HardkeyEvent(c.hardkey, false);
        EVT_Run();
        ASSERT_EQ(PanelHarness::only({c.sig}).size(), 1u) << c.hardkey;
    }
}

TEST_F(SimulationCommands, StatusBitsChangeOnTheMainTaskBeforeDataChanged)
{
    bool calibrationSeen = false;
    PanelHarness::onEvent() = [&](const Event& e) {
        if (e.sig == SIG_DATA_CHANGED) calibrationSeen = DAT_GetCalibrationActive();
    };
    SIM_HardkeyEvent(15, true); // command 2: set bit 0
    EXPECT_FALSE(DAT_GetCalibrationActive()) << "not from the window thread";
    EVT_Run();
    EXPECT_TRUE(calibrationSeen);
    SIM_HardkeyEvent(16, true); // command 3: clear bit 0
    EVT_Run();
    EXPECT_FALSE(DAT_GetCalibrationActive());
    SIM_HardkeyEvent(17, true); // command 4: set bit 1
    EVT_Run();
    EXPECT_TRUE(DAT_GetParametrisationActive());
    SIM_HardkeyEvent(18, true); // command 5
    EVT_Run();
    EXPECT_FALSE(DAT_GetParametrisationActive());
}

TEST_F(SimulationCommands, OtherCommandsAndUnknownHardkeysDoNothing)
{
    for (int hardkey : {19, 25, 30, 33, 34, 40, 127, -1}) {
        SIM_HardkeyEvent(hardkey, true);
        KEY_HardkeyCallback(hardkey, 1);
    }
    EVT_Run();
    for (const RecordedEvent& e : PanelHarness::recorded())
        EXPECT_TRUE(e.sig >= SIG_ALIVE_ADC && e.sig <= SIG_ALIVE_TICK100) << e.sig;
}

TEST(KeyMatrix, ReadsThePatternOnlyWithColumnZeroSelected)
{
    KEY_SetPattern(KEY_PATTERN_OK);
    KEY_SelectColumn(0);
    EXPECT_EQ(KEY_ReadMatrix(), 0u);
    KEY_SelectColumn(1);
    EXPECT_EQ(KEY_ReadMatrix(), KEY_PATTERN_OK);
    KEY_HardkeyCallback(HARDKEY_MENU, 1);
    EXPECT_EQ(KEY_ReadMatrix(), KEY_PATTERN_MENU);
    KEY_HardkeyCallback(HARDKEY_BACK, 0); // any release clears the whole pattern
    EXPECT_EQ(KEY_ReadMatrix(), 0u);
    KEY_HardkeyCallback(HARDKEY_FIRST_COMBINATION + 4, 1); // OK + Back
    EXPECT_EQ(KEY_ReadMatrix(), 0x21u);
    KEY_SetPattern(0);
}

} // namespace
