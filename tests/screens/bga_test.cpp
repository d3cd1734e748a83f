#include "screen_fixture.h"
#include "screens/bra.h"
#include "sim/hal/keys.h"
#include "spine/ui_spine.h"
#include "widgets/men.h"

namespace {

class BasicDisplay : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
    }
    // A key as the key task delivers it, queued behind whatever is queued already.
    static void queueKey(Signal key)
    {
        EVT_Post(PRIO_UI, SIG_KEY_ANY);
        EVT_Post(PRIO_UI, key);
    }
};

TEST_F(BasicDisplay, AKeyQueuedBehindTheFiveSecondRedrawReachesTheMenu)
{
    const uint8_t before = MEN_GetCursor();
    EVT_Post(PRIO_UI, SIG_TICK_5S);
    queueKey(SIG_KEY_DOWN);
    EVT_Run();
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
    EXPECT_NE(MEN_GetCursor(), before) << "the redraw kept the key";
    EXPECT_TRUE(shows("Weiter mit OK"));

    EVT_Post(PRIO_UI, SIG_DATA_CHANGED);
    queueKey(SIG_KEY_UP);
    EVT_Run();
    EXPECT_EQ(MEN_GetCursor(), before) << "so did the re-dispatch on new data";
}

TEST_F(BasicDisplay, AKeyQueuedBehindARedispatchToAMessageIsDropped)
{
    DAT_SetCalibrationActive(true);
    EVT_Post(PRIO_UI, SIG_DATA_CHANGED);
    queueKey(SIG_KEY_MENU); // would open the main menu from the message screen
    EVT_Run();
    EXPECT_EQ(state(), "BMA_KalibrationAktiv");
    DAT_SetCalibrationActive(false);
    dataChanged();
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

TEST_F(BasicDisplay, MessagesTakePrecedenceInTheirOrderAndTheIdleFlagHidesMostOfThem)
{
    struct Case {
        void (*set)(bool on);
        const char* screen;
        bool evenWhenIdle;
    };
    const Case cases[] = {
        {[](bool on) { DAT_SetFaultPending(on); }, "BMA_Stoerung", true},
        {[](bool on) { DAT_SetFlag(DatFlag::BurnerLockedOut, on); }, "BMA_Feuerungsautomat", true},
        {[](bool on) { DAT_SetFlag(DatFlag::CalibrationActive, on); }, "BMA_KalibrationAktiv",
         false},
        {[](bool on) { DAT_SetFlag(DatFlag::ParametrisationActive, on); },
         "BMA_ParametrierungFaAktiv", false},
        {[](bool on) { DAT_SetFlag(DatFlag::FillingActive, on); }, "BMA_BefuellungAktiv", false},
        {[](bool on) { DAT_SetFlag(DatFlag::VentingActive, on); }, "BMA_EntlueftungAktiv", false},
        {[](bool on) { DAT_SetFlag(DatFlag::ClockMustBeSet, on); }, "BMA_UhrzeitStellen", false},
        {[](bool on) { DAT_SetMaintenancePending(on); }, "BMA_Wartung", true},
    };
    // All at once, then cleared one by one from the top: each shows in turn.
    for (const Case& c : cases)
        c.set(true);
    for (const Case& c : cases) {
        dataChanged();
        EXPECT_EQ(state(), c.screen);
        c.set(false);
    }
    dataChanged();
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");

    for (const Case& c : cases) {
        BMM_SetRestart3UhrAllowed(1);
        c.set(true);
        dataChanged();
        EXPECT_EQ(state(), c.evenWhenIdle ? c.screen : "BRA_RuheAnimation") << c.screen;
        c.set(false);
        BMM_SetRestart3UhrAllowed(0);
        dataChanged();
    }
}

TEST_F(BasicDisplay, TheIdleAnimationTurnsNinetyDegreesInFortyFiveSteps)
{
    BMM_SetRestart3UhrAllowed(1);
    dataChanged();
    ASSERT_EQ(state(), "BRA_RuheAnimation");
    BRA_SetAngle(176);
    for (int step = 0; step < 45; ++step) {
        EVT_Post(PRIO_UI, SIG_WAIT_TIMEOUT);
        EVT_Run();
        if (step == 1) {
            EXPECT_EQ(BRA_GetAngle(), 180u);
        }
        if (step == 2) {
            EXPECT_EQ(BRA_GetAngle(), 2u) << "180 is followed by 2";
        }
    }
    EXPECT_EQ(BRA_GetAngle(), (176u + 90u) % 180u);
    BRA_SetAngle(181);
    EXPECT_EQ(BRA_GetAngle(), 0u);
}

TEST_F(BasicDisplay, TheFiveSecondRedrawsOfTheAnimationKeepItsAngle)
{
    run(301000);
    ASSERT_EQ(state(), "BRA_RuheAnimation");
    const uint16_t before = BRA_GetAngle();
    run(9000); // 45 frames and one or two more from the 5-second redraws
    const uint16_t turned = static_cast<uint16_t>((BRA_GetAngle() + 180 - before) % 180);
    EXPECT_GE(turned, 90u);
    EXPECT_LE(turned, 96u);
}

TEST_F(BasicDisplay, LockedOperationHidesTheUserItemsAndKeepsHelpAndTheFlueGasTest)
{
    DAT_Block(DatBlock::Config)[5] = 0x10; // lock level 1
    dataChanged();
    ASSERT_EQ(state(), "BGA_GrundanzeigeMenueGesperrt");
    EXPECT_TRUE(shows("Prüfbetrieb"));
    EXPECT_TRUE(shows("Hilfe"));
    EXPECT_FALSE(shows("Heizung")) << visibleTexts();
    EXPECT_FALSE(shows("Information"));

    tap(HARDKEY_MENU);
    EXPECT_EQ(state(), "BMA_BedienungGesperrtAnzeige");
    EXPECT_TRUE(shows("Bedienung gesperrt"));
    run(4000);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenueGesperrt") << "the notice goes after 4 s";

    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BMA_BedienungGesperrtAnzeige");
    tap(HARDKEY_UP);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenueGesperrt") << "and at any key";

    // OK on "Hilfe" opens the quick instructions, not the general help.
    tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("Weiter mit OK"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BHA_Hilfeanzeige");
    EXPECT_TRUE(shows("Wählen des Menüs, Blättern")) << visibleTexts();
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenueGesperrt");

    // Service mode opens the menus whatever the lock.
    BMM_SetServiceMode(true);
    tap(HARDKEY_MENU);
    EXPECT_EQ(state(), "BGM_Grundmenue");
    BMM_SetServiceMode(false);
}

TEST_F(BasicDisplay, LockedMenuGoesIdleFiveMinutesAfterItWasEnteredWhileTheUserScrolls)
{
    DAT_Block(DatBlock::Config)[5] = 0x10;
    tap(HARDKEY_MENU); // the notice, and back: a new entry of the basic display
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BGA_GrundanzeigeMenueGesperrt");
    for (int i = 0; i < 29; ++i) {
        tap(HARDKEY_DOWN);
        run(9800);
    }
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenueGesperrt");
    run(10000);
    EXPECT_EQ(state(), "BRA_RuheAnimation");
}

} // namespace
