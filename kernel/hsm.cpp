#include "kernel/hsm.h"

#include <array>

#include "kernel/evt.h"
#include "sim/hal/debug.h"

namespace {

constexpr Event emptyEvent{SIG_EMPTY, 0};
constexpr Event entryEvent{SIG_ENTRY, 0};
constexpr Event exitEvent{SIG_EXIT, 0};

StateHandler topHandler(Hsm&, const Event&) { return nullptr; }

StateHandler parentOf(Hsm& me, StateHandler s) { return s->handler(me, emptyEvent); }

StateHandler trigger(Hsm& me, StateHandler s, const Event& e, const char* word)
{
    DBG_Printf(s->log == StateLog::Joined ? "\n %s%s" : "\n %s %s", s->name, word);
    return s->handler(me, e);
}

void enterPath(Hsm& me, StateHandler lca, StateHandler target)
{
    const StateHandler parent = parentOf(me, target);
    if (parent != lca) enterPath(me, lca, parent);
    trigger(me, target, entryEvent, "Entry");
}

// The caller chooses the common ancestor; one that is not an ancestor of both ends would
// climb past the top state. Such a transition is refused and the machine stays as it was.
bool validTransition(Hsm& me, StateHandler lca, StateHandler target)
{
    const bool fromOk = HSM_IsIn(me.state, lca);
    const bool toOk = HSM_IsIn(target, lca);
    if (fromOk && toOk) return true;
    DBG_Printf("\nFATAL ERROR: HSM_Tran() %s is not an ancestor of %s", lca ? lca->name : "null",
               fromOk ? (target ? target->name : "null") : (me.state ? me.state->name : "null"));
    return false;
}

constexpr size_t stateTableSize = 255;
std::array<StateHandler, stateTableSize> stateTable{};
size_t stateTableUsed = 0;

} // namespace

HSM_STATE(HSM_Top, topHandler);

bool HSM_IsIn(StateHandler s, StateHandler ancestor)
{
    if (ancestor == nullptr) return false;
    Hsm probe{s, s};
    for (StateHandler p = s; p != nullptr; p = parentOf(probe, p))
        if (p == ancestor) return true;
    return false;
}

void HSM_Construct(Hsm& me) { me.state = me.exiting = &HSM_Top; }

void HSM_Dispatch(Hsm& me, const Event& e)
{
    StateHandler h = me.state;
    while (h != nullptr)
        h = h->handler(me, e);
}

void HSM_Exit(Hsm& me, StateHandler lca)
{
    StateHandler s = me.state;
    me.exiting = s;
    while (s != lca && s != nullptr) {
        StateHandler p = trigger(me, s, exitEvent, "Exit");
        if (p == nullptr) p = parentOf(me, s);
        me.exiting = s;
        s = p;
    }
}

void HSM_Enter(Hsm& me, StateHandler lca, StateHandler target, uint32_t par)
{
    if (!HSM_IsIn(target, lca)) {
        DBG_Printf("\nFATAL ERROR: HSM_Enter() %s is not an ancestor of %s",
                   lca ? lca->name : "null", target ? target->name : "null");
        return;
    }
    if (target != lca) enterPath(me, lca, target);
    me.state = target;
    trigger(me, target, Event{SIG_INIT, par}, "Init");
}

void HSM_Tran(Hsm& me, StateHandler lca, StateHandler target, uint32_t par)
{
    if (!validTransition(me, lca, target)) return;
    HSM_Exit(me, lca);
    HSM_Enter(me, lca, target, par);
}

void HSM_Start(Hsm& me, StateHandler target, uint32_t par) { HSM_Enter(me, me.state, target, par); }

void HSM_Start(uint8_t priority, StateHandler target, uint32_t par)
{
    if (Hsm* m = EVT_Machine(priority)) HSM_Start(*m, target, par);
}

uint32_t HSM_StateToPar(StateHandler s)
{
    if (s == nullptr) return 0;
    for (size_t i = 0; i < stateTableUsed; ++i)
        if (stateTable[i] == s) return static_cast<uint32_t>(i + 1);
    if (stateTableUsed == stateTable.size()) {
        DBG_Printf("\nFATAL ERROR: HSM_StateToPar() table full for %s", s->name);
        return 0;
    }
    stateTable[stateTableUsed] = s;
    return static_cast<uint32_t>(++stateTableUsed);
}

StateHandler HSM_ParToState(uint32_t par)
{
    if (par == 0 || par > stateTableUsed) return nullptr;
    return stateTable[par - 1];
}
