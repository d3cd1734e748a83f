// The operating programme where a script cannot set the plant up: the external switch-over
// and the external programme of the controller, a plant without hot water, and what is sent.
#include "screens/bbe.h"
#include "screens/bga.h"
#include "screens/bhkm.h"
#include "screens/screen_fixture.h"
#include "screens/sent_commands.h"
#include "sim/hal/keys.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

class OperatingProgramme : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        UI_Open(machine(), &BHKM_HKMenue);
        DIS_InitLink();
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    static void open() { UI_Open(machine(), &BetriebsartEinstellen); }
};

// Each choice writes the programme, gives up the external programme, sends its command and
// then ends economy mode with 221, even when it was active already.
TEST_F(OperatingProgramme, EachChoiceSendsItsCommandAndThenEndsEconomyMode)
{
    struct Case {
        int downs;
        uint8_t mode;
        const char* sent;
        const char* hint;
    };
    const Case cases[] = {
        {1, 0, "201/0@1 221/0@1", "Übernommen"},
        {1, 5, "200/0@1 221/0@1", "Übernommen"},
        {0, 5, "200/0@1 221/0@1", "Ist eingestellt"},
        {-2, 3, "202/0@1 221/0@1", "Übernommen"},
    };
    for (const Case& c : cases) {
        DIS_InitLink();
        DAT_SetEconomyMode(true);
        DAT_SetFlag(DatFlag::ExternalProgram, false);
        open();
        ASSERT_EQ(state(), "BetriebsartMenue");
        for (int i = 0; i < c.downs; ++i)
            tap(HARDKEY_DOWN);
        for (int i = 0; i > c.downs; --i)
            tap(HARDKEY_UP);
        tap(HARDKEY_OK);
        EXPECT_EQ(state(), "BBE_BetriebsartFeedback");
        EXPECT_TRUE(shows(c.hint)) << visibleTexts();
        EXPECT_EQ(DAT_GetOperatingProgram(), c.mode);
        EXPECT_FALSE(DAT_GetEconomyMode());
        EXPECT_EQ(SentCommands(), c.sent);
        tap(HARDKEY_BACK);
        tap(HARDKEY_BACK);
        ASSERT_EQ(state(), "BHKM_HKMenue");
    }
}

TEST_F(OperatingProgramme, WithoutHotWaterOnlyHeatingAndStandbyAreOffered)
{
    DAT_SetFlag(DatFlag::DhwPresent, false);
    DAT_SetOperatingProgram(0); // "Nur Warmwasser", which the list no longer offers
    open();
    EXPECT_FALSE(shows("Nur Warmwasser")) << visibleTexts();
    EXPECT_TRUE(shows("Heizen und Warmwasser"));
    EXPECT_EQ(MEN_GetCursor(), 0) << "the cursor goes to the first programme offered";
    tap(HARDKEY_DOWN);
    EXPECT_EQ(MEN_GetCursor(), 2);
}

TEST_F(OperatingProgramme, AnExternalSwitchOverShowsOnlyUntilItEnds)
{
    DAT_SetFlag(DatFlag::ExternalSwitchOver, true);
    DAT_SetFlag(DatFlag::ExternalProgram, true); // the switch-over wins
    open();
    ASSERT_EQ(state(), "ExterneAufschaltung");
    EXPECT_TRUE(shows("Externe Aufschaltung"));
    EXPECT_TRUE(shows("Heizung dauernd Aus/Ein"));
    EXPECT_TRUE(shows("Nicht änderbar"));
    EXPECT_TRUE(shows("Weiter mit OK"));
    for (int key : {HARDKEY_UP, HARDKEY_DOWN, HARDKEY_LEFT})
        tap(key);
    EXPECT_EQ(state(), "ExterneAufschaltung");
    run(5000);
    EXPECT_EQ(state(), "ExterneAufschaltung");
    DAT_SetFlag(DatFlag::ExternalSwitchOver, false);
    DAT_SetFlag(DatFlag::ExternalProgram, false);
    run(5000);
    EXPECT_EQ(state(), "BetriebsartMenue") << "the 5-second check finds it ended";
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BHKM_HKMenue") << "the return state survives the redraw";

    DAT_SetFlag(DatFlag::ExternalSwitchOver, true);
    open();
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BHKM_HKMenue");
    EXPECT_EQ(SentCommands(), "");
}

TEST_F(OperatingProgramme, AnExternalProgrammeIsGivenUpOnlyAfterYes)
{
    DAT_SetFlag(DatFlag::ExternalProgram, true);
    open();
    ASSERT_EQ(state(), "ExternesProgramm");
    EXPECT_TRUE(shows("Externes Programm"));
    EXPECT_TRUE(shows("Ändern?"));
    EXPECT_TRUE(shows("Nein"));
    EXPECT_TRUE(shows("Ändern mit"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BHKM_HKMenue") << "OK on \"Nein\" ends the function";

    open();
    tap(HARDKEY_RIGHT);
    EXPECT_TRUE(shows("Ja"));
    EXPECT_TRUE(shows("Weiter mit OK"));
    run(4100);
    EXPECT_TRUE(shows("Wählen mit")) << visibleTexts();
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "ExternesProgramm");
    EXPECT_TRUE(shows("Übernommen"));
    EXPECT_FALSE(DAT_GetFlag(DatFlag::ExternalProgram));
    EXPECT_EQ(DAT_GetOperatingProgram(), 3);
    EXPECT_EQ(SentCommands(), "202/0@1 221/0@1");
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BetriebsartMenue") << "the second OK shows the list";

    tap(HARDKEY_BACK);
    DAT_SetFlag(DatFlag::ExternalProgram, true);
    open();
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    run(4100);
    EXPECT_EQ(state(), "BetriebsartMenue") << "or the end of the time";
}

} // namespace
