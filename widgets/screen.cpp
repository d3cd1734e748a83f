#include "widgets/screen.h"

#include <array>

#include "kernel/evt.h"

namespace {

struct OwnedTimer {
    UI_Timer bit;
    Signal start;
};
constexpr std::array<OwnedTimer, 5> OWNED_TIMERS{{
    {UI_TIMER_WAIT, SIG_TMR_WAIT},
    {UI_TIMER_ANIM, SIG_TMR_ANIM},
    {UI_TIMER_PROGRESS, SIG_TMR_PROGRESS},
    {UI_TIMER_TEST, SIG_TMR_TEST},
    {UI_TIMER_IDLE, SIG_TMR_IDLE},
}};

UI_Spine spine{};
bool redrawingInPlace = false;

void transition(Hsm& me, StateHandler lca, StateHandler target, uint32_t reason)
{
    if (target != nullptr && lca != nullptr) HSM_Tran(me, lca, target, reason);
}

} // namespace

void UI_StartScreenTimer(uint16_t ticks) { EVT_Post(PRIO_TIMER, UI_SCREEN_TIMER, ticks); }

void UI_StopTimers(UI_Timers timers)
{
    for (const OwnedTimer& t : OWNED_TIMERS)
        if ((timers & t.bit) != 0) EVT_Post(PRIO_TIMER, t.start, 0);
}

void UI_FlushKeys()
{
    if (!redrawingInPlace) EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
}

void UI_ScreenExit()
{
    EVT_Post(PRIO_TIMER, UI_SCREEN_TIMER, 0);
    UI_FlushKeys();
    EVT_Post(PRIO_KEYS, SIG_KEY_ACCEL, 0);
}

void UI_ScreenExit(UI_Timers owned)
{
    UI_ScreenExit();
    UI_StopTimers(owned);
}

void UI_ConnectSpine(const UI_Spine& connected) { spine = connected; }

void UI_Open(Hsm& me, StateHandler target, uint32_t reason)
{
    transition(me, spine.contrast, target, reason);
}

void UI_OpenHelp(Hsm& me, uint32_t helpCode) { UI_Open(me, spine.help, helpCode); }

void UI_Back(Hsm& me, StateHandler target, uint32_t reason)
{
    transition(me, spine.menuMonitor, target, reason);
}

void UI_Return(Hsm& me, StateHandler returnState, uint32_t reason)
{
    UI_Back(me, returnState != nullptr ? returnState : spine.home, reason);
}

void UI_Continue(Hsm& me, StateHandler target, uint32_t reason)
{
    transition(me, spine.menuMonitor, target, reason);
}

void UI_Redraw(Hsm& me, StateHandler self, uint32_t reason) { UI_Redraw(me, self, self, reason); }

// A redraw in place exits nothing but the screen's children; a container's init may still
// choose another screen, and only then are the keys dropped.
void UI_Redraw(Hsm& me, StateHandler container, StateHandler target, uint32_t reason)
{
    const StateHandler before = HSM_State(me);
    redrawingInPlace = true;
    HSM_Tran(me, container, target, reason);
    redrawingInPlace = false;
    if (HSM_State(me) != before) EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
}
