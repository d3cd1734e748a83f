// Hierarchical state machine engine. A state is a named handler; a handler answers an event
// with null when it handled it and with its parent state otherwise (always its parent for
// SIG_EMPTY). Transitions run exits up to a caller-chosen common ancestor, entries down to the
// target and the target's initial action.
#pragma once

#include <cstdint>

#include "kernel/signals.h"

struct Event {
    Signal sig;
    uint32_t par;
};

struct Hsm;
struct State;
using StateHandler = const State*;
using StateFn = StateHandler (*)(Hsm& me, const Event& e);

// The engine prints "\n NAME Entry", "\n NAME Init" and "\n NAME Exit" from the name, so every
// state of the system logs all three.
struct State {
    const char* name;
    StateFn handler;
};

struct Hsm {
    StateHandler state;   // innermost active state; changed only by an entry phase
    StateHandler exiting; // state exited last during the most recent exit phase
};

// The top state of every machine: consumes everything, has no parent.
extern const State HSM_Top;

// Transition parameters (entry reasons) shared by many screens, delivered with SIG_INIT.
inline constexpr uint32_t PAR_PLAIN = 0;
inline constexpr uint32_t PAR_NAVIGATE = 3;
inline constexpr uint32_t PAR_BACK = 4;
inline constexpr uint32_t PAR_REDRAW = 5;
inline constexpr uint32_t PAR_INIT_CODIERUNG = 12;

void HSM_Construct(Hsm& me);
void HSM_Dispatch(Hsm& me, const Event& e);
void HSM_Tran(Hsm& me, StateHandler lca, StateHandler target, uint32_t par = 0);
void HSM_Exit(Hsm& me, StateHandler lca);
void HSM_Enter(Hsm& me, StateHandler lca, StateHandler target, uint32_t par = 0);
void HSM_Start(Hsm& me, StateHandler target, uint32_t par = 0);
void HSM_Start(uint8_t priority, StateHandler target, uint32_t par = 0);
inline StateHandler HSM_State(const Hsm& me) { return me.state; }
inline StateHandler HSM_Exiting(const Hsm& me) { return me.exiting; }

// True when `ancestor` is `s` itself or one of its ancestors (the top state included).
bool HSM_IsIn(StateHandler s, StateHandler ancestor);

// Event parameters are 32 bits wide; a state travels in one (SIG_SET_RETURN_STATE,
// SIG_SET_NEXT_STATE) as a small number from this fixed table. 0 stands for no state.
uint32_t HSM_StateToPar(StateHandler s);
StateHandler HSM_ParToState(uint32_t par);
