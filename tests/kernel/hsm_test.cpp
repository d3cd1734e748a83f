#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kernel/hsm.h"
#include "support/log_capture.h"

namespace {

// top -> A -> B -> D, A -> A2, top -> X (a sibling branch)
std::vector<std::string> trail;
extern const State A, B, D, A2, X, Plain;

StateHandler record(const char* name, const Event& e, StateHandler parent)
{
    switch (e.sig) {
    case SIG_ENTRY: trail.push_back(std::string(name) + "-entry"); return nullptr;
    case SIG_EXIT: trail.push_back(std::string(name) + "-exit"); return nullptr;
    case SIG_INIT:
        trail.push_back(std::string(name) + "-init(" + std::to_string(e.par) + ")");
        return nullptr;
    default: return parent;
    }
}

StateHandler aFn(Hsm&, const Event& e) { return record("A", e, &HSM_Top); }
StateHandler bFn(Hsm&, const Event& e) { return record("B", e, &A); }
StateHandler dFn(Hsm&, const Event& e) { return record("D", e, &B); }
StateHandler xFn(Hsm&, const Event& e) { return record("X", e, &HSM_Top); }
// A2 initialises into its child Plain, which has no actions of its own.
StateHandler a2Fn(Hsm& me, const Event& e)
{
    if (e.sig == SIG_INIT) {
        trail.push_back("A2-init(" + std::to_string(e.par) + ")");
        HSM_Start(me, &Plain, e.par);
        return nullptr;
    }
    return record("A2", e, &A);
}
StateHandler plainFn(Hsm&, const Event&) { return &A2; }

const State A{"A", aFn}, B{"B", bFn}, D{"D", dFn}, A2{"A2", a2Fn}, X{"X", xFn},
    Plain{"Plain", plainFn};

class Engine : public ::testing::Test {
  protected:
    void SetUp() override
    {
        HSM_Construct(m);
        HSM_Start(m, &D, 1);
        trail.clear();
    }
    Hsm m{};
};

TEST_F(Engine, StartEntersOutermostFirstThenInitsTheTarget)
{
    Hsm fresh{};
    HSM_Construct(fresh);
    HSM_Start(fresh, &D, 1);
    EXPECT_EQ(trail, (std::vector<std::string>{"A-entry", "B-entry", "D-entry", "D-init(1)"}));
    EXPECT_EQ(HSM_State(fresh), &D);
}

TEST_F(Engine, TransitionExitsUpToTheAncestorAndEntersDownToTheTarget)
{
    HSM_Tran(m, &A, &A2, 3);
    EXPECT_EQ(trail, (std::vector<std::string>{"D-exit", "B-exit", "A2-entry", "A2-init(3)"}));
    EXPECT_EQ(HSM_State(m), &Plain) << "A2 initialised into its child";
    EXPECT_EQ(HSM_Exiting(m), &B) << "the state exited last";
}

TEST_F(Engine, SelfTransitionOnTheCurrentStateRunsOnlyItsInit)
{
    HSM_Tran(m, &D, &D, 7);
    EXPECT_EQ(trail, (std::vector<std::string>{"D-init(7)"}));
    EXPECT_EQ(HSM_State(m), &D);
}

TEST_F(Engine, TransitionToAnAncestorReinitialisesItWithoutReentering)
{
    HSM_Tran(m, &A, &A, 4);
    EXPECT_EQ(trail, (std::vector<std::string>{"D-exit", "B-exit", "A-init(4)"}));
    EXPECT_EQ(HSM_State(m), &A);
}

TEST_F(Engine, StateWithoutExitActionIsNotAskedForItsParentAgain)
{
    HSM_Tran(m, &A, &A2, 0); // now in Plain, which answers every signal with its parent
    trail.clear();
    LogCapture log;
    HSM_Tran(m, &HSM_Top, &X, 0);
    EXPECT_EQ(trail, (std::vector<std::string>{"A2-exit", "A-exit", "X-entry", "X-init(0)"}));
    // Every state is logged, also one without actions of its own.
    EXPECT_TRUE(log.contains("\n Plain Exit\n A2 Exit\n A Exit\n X Entry\n X Init"));
}

StateHandler joinedFn(Hsm&, const Event&) { return &A; }
HSM_STATE_JOINED(Joined, joinedFn);

TEST_F(Engine, AStateWithJoinedLogLinesPrintsTheWordStraightAfterItsName)
{
    LogCapture log;
    HSM_Tran(m, &A, &Joined, 0);
    HSM_Tran(m, &A, &A2, 0);
    EXPECT_TRUE(log.contains("\n JoinedEntry\n JoinedInit\n JoinedExit\n A2 Entry"));
}

TEST_F(Engine, UnhandledEventsEndAtTheTopWithoutEffect)
{
    HSM_Dispatch(m, Event{SIG_NONE, 0});
    HSM_Dispatch(m, Event{250, 1});
    EXPECT_TRUE(trail.empty());
    EXPECT_EQ(HSM_State(m), &D);
}

TEST_F(Engine, AncestorThatIsNoAncestorIsRefusedAndLeavesTheMachine)
{
    LogCapture log;
    HSM_Tran(m, &X, &A2, 3); // X is not above D
    EXPECT_TRUE(trail.empty());
    EXPECT_EQ(HSM_State(m), &D);
    EXPECT_TRUE(log.contains("\nFATAL ERROR: HSM_Tran()"));
    HSM_Tran(m, &B, &X, 3); // B is above D but not above X
    EXPECT_TRUE(trail.empty());
    EXPECT_EQ(HSM_State(m), &D);
}

TEST(StateParameters, StatesTravelInEventParametersAndBack)
{
    EXPECT_EQ(HSM_StateToPar(nullptr), 0u);
    EXPECT_EQ(HSM_ParToState(0), nullptr);
    const uint32_t a = HSM_StateToPar(&A);
    const uint32_t x = HSM_StateToPar(&X);
    EXPECT_NE(a, x);
    EXPECT_EQ(HSM_StateToPar(&A), a) << "the same state always gets the same number";
    EXPECT_EQ(HSM_ParToState(a), &A);
    EXPECT_EQ(HSM_ParToState(x), &X);
    EXPECT_EQ(HSM_ParToState(100000), nullptr);
}

} // namespace
