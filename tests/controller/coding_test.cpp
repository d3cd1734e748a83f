// The coding levels against the emulator: every address the browser stops at is answered by
// the controller's own parameters, a write is applied within the controller's limits, and the
// factory setting reaches the controller.
#include "controller/controller_fixture.h"
#include "sim/hal/keys.h"

namespace {

constexpr int HARDKEY_SERVICE_MENU = HARDKEY_FIRST_COMMAND + 19;
constexpr int HARDKEY_CODING_LEVEL_2 = HARDKEY_FIRST_COMMAND + 18;

class CodingWithController : public ControllerPanel {
  protected:
    void SetUp() override
    {
        ControllerPanel::SetUp();
        startToBasicDisplay();
        run(2000);
        tap(HARDKEY_SERVICE_MENU);
        ASSERT_EQ(state(), "BSVM_Servicemenue");
    }

    // Coding level 1, the group on the given line of the group menu.
    void openLevel1(int groupLine)
    {
        tap(HARDKEY_DOWN);
        tap(HARDKEY_DOWN);
        tap(HARDKEY_OK);
        for (int i = 0; i < groupLine; ++i)
            tap(HARDKEY_DOWN);
        tap(HARDKEY_OK);
        ASSERT_EQ(state(), "BCP_Codierung_1");
        run(500);
    }
};

TEST_F(CodingWithController, AMaintenanceIntervalIsReadChangedAndKeptByTheController)
{
    openLevel1(1); // "Kessel"
    EXPECT_TRUE(shows("01")) << "nothing at 0: the controller's first parameter" << allReports();
    EXPECT_TRUE(shows("Ein-/Mehrkesselanlage"));
    for (int i = 0; i < 0x22; ++i)
        tap(HARDKEY_UP, 50);
    run(500);
    EXPECT_TRUE(shows("23")) << allReports();
    EXPECT_TRUE(shows("Wartung Zeitintervall"));
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCP_EditValue");
    for (int i = 0; i < 30; ++i)
        tap(HARDKEY_UP, 50);
    EXPECT_TRUE(shows("24")) << "the controller's maximum";
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCP_EditFeedback");
    run(500);
    EXPECT_TRUE(reported("coding write 1/23 = 24")) << allReports();
    run(4000);
    EXPECT_EQ(state(), "BCP_Codierung_1");
    EXPECT_TRUE(shows("24"));
}

TEST_F(CodingWithController, TheSolarGroupAndLevelTwoAnswerTheirOwnParameters)
{
    openLevel1(3); // "Solar"
    EXPECT_TRUE(shows("08")) << allReports();
    EXPECT_TRUE(shows("Speicher-")) << "the first solar parameter of level 1";
    tap(HARDKEY_BACK);
    tap(HARDKEY_CODING_LEVEL_2);
    ASSERT_EQ(state(), "BCPM_Codierung_2_Menue");
    for (int i = 0; i < 3; ++i)
        tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    run(500);
    EXPECT_TRUE(shows("02")) << "level 2 offers the solar parameters of level 2 too"
                             << allReports();
}

TEST_F(CodingWithController, TheFactorySettingResetsTheControllersCodings)
{
    openLevel1(1);
    tap(HARDKEY_UP);
    run(500);
    tap(HARDKEY_OK);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    run(500);
    ASSERT_TRUE(reported("coding write 1/07")) << allReports();
    tap(HARDKEY_BACK);
    tap(HARDKEY_BACK);
    for (int i = 0; i < 6; ++i)
        tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCPM_Grundeinstellung");
    tap(HARDKEY_UP);
    tap(HARDKEY_OK);
    run(500);
    EXPECT_TRUE(reported("factory setting of the coding parameters")) << allReports();
}

} // namespace
