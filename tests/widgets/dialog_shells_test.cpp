// The yes/no question, the feedback and the value editor shells, each with a small family
// written here and run in the whole panel under the menu monitor.
#include "screens/bga.h"
#include "screens/screen_fixture.h"
#include "sim/hal/keys.h"
#include "spine/ui_spine.h"
#include "support/display_probe.h"
#include "widgets/abf.h"
#include "widgets/fmt.h"
#include "widgets/screen.h"
#include "widgets/ved.h"

namespace {

extern const State TEST_Frage;
extern const State TEST_Uebernommen;
extern const State TEST_Wert;
extern const State TEST_WertDialog;
extern const State TEST_WertFeedback;

int yesCount = 0;
int16_t stored = 20;
int16_t sent = 0;

// --- a question and its feedback ----------------------------------------------------------

void yes(Hsm& me)
{
    ++yesCount;
    UI_Continue(me, &TEST_Uebernommen);
}
void home(Hsm& me) { UI_Back(me, &BGA_Grundanzeige, PAR_NAVIGATE); }

constexpr ABF_Question QUESTION{.title = TXT_STOERUNG,
                                .question = TXT_QUITTIEREN_FRAGE,
                                .yes = yes,
                                .no = home,
                                .help = HLP_BSD_QUITTIEREN};
constexpr ABF_Feedback TAKEN{.draw = [] { ABF_DrawQuestion(QUESTION, false); }, .done = home};

StateHandler frage(Hsm& me, const Event& e)
{
    return ABF_HandleQuestion(QUESTION, me, e) ? nullptr : &BMM_Menuemonitor;
}
StateHandler uebernommen(Hsm& me, const Event& e)
{
    return ABF_HandleFeedback(TAKEN, me, e) ? nullptr : &BMM_Menuemonitor;
}

// --- a set value -------------------------------------------------------------------------

void drawValue(const GFX_Rect& r, int16_t value)
{
    char text[8];
    FMT_Int(value, text);
    GFX_TextInRect(text, r, GFX_ALIGN_CENTER);
}

constexpr VED_Screen VALUE{.title = TXT_RAUM_SOLLTEMP,
                           .get = [] { return stored; },
                           .limits =
                               [] {
                                   return VED_Limits{18, 22, 2};
                               },
                           .send = [](int16_t v) { sent = v; },
                           .format = drawValue,
                           .container = &TEST_Wert,
                           .dialog = &TEST_WertDialog,
                           .feedback = &TEST_WertFeedback,
                           .help = HLP_BEE_RAUM_SOLLTEMP};

StateHandler wert(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        VED_ScreenSetUp(VALUE);
        HSM_Start(me, &TEST_WertDialog);
        return nullptr;
    case SIG_KEY_BACK: home(me); return nullptr;
    }
    return &BMM_Menuemonitor;
}
StateHandler wertDialog(Hsm& me, const Event& e)
{
    return VED_HandleDialog(VALUE, me, e) ? nullptr : &TEST_Wert;
}
StateHandler wertFeedback(Hsm& me, const Event& e)
{
    return VED_HandleFeedback(VALUE, me, e) ? nullptr : &TEST_Wert;
}

const State TEST_Frage{"TEST_Frage", frage};
const State TEST_Uebernommen{"TEST_Uebernommen", uebernommen};
const State TEST_Wert{"TEST_Wert", wert};
const State TEST_WertDialog{"TEST_WertDialog", wertDialog};
const State TEST_WertFeedback{"TEST_WertFeedback", wertFeedback};

class DialogShells : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        yesCount = 0;
        stored = 21;
        sent = 0;
    }
    static void open(StateHandler s) { UI_Open(*EVT_Machine(PRIO_UI), s); }
    // The answer field is inverted: its corner pixel is set.
    static bool answerSelected() { return pixel(ABF_ANSWER_RECT.x0, ABF_ANSWER_RECT.y0); }
    static bool valueSelected() { return pixel(VED_FIELD.x0, VED_FIELD.y0); }
};

