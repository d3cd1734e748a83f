#include "display/lcd.h"
#include "screen_fixture.h"
#include "spine/ui_spine.h"

namespace {

// A screen that draws its text and forgets to refresh the display; OK refreshes it.
StateHandler forgetful(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        GFX_Clear();
        GFX_TextAt("Nicht aufgefrischt", 20, 60);
        return nullptr;
    case SIG_KEY_OK: lcd_refresh(); return nullptr;
    }
    return &BMM_Menuemonitor;
}
const State Forgetful{"TEST_Vergesslich", forgetful};

using VisibleText = ScreenTest;

TEST_F(VisibleText, AScreenThatDrawsWithoutRefreshingShowsNothingUntilItRefreshes)
{
    startToBasicDisplay();
    ASSERT_TRUE(shows("Kesseltemperatur"));
    HSM_Tran(*EVT_Machine(PRIO_UI), &BKE_Kontrasteinstellung, &Forgetful, PAR_NAVIGATE);
    ASSERT_EQ(state(), "TEST_Vergesslich");
    EXPECT_FALSE(shows("Nicht aufgefrischt")) << visibleTexts();
    EXPECT_TRUE(shows("Kesseltemperatur")) << "the panel still shows the menu";
    tap(HARDKEY_OK);
    EXPECT_TRUE(shows("Nicht aufgefrischt")) << visibleTexts();
    EXPECT_FALSE(shows("Kesseltemperatur")) << visibleTexts();
}

} // namespace
