// The menu screen shell, once for all menus: a menu written as a table here, run in the whole
// panel under the menu monitor like every real menu.
#include <array>
#include <string>

#include "screens/bga.h"
#include "screens/screen_fixture.h"
#include "sim/hal/keys.h"
#include "spine/ui_spine.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

extern const State TEST_Menue;
extern const State TEST_Leer;
extern const State TEST_Ziel;

bool extraShown = false;
int prepared = 0;
uint32_t targetReason = 0;
constexpr uint32_t OWN_REASON = 7; // a reason of the target's own

// Seven rows on four lines; the third appears only with the extra flag.
constexpr std::array<MEN_Row, 7> ROWS{{
    {.text = TXT_STOERUNG, .target = &TEST_Ziel, .help = HLP_BGM_STOERUNG},
    {.text = TXT_WARTUNG, .target = &TEST_Ziel, .reason = OWN_REASON, .help = HLP_BGM_WARTUNG},
    {.text = TXT_HEIZUNG, .help = HLP_BGM_HEIZUNG, .shown = [] { return extraShown; }},
    {.text = TXT_WARMWASSER,
     .target = &TEST_Ziel,
     .help = HLP_BGM_WARMWASSER,
     .beforeOpen = [] { ++prepared; }},
    {.text = TXT_INFORMATION, .help = HLP_BGM_INFORMATION},
    {.text = TXT_EINSTELLUNGEN, .help = HLP_BGM_EINSTELLUNGEN, .draw = MEN_SubmenuMark},
    {.text = TXT_SERVICE, .help = HLP_BGM_SERVICE},
}};
MEN_Memory memory;
constexpr MEN_Screen MENU{.self = &TEST_Menue,
                          .rows = ROWS,
                          .memory = &memory,
                          .title = TXT_MENUE,
                          .back = &BGA_Grundanzeige,
                          .backReason = PAR_NAVIGATE};

StateHandler menue(Hsm& me, const Event& e)
{
    return MEN_Handle(MENU, me, e) ? nullptr : &BMM_Menuemonitor;
}

// A menu whose only row is hidden.
constexpr std::array<MEN_Row, 1> HIDDEN_ROW{{
    {.text = TXT_HEIZUNG, .target = &TEST_Ziel, .shown = [] { return extraShown; }},
}};
MEN_Memory emptyMemory;
constexpr MEN_Screen EMPTY{.self = &TEST_Leer, .rows = HIDDEN_ROW, .memory = &emptyMemory};

StateHandler leer(Hsm& me, const Event& e)
{
    return MEN_Handle(EMPTY, me, e) ? nullptr : &BMM_Menuemonitor;
}

StateHandler ziel(Hsm&, const Event& e)
{
    if (e.sig == SIG_INIT) targetReason = e.par;
    return e.sig == SIG_ENTRY || e.sig == SIG_INIT || e.sig == SIG_EXIT ? nullptr
                                                                        : &BMM_Menuemonitor;
}

const State TEST_Menue{"TEST_Menue", menue};
const State TEST_Leer{"TEST_Leer", leer};
const State TEST_Ziel{"TEST_Ziel", ziel};

class MenuShell : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        extraShown = false;
        prepared = 0;
        targetReason = 0;
        MEN_ResetMemory(memory);
        UI_Open(machine(), &TEST_Menue);
        ASSERT_EQ(state(), "TEST_Menue");
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    // The rows' texts on the four lines, in order, and where the cursor is.
    static std::string window()
    {
        std::string out;
        for (const char* t : {"Störung", "Wartung", "Heizung", "Warmwasser", "Information",
                              "Einstellungen", "Service"})
            if (shows(t)) out += std::string(out.empty() ? "" : " ") + t;
        return out;
    }
    static void queueKey(Signal key)
    {
        EVT_Post(PRIO_UI, SIG_KEY_ANY);
        EVT_Post(PRIO_UI, key);
    }
};

