// The heating curve: its flow temperatures, the limits of slope and level, the Fahrenheit
// drawing and the flat top of a steep curve.
#include <cmath>

#include "screens/bhkh.h"
#include "screens/bhkm.h"
#include "screens/screen_fixture.h"
#include "screens/sent_commands.h"
#include "sim/hal/keys.h"
#include "support/golden_check.h"
#include "widgets/screen.h"

namespace {

TEST(HeatingCurve, FlowTemperatureFollowsTheCurveAndStaysWithin0And100)
{
    struct Case {
        float room, outside;
        uint8_t slope;
        int8_t level;
        float flow;
    };
    const Case cases[] = {
        {20, 20, 14, 0, 20.0f}, // no difference: room plus level
        {20, 20, 14, 5, 25.0f},
        {20, 0, 14, 0, 51.188f},    // 1.4 * 20 * (1.4347 - 0.42 + 0.09916) + 20
        {20, -10, 10, -3, 47.834f}, // 1.0 * 30 * (1.4347 - 0.63 + 0.22311) - 3 + 20
        {20, -30, 35, 0, 100.0f},   // limited at the top
        {20, 40, 35, 0, 0.0f},      // and at the bottom
    };
    for (const Case& c : cases)
        EXPECT_NEAR(BHKH_FlowTemperature(c.room, c.outside, c.slope, c.level), c.flow, 0.01f)
            << c.outside << " " << int{c.slope};
}

class HeatingCurveScreens : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        UI_Open(machine(), &BHKM_HKMenue);
        UI_Open(machine(), &BHKH_NeigungNiveauMenue);
        DIS_InitLink();
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    void taps(int key, int n)
    {
        for (int i = 0; i < n; ++i)
            tap(key);
    }
};

TEST_F(HeatingCurveScreens, SlopeAndLevelStopAtTheirLimits)
{
    struct Case {
        int row, key;
        const char* limit;
        const char* sent;
    };
    const Case cases[] = {
        {0, HARDKEY_DOWN, "0,2", "210/2@1"},
        {0, HARDKEY_UP, "3,5", "210/35@1"},
        {1, HARDKEY_LEFT, "-13 K", "211/243@1"},
        {1, HARDKEY_RIGHT, "40 K", "211/40@1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        DIS_InitLink();
        if (c.row == 1) tap(HARDKEY_DOWN);
        if (c.row == 0) tap(HARDKEY_UP);
        tap(HARDKEY_OK);
        taps(c.key, 60);
        EXPECT_TRUE(shows(c.limit)) << visibleTexts();
        tap(HARDKEY_OK);
        EXPECT_TRUE(shows("Übernommen"));
        EXPECT_EQ(SentCommands(), c.sent);
        tap(HARDKEY_OK);
        ASSERT_EQ(state(), "BHKH_NeigungNiveauMenue");
        EXPECT_TRUE(shows(c.limit)) << "the menu shows the stored value";
    }
}

TEST_F(HeatingCurveScreens, ASteepCurveIsFlatAtOneHundredAtTheColdEnd)
{
    DAT_SetHeatingCurveSlope(35);
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BHKH_NeigungDialog");
    int hundreds = 0;
    for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
        if (std::strcmp(GFX_GetVisibleText(i).text, "100°C") == 0) ++hundreds;
    EXPECT_EQ(hundreds, 3) << "the labels at -10 and -20 and the axis: " << visibleTexts();
}

// The scale and the labels in the display unit; the curve itself is the same.
TEST_F(HeatingCurveScreens, InFahrenheitTheScaleAndTheLabelsAreConverted)
{
    DAT_SetTempUnitFahrenheit(true);
    tap(HARDKEY_OK);
    for (const char* t : {"68", "50", "32", "14", "-4", "-22", "212°F", "99°F", "169°F"})
        EXPECT_TRUE(shows(t)) << t << ": " << visibleTexts();
    EXPECT_TRUE(MatchesGolden("screens", "bhkh_fahrenheit.png"));
}

TEST_F(HeatingCurveScreens, BackDropsTheWorkingValue)
{
    tap(HARDKEY_OK);
    taps(HARDKEY_UP, 3);
    EXPECT_TRUE(shows("1,7"));
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BHKH_NeigungNiveauMenue");
    EXPECT_TRUE(shows("1,4"));
    EXPECT_EQ(DAT_GetHeatingCurveSlope(), 14);
    EXPECT_EQ(SentCommands(), "");
}

} // namespace
