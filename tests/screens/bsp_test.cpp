// Economy mode: when the controller lets it be switched on, and what each way sends.
#include "screens/bhkm.h"
#include "screens/bpb.h"
#include "screens/bsp.h"
#include "screens/screen_fixture.h"
#include "screens/sent_commands.h"
#include "sim/hal/keys.h"
#include "widgets/screen.h"

namespace {

class EconomyMode : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        UI_Open(machine(), &BHKM_HKMenue);
        DIS_InitLink();
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
};

TEST_F(EconomyMode, SwitchesOnOnlyWhileTheCircuitHeatsByItsProgramme)
{
    struct Case {
        const char* what;
        void (*set)();
        bool possible;
    };
    const Case cases[] = {
        {"heating normally", [] {}, true},
        {"the controller does not allow it", [] { DAT_SetFlag(DatFlag::EconomyAllowed, false); },
         false},
        {"the controller blocks it", [] { DAT_SetFlag(DatFlag::EconomyBlocked, true); }, false},
        {"Abschaltbetrieb", [] { DAT_SetOperatingProgram(5); }, false},
        {"Nur Warmwasser", [] { DAT_SetOperatingProgram(0); }, false},
        {"a holiday programme", [] { DAT_SetFlag(DatFlag::HolidayActive, true); }, false},
        {"Heizen und Warmwasser (3)", [] { DAT_SetOperatingProgram(3); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DIS_InitLink();
        DAT_SetFlag(DatFlag::EconomyAllowed, true);
        DAT_SetFlag(DatFlag::EconomyBlocked, false);
        DAT_SetFlag(DatFlag::HolidayActive, false);
        DAT_SetOperatingProgram(4);
        DAT_SetEconomyMode(false);
        DAT_SetPartyMode(true);
        c.set();
        UI_Open(machine(), &BSP_SparbetriebFeedback);
        ASSERT_EQ(state(), "BSP_SparbetriebFeedback");
        if (c.possible) {
            EXPECT_TRUE(shows("Ein")) << visibleTexts();
            EXPECT_TRUE(shows("Übernommen"));
            EXPECT_TRUE(DAT_GetEconomyMode());
            EXPECT_FALSE(DAT_GetPartyMode()) << "economy mode ends the party";
            EXPECT_EQ(SentCommands(), "220/0@1 204/0@1");
        } else {
            EXPECT_TRUE(shows("Kein Heizbetrieb")) << visibleTexts();
            EXPECT_TRUE(shows("Nicht einstellbar"));
            EXPECT_TRUE(shows("Zurück mit"));
            EXPECT_FALSE(DAT_GetEconomyMode());
            EXPECT_TRUE(DAT_GetPartyMode());
            EXPECT_EQ(SentCommands(), "");
        }
        tap(HARDKEY_BACK);
        ASSERT_EQ(state(), "BHKM_HKMenue");
    }
}

// On goes off again whatever else holds now.
TEST_F(EconomyMode, OnGoesOffEvenWhereItCouldNotBeSwitchedOn)
{
    DAT_SetEconomyMode(true);
    DAT_SetOperatingProgram(5);
    UI_Open(machine(), &BSP_SparbetriebFeedback);
    EXPECT_TRUE(shows("Aus")) << visibleTexts();
    EXPECT_FALSE(DAT_GetEconomyMode());
    EXPECT_EQ(SentCommands(), "221/0@1");
    run(4100);
    EXPECT_EQ(state(), "BHKM_HKMenue");
}

// Help in the result shows it again on return without switching a second time.
TEST_F(EconomyMode, BackFromHelpShowsTheResultWithoutSwitchingAgain)
{
    UI_Open(machine(), &BSP_SparbetriebFeedback);
    ASSERT_TRUE(DAT_GetEconomyMode());
    tap(HARDKEY_HELP);
    ASSERT_EQ(state(), "BHA_Hilfeanzeige");
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BSP_SparbetriebFeedback");
    EXPECT_TRUE(shows("Ein"));
    EXPECT_TRUE(DAT_GetEconomyMode());
    EXPECT_EQ(SentCommands(), "220/0@1 204/0@1");
}

TEST_F(EconomyMode, PartyModeOnEndsEconomyModeAndSendsItsTemperature)
{
    DAT_SetEconomyMode(true);
    DAT_SetRoomSetTemp(2); // below the party minimum
    UI_Open(machine(), &BPB_Partybetrieb);
    ASSERT_EQ(state(), "BPB_PartybetriebRaumtemperatur");
    EXPECT_TRUE(shows("4°C")) << "raised to the party minimum";
    tap(HARDKEY_UP);
    tap(HARDKEY_OK);
    EXPECT_TRUE(DAT_GetPartyMode());
    EXPECT_FALSE(DAT_GetEconomyMode());
    EXPECT_EQ(DAT_GetPartySetTemp(), 5);
    EXPECT_EQ(SentCommands(), "203/0@1 221/0@1 207/5@1");

    DIS_InitLink();
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BHKM_HKMenue");
    UI_Open(machine(), &BPB_Partybetrieb);
    EXPECT_EQ(state(), "BPB_PartybetriebReset");
    EXPECT_FALSE(DAT_GetPartyMode());
    EXPECT_EQ(SentCommands(), "204/0@1");
}

} // namespace
