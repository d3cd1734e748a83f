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
// state of the system logs all three. A state whose log lines carry the word straight after the
// name ("\n NAMEEntry") says so: service tools match those lines as they are.
enum class StateLog : uint8_t { Blank, Joined };
struct State {
    const char* name;
    StateFn handler;
    StateLog log = StateLog::Blank;
};

struct Hsm {
    StateHandler state;   // innermost active state; changed only by an entry phase
    StateHandler exiting; // state exited last during the most recent exit phase
};

// Defines a state of the system: the engine logs it under the name of its C++ symbol, so a
// state's debug name can never differ from the name the code uses. HSM_STATE(BGA_Grundanzeige,
// grundanzeige) defines BGA_Grundanzeige, logged "\n BGA_Grundanzeige Entry".
#define HSM_STATE(name, handler) const State name = {#name, handler}
// The same for a state whose lines carry the word straight after the name.
#define HSM_STATE_JOINED(name, handler) const State name = {#name, handler, StateLog::Joined}

// The top state of every machine: consumes everything, has no parent.
extern const State HSM_Top;

// Transition parameters (entry reasons), delivered with SIG_INIT. At start-up the tasks get the
// start type instead (1..4, kernel/app.h), and the help display a help code (16..140,
// widgets/help_codes.h).
inline constexpr uint32_t PAR_PLAIN = 0;
inline constexpr uint32_t PAR_NAVIGATE = 3; // reached by navigation: a fresh start of the screen
inline constexpr uint32_t PAR_BACK = 4;     // back from a child screen: the list position again
inline constexpr uint32_t PAR_REDRAW = 5;   // redraw in place (the 5-second tick)
// The steps of the commissioning assistant: a step screen is opened with PAR_ASSISTANT and
// returns with PAR_ASSISTANT_BACK when left with Back; the date dialog returns with
// PAR_ASSISTANT_DATE_SET once the date is confirmed; the assistant re-enters itself with
// PAR_ASSISTANT_AGAIN on its own Back key.
inline constexpr uint32_t PAR_ASSISTANT = 6;
inline constexpr uint32_t PAR_ASSISTANT_DATE_SET = 7;
inline constexpr uint32_t PAR_ASSISTANT_BACK = 8;
inline constexpr uint32_t PAR_ASSISTANT_AGAIN = 9;
// The time and date editors, opened from the clock message or straight from the settings.
inline constexpr uint32_t PAR_CLOCK_MESSAGE = 10;
inline constexpr uint32_t PAR_SETTINGS = 11;
inline constexpr uint32_t PAR_INIT_CODIERUNG = 12; // a coding screen again, keeping its display

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
