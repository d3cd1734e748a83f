#include "widgets/screen.h"

#include "kernel/evt.h"
#include "kernel/signals.h"

void UI_ScreenExit()
{
    EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, 0);
    EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
    EVT_Post(PRIO_KEYS, SIG_KEY_ACCEL, 0);
}
