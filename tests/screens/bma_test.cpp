#include "link/dis.h"
#include "screen_fixture.h"
#include "sim/hal/keys.h"
#include "spine/ui_spine.h"

namespace {

class MessageScreens : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        DIS_InitLink();
    }
    static bool queued(uint8_t command, uint8_t first, uint8_t second)
    {
        for (uint8_t i = 0; i < DIS_QueueCount(); ++i) {
            const auto entry = DIS_QueuedEntry(i);
            if (entry[3] == command && entry[4] == first && entry[5] == second) return true;
        }
        return false;
    }
};

TEST_F(MessageScreens, OkEndsFillingOrVentingAtTheControllerAndGoesHome)
{
    struct Case {
        DatFlag flag;
        const char* screen;
        uint8_t function;
    };
    for (const Case c : {Case{DatFlag::FillingActive, "BMA_BefuellungAktiv", FN_FILLING},
                         Case{DatFlag::VentingActive, "BMA_EntlueftungAktiv", FN_VENTING}}) {
        DAT_SetFlag(c.flag, true);
        dataChanged();
        ASSERT_EQ(state(), c.screen);
        EXPECT_TRUE(shows("Beenden mit OK"));
        tap(HARDKEY_OK);
        EXPECT_TRUE(queued(247, c.function, 0)) << c.screen;
        EXPECT_FALSE(DAT_GetFlag(c.flag));
        EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
    }
}

TEST_F(MessageScreens, TheFaultNoticeShowsEvenWhenIdleAndAnyWayOutEndsTheIdleState)
{
    BMM_SetRestart3UhrAllowed(1);
    DAT_SetFaultPending(1);
    dataChanged();
    ASSERT_EQ(state(), "BMA_Stoerung");
    tap(HARDKEY_MENU);
    EXPECT_EQ(state(), "BGM_Grundmenue");
    EXPECT_EQ(BMM_Restart3UhrAllowed(), 0u);
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BMA_Stoerung") << "still pending";

    tap(HARDKEY_HELP);
    EXPECT_EQ(state(), "BHA_Hilfeanzeige");
    EXPECT_TRUE(shows("Mit < OK > Alarm quittieren."));
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BMA_Stoerung");
    DAT_SetFaultPending(0);
}

TEST_F(MessageScreens, TheFaultPictureBlinksAndTheNoticeIsReEvaluatedAfterTheFiveSecondTick)
{
    DAT_SetFaultPending(1);
    dataChanged();
    auto pictureShown = [] { return countSet({90, 55, 149, 114}) > 0; };
    int on = 0, off = 0;
    for (int t = 0; t < 24; ++t) {
        run(100);
        (pictureShown() ? on : off) += 1;
    }
    EXPECT_NEAR(on, 16, 2) << "0.8 s of every 1.2 s";
    EXPECT_NEAR(off, 8, 2);

    DAT_SetFaultPending(0); // no status transfer: only the re-evaluation finds out
    run(6500);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

TEST_F(MessageScreens, TheLongMenuTimeOutKeepsAMenuOpenForThirtyMinutes)
{
    tap(HARDKEY_MENU);
    ASSERT_EQ(state(), "BGM_Grundmenue");
    EVT_Post(PRIO_UI, SIG_MENU_TIMEOUT_LONG);
    run(150000);
    EXPECT_EQ(state(), "BGM_Grundmenue");
    run(1650000);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");

    tap(HARDKEY_MENU);
    EVT_Post(PRIO_UI, SIG_MENU_TIMEOUT_NORMAL);
    run(121000);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

} // namespace
