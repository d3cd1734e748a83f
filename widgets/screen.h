// Screen life, written once: what every screen does when it is left, its general timer, and
// the ways a screen changes to another one.
//
// Changing screens. Every screen lies below the menu monitor, which records on its exit where
// the user came from (help and the operation lock return there). The common ancestor of a
// transition decides whether that record is taken, so screens do not pick it themselves:
//   UI_Open(me, &BGM_Grundmenue);                 // from a menu: the record is taken
//   UI_OpenHelp(me, code);                        // the help display on a help code
//   UI_Back(me, &BGA_Grundanzeige, PAR_BACK);     // back or home: the record stays
//   UI_Return(me, returnState, PAR_BACK);         // back to a remembered state, else home
//   UI_Continue(me, &BSD_QuittierungsAbfrage);    // next step of a dialog: the record stays
//   UI_Redraw(me, &BGM_Grundmenue);               // the same screen again, keys kept
// A transition inside a screen family (from a container to one of its children) names the
// container as common ancestor itself: that is the family's own business.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"
#include "kernel/signals.h"

// The screen's general one-shot timer: how long a hint or a feedback stays, how long a screen
// waits. Its expiry reaches the screen as UI_SCREEN_TIMEOUT; the screen's exit stops it.
inline constexpr Signal UI_SCREEN_TIMER = SIG_TMR_REFRESH;
inline constexpr Signal UI_SCREEN_TIMEOUT = SIG_REFRESH;
void UI_StartScreenTimer(uint16_t ticks);

// The other one-shot timers a screen can own. A screen that starts one names it in its exit,
// so that its expiry cannot reach the next screen.
enum UI_Timer : uint8_t {
    UI_TIMER_WAIT = 1 << 0,     // SIG_TMR_WAIT: frames, blinking, waiting steps
    UI_TIMER_ANIM = 1 << 1,     // SIG_TMR_ANIM
    UI_TIMER_PROGRESS = 1 << 2, // SIG_TMR_PROGRESS (10 ms steps)
    UI_TIMER_TEST = 1 << 3,     // SIG_TMR_TEST
    UI_TIMER_IDLE = 1 << 4,     // SIG_TMR_IDLE
};
using UI_Timers = uint8_t;
void UI_StopTimers(UI_Timers timers);

// The exit of every screen: stops the general timer and the named ones, drops key signals
// still queued for the screen (unless it is only being redrawn in place) and resets the key
// acceleration, so the next screen starts without the last one's keys or timers.
void UI_ScreenExit();
void UI_ScreenExit(UI_Timers owned);
// Drops the queued key signals, except while a screen is redrawn in place.
void UI_FlushKeys();

// The spine's states and the help display lie above the widgets; start-up connects them.
struct UI_Spine {
    StateHandler contrast;    // BKE_Kontrasteinstellung
    StateHandler menuMonitor; // BMM_Menuemonitor
    StateHandler home;        // BGA_Grundanzeige, where a missing return state leads
    StateHandler help;        // BHA_Hilfeanzeige
};
void UI_ConnectSpine(const UI_Spine& spine);

// Opens another screen from this one (common ancestor the contrast state). A null target, a
// screen the panel does not have, opens nothing.
void UI_Open(Hsm& me, StateHandler target, uint32_t reason = PAR_NAVIGATE);
void UI_OpenHelp(Hsm& me, uint32_t helpCode);
// Goes to another screen inside the menu monitor (common ancestor the menu monitor): back to
// where the user came from, home, or the next step of a dialog. A null target: nothing
// happens; UI_Return goes home instead (a return state not recorded yet).
void UI_Back(Hsm& me, StateHandler target, uint32_t reason);
void UI_Return(Hsm& me, StateHandler returnState, uint32_t reason);
void UI_Continue(Hsm& me, StateHandler target, uint32_t reason = PAR_NAVIGATE);
// Runs the screen's init again (reason 5 keeps position and hint). Keys the user pressed
// meanwhile stay queued; only when the screen shown at the end is another one are they
// dropped. The second form re-runs a container's init, which may choose another child.
void UI_Redraw(Hsm& me, StateHandler self, uint32_t reason = PAR_REDRAW);
void UI_Redraw(Hsm& me, StateHandler container, StateHandler target, uint32_t reason);
