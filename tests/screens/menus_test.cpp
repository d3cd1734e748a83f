// The main menu and the end-user menu in the whole panel: what the menu shell gives them.
#include "screen_fixture.h"
#include "screens/bga.h"
#include "sim/hal/keys.h"
#include "spine/ui_spine.h"
#include "widgets/men.h"

namespace {

class Menus : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
    }
    static void queueKey(Signal key)
    {
        EVT_Post(PRIO_UI, SIG_KEY_ANY);
        EVT_Post(PRIO_UI, key);
    }
    // "Heizung" in the basic display menu opens the end-user menu.
    void openEndUserMenu()
    {
        while (MEN_GetCursor() < 2)
            tap(HARDKEY_DOWN);
        tap(HARDKEY_OK);
        ASSERT_EQ(state(), "BEE_Endbenutzermenue");
    }
};

// The 5-second redraw runs the menu's init again; a key pressed just before it is dispatched
// after it and still moves the cursor.
TEST_F(Menus, AKeyQueuedBehindTheFiveSecondRedrawReachesTheMainMenu)
{
    tap(HARDKEY_MENU);
    ASSERT_EQ(state(), "BGM_Grundmenue");
    const uint8_t before = MEN_GetCursor();
    EVT_Post(PRIO_UI, SIG_TICK_5S);
    queueKey(SIG_KEY_DOWN);
    EVT_Run();
    EXPECT_EQ(state(), "BGM_Grundmenue");
    EXPECT_NE(MEN_GetCursor(), before);
    EXPECT_TRUE(shows("Weiter mit OK"));
}

TEST_F(Menus, AKeyQueuedBehindTheFiveSecondRedrawReachesTheEndUserMenu)
{
    openEndUserMenu();
    const uint8_t before = MEN_GetCursor();
    EVT_Post(PRIO_UI, SIG_TICK_5S);
    queueKey(SIG_KEY_DOWN);
    EVT_Run();
    EXPECT_EQ(state(), "BEE_Endbenutzermenue");
    EXPECT_EQ(MEN_GetCursor(), before + 1);
}

TEST_F(Menus, AKeyQueuedBehindAChangeOfScreenIsDropped)
{
    tap(HARDKEY_MENU);
    queueKey(SIG_KEY_BACK); // to the basic display
    queueKey(SIG_KEY_MENU); // dropped: it was meant for the main menu
    EVT_Run();
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

// Saved cursors belong to one run of the panel: a restart starts every menu afresh.
TEST_F(Menus, APanelStartForgetsTheRememberedPositions)
{
    tap(HARDKEY_DOWN);
    tap(HARDKEY_MENU);
    ASSERT_EQ(BGA_GetMenuState(), &BGA_GrundanzeigeMenue);
    EVT_Post(PRIO_TIMER, SIG_TIM_DISABLE);
    EVT_Run();
    panel.start();
    EXPECT_EQ(BGA_GetMenuState(), &BGA_Grundanzeige);
    run(STARTUP_MS);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
    EXPECT_EQ(MEN_GetCursor(), MEN_FirstVisible());
}

} // namespace
