#include <gtest/gtest.h>

#include "data/datapool.h"
#include "display/lcd.h"
#include "sim/hal/hal.h"
#include "spine/bel.h"
#include "support/panel_harness.h"

namespace {

class Illumination : public ::testing::Test {
  protected:
    void SetUp() override
    {
        APP_Persistent().startMagic = 0;
        panel.start();
        EVT_Run();
    }
    static void post(Signal sig, uint32_t par = 0)
    {
        EVT_Post(PRIO_LIGHT, sig, par);
        EVT_Run();
    }
    PanelHarness panel;
};

TEST_F(Illumination, BrightnessRequestsSelectTheBacklight)
{
    DAT_SetBrightnessOperation(168);
    DAT_SetBrightnessIdle(24);
    struct Case {
        Signal sig;
        uint32_t par;
        uint8_t level;
        uint32_t backlight;
    };
    const Case cases[] = {
        {SIG_LIGHT_FULL, 0, 168, 4},  // operating brightness: full
        {SIG_LIGHT_NORMAL, 0, 24, 2}, // idle brightness: dimmed
        {SIG_LIGHT_SET, 25, 25, 4},   {SIG_LIGHT_SET, 10, 10, 2}, {SIG_LIGHT_OFF, 0, 0, 2},
    };
    for (const Case& c : cases) {
        post(c.sig, c.par);
        EXPECT_EQ(BEL_GetLevel(), c.level) << c.sig;
        EXPECT_EQ(HAL_BacklightState(), c.backlight) << c.sig;
    }
    EXPECT_EQ(lcd_getLightMode(), 2) << "dimmed";
}

TEST_F(Illumination, PresetsOnlyNoteTheTarget)
{
    post(SIG_LIGHT_FULL);
    const uint32_t before = HAL_BacklightState();
    post(SIG_LIGHT_NORMAL_PRESET);
    post(SIG_LIGHT_FULL_PRESET);
    EXPECT_EQ(HAL_BacklightState(), before);
    EXPECT_EQ(BEL_GetLevel(), DAT_GetBrightnessOperation());
}

} // namespace
