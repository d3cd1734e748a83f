#include "startup/sim_commands.h"

#include <cstdint>

#include "kernel/evt.h"

void APP_SimulationCommand(int command)
{
    switch (command) {
    case 0: EVT_Post(PRIO_UI, SIG_3UHR_RESTART); break;
    case 1: EVT_Post(PRIO_UI, SIG_REG_RESET); break;
    case 2:
    case 3:
    case 4:
    case 5: {
        // The status bits belong to the main task: the illumination task applies the change
        // before the user interface sees SIG_DATA_CHANGED (priority 2 is served first).
        const uint32_t bit = command < 4 ? 0 : 1;
        const uint32_t set = (command % 2 == 0) ? 1 : 0;
        EVT_Post(PRIO_LIGHT, SIG_SIM_STATUS_BIT, bit << 1 | set);
        EVT_Post(PRIO_UI, SIG_DATA_CHANGED);
        break;
    }
    case 18: EVT_Post(PRIO_UI, SIG_KEY_OK_BACK); break;
    case 19: EVT_Post(PRIO_UI, SIG_KEY_MENU_OK); break;
    default: break; // 6..17 and 20 do nothing
    }
}
