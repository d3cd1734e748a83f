// The circuit selection between an opener and the function that needs a circuit first.
#include "screens/bhkw.h"
#include "screens/screen_fixture.h"
#include "sim/hal/keys.h"
#include "spine/ui_spine.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

extern const State TEST_Opener;
extern const State TEST_Function;

uint32_t functionReason = 0;
uint8_t circuitAtFunction = 0;

StateHandler opener(Hsm&, const Event& e)
{
    return e.sig == SIG_ENTRY || e.sig == SIG_INIT || e.sig == SIG_EXIT ? nullptr
                                                                        : &BMM_Menuemonitor;
}

StateHandler function(Hsm&, const Event& e)
{
    if (e.sig == SIG_INIT) {
        functionReason = e.par;
        circuitAtFunction = DAT_GetSelectedCircuit();
    }
    return e.sig == SIG_ENTRY || e.sig == SIG_INIT || e.sig == SIG_EXIT ? nullptr
                                                                        : &BMM_Menuemonitor;
}

const State TEST_Opener{"TEST_Opener", opener};
const State TEST_Function{"TEST_Function", function};

constexpr uint8_t CIRCUIT_CONFIG = 23;

class CircuitSelection : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        functionReason = 0;
        circuitAtFunction = 0;
        UI_Open(machine(), &TEST_Opener);
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    // What an opener does: the selection, then the function it leads to.
    static void openSelection()
    {
        UI_Open(machine(), &BHKW_HKWahl);
        EVT_Send(&machine(), SIG_SET_NEXT_STATE, HSM_StateToPar(&TEST_Function));
    }
    static void oneCircuit(uint8_t config) { DAT_Block(DatBlock::Config)[CIRCUIT_CONFIG] = config; }
    // The function ends and goes back to the selection, as the functions do.
    static void functionDone() { UI_Back(machine(), &BHKW_HKWahl, PAR_BACK); }
};

TEST_F(CircuitSelection, WithTwoCircuitsTheChosenOneBecomesCurrentForTheFunction)
{
    openSelection();
    ASSERT_EQ(state(), "BHKW_HKWahl");
    EXPECT_TRUE(shows("Heizkreiswahl")) << visibleTexts();
    EXPECT_TRUE(shows("Erdgeschoss"));
    EXPECT_TRUE(shows("Obergeschoss"));
    EXPECT_TRUE(shows("HK2"));
    EXPECT_TRUE(shows("Wählen mit"));
    tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("Weiter mit OK"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "TEST_Function");
    EXPECT_EQ(functionReason, PAR_NAVIGATE);
    EXPECT_EQ(circuitAtFunction, 2);

    functionDone();
    EXPECT_EQ(state(), "BHKW_HKWahl");
    EXPECT_EQ(MEN_GetCursor(), 1) << "back at the row chosen last";
    tap(HARDKEY_UP);
    tap(HARDKEY_OK);
    EXPECT_EQ(circuitAtFunction, 1);
    functionDone();
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "TEST_Opener");
}

TEST_F(CircuitSelection, WithOneCircuitTheFunctionOpensAtOnceAndItsEndLeavesTheSelection)
{
    struct Case {
        uint8_t config;
        uint8_t circuit;
    };
    // Circuit 1 alone, circuit 2 alone (the first configured one becomes current).
    for (const Case c : {Case{0x01, 1}, Case{0x04, 2}}) {
        oneCircuit(c.config);
        DAT_SelectCircuit(c.circuit == 1 ? 2 : 1);
        openSelection();
        EXPECT_EQ(state(), "TEST_Function");
        EXPECT_EQ(functionReason, PAR_NAVIGATE);
        EXPECT_EQ(circuitAtFunction, c.circuit);
        functionDone();
        EXPECT_EQ(state(), "TEST_Opener") << "nothing to choose, so back to the opener";
    }
}

} // namespace
