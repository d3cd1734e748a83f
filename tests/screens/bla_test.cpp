#include "screen_fixture.h"

namespace {

using StartUpDisplay = ScreenTest;

TEST_F(StartUpDisplay, AMenuTimeOutDuringTheProgressBarIsIgnored)
{
    run(2000);
    ASSERT_EQ(state(), "BLA_PruefprogrammStart");
    EVT_Post(PRIO_UI, SIG_MENU_TIMEOUT);
    run(2000);
    EXPECT_EQ(state(), "BLA_KommunikationStart");
    EVT_Post(PRIO_UI, SIG_MENU_TIMEOUT);
    run(7000);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
    EXPECT_FALSE(log.contains("FATAL ERROR")) << log.text();
}

TEST_F(StartUpDisplay, TheProgressBarFillsOnePixelEveryTenthOfASecond)
{
    run(2000);
    auto filled = [] { return countSet({8, 40, 229, 40}); };
    const int before = filled();
    run(1000);
    EXPECT_NEAR(filled() - before, 10, 1);
}

} // namespace