TEST_F(MenuShell, ScrollsKeepingOneRowAheadAndSkipsHiddenRows)
{
    EXPECT_TRUE(shows("Menü"));
    EXPECT_EQ(window(), "Störung Wartung Warmwasser Information");
    EXPECT_TRUE(shows("Wählen mit"));
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN);
    EXPECT_EQ(MEN_GetCursor(), 3) << "the hidden row is skipped";
    EXPECT_EQ(window(), "Störung Wartung Warmwasser Information");
    tap(HARDKEY_DOWN);
    EXPECT_EQ(window(), "Wartung Warmwasser Information Einstellungen")
        << "on the last line but one the list scrolls";
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN);
    EXPECT_EQ(MEN_GetCursor(), 6);
    EXPECT_EQ(window(), "Warmwasser Information Einstellungen Service");
    tap(HARDKEY_DOWN);
    EXPECT_EQ(MEN_GetCursor(), 6) << "the last row stays";
    tap(HARDKEY_UP);
    EXPECT_EQ(MEN_GetCursor(), 5);
}

TEST_F(MenuShell, ContinueHintAfterAMoveRevertsAfterFourSeconds)
{
    tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("Weiter mit OK"));
    run(3500);
    EXPECT_TRUE(shows("Weiter mit OK"));
    run(600);
    EXPECT_TRUE(shows("Wählen mit")) << visibleTexts();
    EXPECT_FALSE(shows("Weiter mit OK"));
}

TEST_F(MenuShell, HelpOpensTheCursorRowsHelpAndReturnsToThatRow)
{
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN); // "Warmwasser", help code 95
    tap(HARDKEY_HELP);
    EXPECT_EQ(state(), "BHA_Hilfeanzeige");
    EXPECT_TRUE(shows("Warmwasser")) << visibleTexts();
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "TEST_Menue");
    EXPECT_EQ(MEN_GetCursor(), 3) << "back with reason 4 at the saved row";
    EXPECT_TRUE(shows("Wählen mit"));
}

TEST_F(MenuShell, OkOpensTheTargetWithItsReasonAfterItsPreparation)
{
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "TEST_Ziel");
    EXPECT_EQ(targetReason, PAR_NAVIGATE);
    EXPECT_EQ(BMM_LastMenuChild(), &TEST_Menue) << "opened through the contrast state";

    UI_Back(machine(), &TEST_Menue, PAR_BACK);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    EXPECT_EQ(targetReason, OWN_REASON);

    UI_Back(machine(), &TEST_Menue, PAR_BACK);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    EXPECT_EQ(prepared, 1);

    UI_Back(machine(), &TEST_Menue, PAR_BACK);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK); // "Information" has no target
    EXPECT_EQ(state(), "TEST_Menue");
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

TEST_F(MenuShell, TheFiveSecondRedrawShowsNewRowsKeepsTheCursorRowAndTheQueuedKey)
{
    tap(HARDKEY_DOWN); // "Wartung"
    extraShown = true;
    EVT_Post(PRIO_UI, SIG_TICK_5S);
    queueKey(SIG_KEY_DOWN);
    EVT_Run();
    EXPECT_EQ(state(), "TEST_Menue");
    EXPECT_TRUE(shows("Heizung")) << "the new row shows";
    EXPECT_EQ(MEN_GetCursor(), 2) << "the key behind the redraw moved on from the same row";
}

TEST_F(MenuShell, ReasonThreeStartsAtTheFirstRowAndFourRestoresTheSavedOne)
{
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN);
    UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
    UI_Open(machine(), &TEST_Menue, PAR_BACK);
    EXPECT_EQ(MEN_GetCursor(), 3);
    UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
    UI_Open(machine(), &TEST_Menue, PAR_NAVIGATE);
    EXPECT_EQ(MEN_GetCursor(), 0);
}

TEST_F(MenuShell, OkInAMenuWithEveryRowHiddenOpensNothing)
{
    UI_Open(machine(), &TEST_Leer);
    ASSERT_EQ(state(), "TEST_Leer");
    EXPECT_FALSE(shows("Heizung"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "TEST_Leer") << "the hidden row's target stays closed";
}

} // namespace