TEST_F(DialogShells, QuestionStartsOnNoTogglesWithEveryArrowAndRevertsItsHint)
{
    ABF_SetAnswer(true);
    open(&TEST_Frage);
    EXPECT_TRUE(shows("Quittieren?"));
    EXPECT_TRUE(shows("Nein")) << "reason 3 starts on no";
    EXPECT_TRUE(answerSelected());
    EXPECT_TRUE(shows("Wählen mit"));
    for (int key : {HARDKEY_UP, HARDKEY_LEFT, HARDKEY_RIGHT, HARDKEY_DOWN}) {
        const bool before = ABF_Yes();
        tap(key);
        EXPECT_NE(ABF_Yes(), before) << key;
        EXPECT_TRUE(shows(ABF_Yes() ? "Ja" : "Nein"));
    }
    EXPECT_TRUE(shows("Weiter mit OK"));
    run(4100);
    EXPECT_TRUE(shows("Wählen mit"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue") << "OK on no";
    EXPECT_EQ(yesCount, 0);
}

TEST_F(DialogShells, YesLeadsToTheFeedbackThatShowsTheAnswerAndEndsAfterFourSeconds)
{
    open(&TEST_Frage);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    EXPECT_EQ(yesCount, 1);
    EXPECT_EQ(state(), "TEST_Uebernommen");
    EXPECT_TRUE(shows("Ja"));
    EXPECT_TRUE(shows("Übernommen"));
    EXPECT_FALSE(answerSelected());
    run(3500);
    EXPECT_EQ(state(), "TEST_Uebernommen");
    run(600);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

TEST_F(DialogShells, QuestionHelpOpensItsCodeAndBackWithoutActionGoesToTheParent)
{
    open(&TEST_Frage);
    tap(HARDKEY_HELP);
    EXPECT_EQ(state(), "BHA_Hilfeanzeige");
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "TEST_Frage");
    tap(HARDKEY_BACK); // no back action: the menu monitor does not handle Back either
    EXPECT_EQ(state(), "TEST_Frage");
}

TEST_F(DialogShells, EditorStepsWithinItsLimitsSendsOnOkAndReturnsToEditingFromTheFeedback)
{
    open(&TEST_Wert);
    EXPECT_EQ(state(), "TEST_WertDialog");
    EXPECT_TRUE(shows("21"));
    EXPECT_TRUE(valueSelected());
    EXPECT_TRUE(shows("Ändern mit"));
    tap(HARDKEY_UP);
    EXPECT_TRUE(shows("22")) << "21 + 2 stops at the maximum";
    EXPECT_TRUE(shows("Übernehmen mit OK"));
    tap(HARDKEY_RIGHT);
    EXPECT_TRUE(shows("22"));
    run(4100);
    EXPECT_TRUE(shows("Ändern mit"));
    for (int i = 0; i < 3; ++i)
        tap(i % 2 ? HARDKEY_LEFT : HARDKEY_DOWN);
    EXPECT_TRUE(shows("18"));
    EXPECT_EQ(sent, 0);
    tap(HARDKEY_OK);
    EXPECT_EQ(sent, 18);
    EXPECT_EQ(state(), "TEST_WertFeedback");
    EXPECT_TRUE(shows("Übernommen"));
    EXPECT_FALSE(valueSelected());
    tap(HARDKEY_UP);
    EXPECT_EQ(state(), "TEST_WertDialog") << "the arrows edit again";
    EXPECT_TRUE(shows("18"));
    tap(HARDKEY_OK);
    run(4100);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue") << "the end of the time leaves the family";
}

TEST_F(DialogShells, EditorBackLeavesTheFamilyAndHelpOpensItsCode)
{
    stored = 40; // above the maximum: the editor starts at it
    open(&TEST_Wert);
    EXPECT_TRUE(shows("22"));
    tap(HARDKEY_HELP);
    EXPECT_EQ(state(), "BHA_Hilfeanzeige");
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "TEST_WertDialog");
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

} // namespace
