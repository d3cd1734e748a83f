#include "data/datapool.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "spine/ui_spine.h"
#include "widgets/help_codes.h"

namespace {

bool serviceMode = false;
bool codingLevel2 = false;
bool longMenuTimeout = false;
bool userActive = false;
StateHandler lastMenuChild = nullptr;
StateHandler lastMenuState = nullptr;
uint32_t restart3UhrAllowed = 0;

constexpr uint32_t HELP_OPEN = 13;
constexpr uint32_t HELP_NOT_OPEN = 14;

// A screen the panel does not have is missing from the table: its keys then do nothing.
void open(Hsm& me, StateHandler lca, StateHandler target, uint32_t par)
{
    if (target != nullptr) HSM_Tran(me, lca, target, par);
}

StateHandler menuemonitor(Hsm& me, const Event& e)
{
    const StateHandler bke = &BKE_Kontrasteinstellung;
    switch (e.sig) {
    case SIG_ENTRY: return nullptr;
    case SIG_INIT:
        if (e.par != START_3UHR) {
            BMM_SetServiceMode(false);
            longMenuTimeout = false;
        }
        HSM_Start(me, UI_screens.basicDisplay, PAR_BACK);
        return nullptr;
    case SIG_EXIT:
        lastMenuChild = me.exiting;
        lastMenuState = me.state;
        return nullptr;
    case SIG_KEY_MENU:
        if (BMM_MenuAllowed())
            open(me, bke, UI_screens.mainMenu, PAR_NAVIGATE);
        else
            open(me, bke, UI_screens.operationLocked, PAR_PLAIN);
        return nullptr;
    case SIG_KEY_HELP:
        // Answered by whichever screen is current when the request is dispatched.
        EVT_Post(PRIO_UI, SIG_HELP_REQUEST,
                 EVT_CurrentState(PRIO_UI) == UI_screens.help ? HELP_OPEN : HELP_NOT_OPEN);
        return nullptr;
    case SIG_KEY_MENU_OK:
        BMM_SetServiceMode(true);
        EVT_Post(PRIO_TIMER, SIG_TMR_SERVICE, BMM_SERVICE_TIMEOUT);
        EVT_Post(PRIO_TIMER, SIG_TMR_MENU, BMM_MenuTimeout());
        EVT_Post(PRIO_LIGHT, SIG_LIGHT_FULL_PRESET);
        restart3UhrAllowed = 0;
        open(me, bke, UI_screens.serviceMenu, PAR_NAVIGATE);
        return nullptr;
    case SIG_KEY_OK_BACK:
        if (serviceMode) {
            codingLevel2 = true;
            open(me, bke, UI_screens.codingLevel2, PAR_NAVIGATE);
        }
        return nullptr;
    case SIG_SERVICE_TIMEOUT: EVT_Send(&me, SIG_SERVICE_END); return nullptr;
    case SIG_SERVICE_END:
        BMM_SetServiceMode(false);
        EVT_Post(PRIO_TIMER, SIG_TMR_SERVICE, 0);
        HSM_Tran(me, &BMM_Menuemonitor, UI_screens.basicDisplay, PAR_NAVIGATE);
        return nullptr;
    case SIG_MENU_TIMEOUT_LONG:
        longMenuTimeout = true;
        EVT_Post(PRIO_TIMER, SIG_TMR_MENU, BMM_MenuTimeout());
        return nullptr;
    case SIG_MENU_TIMEOUT_NORMAL:
        longMenuTimeout = false;
        EVT_Post(PRIO_TIMER, SIG_TMR_MENU, BMM_MenuTimeout());
        return nullptr;
    case SIG_HELP_REQUEST:
        if (e.par == HELP_NOT_OPEN) open(me, bke, UI_screens.help, HLP_ALLGEMEIN);
        return nullptr;
    case SIG_WINK: open(me, bke, UI_screens.wink, PAR_PLAIN); return nullptr;
    }
    return bke;
}

} // namespace

HSM_STATE(BMM_Menuemonitor, menuemonitor);

void BMM_ClearFlags()
{
    BMM_SetServiceMode(false);
    userActive = false;
}

uint16_t BMM_MenuTimeout()
{
    if (serviceMode || longMenuTimeout) return BMM_TIMEOUT_LONG;
    return BMM_TIMEOUT_NORMAL;
}

bool BMM_MenuAllowed() { return serviceMode || DAT_GetOperatingLockLevel() == 0; }
bool BMM_LockLevel1() { return DAT_GetOperatingLockLevel() == 1 && !serviceMode; }
bool BMM_LockLevel2() { return DAT_GetOperatingLockLevel() == 2 && !serviceMode; }

void BMM_SetServiceMode(bool on)
{
    serviceMode = on;
    if (!on) codingLevel2 = false;
}

bool BMM_ServiceMode() { return serviceMode; }
bool BMM_CodingLevel2() { return codingLevel2; }
void BMM_SetCodingLevel2(bool on) { codingLevel2 = on && serviceMode; }
bool BMM_LongMenuTimeout() { return longMenuTimeout; }
void BMM_SetUserActive(bool on) { userActive = on; }
bool BMM_UserActive() { return userActive; }
StateHandler BMM_LastMenuChild() { return lastMenuChild; }
StateHandler BMM_LastMenuState() { return lastMenuState; }
uint32_t BMM_Restart3UhrAllowed() { return restart3UhrAllowed; }
void BMM_SetRestart3UhrAllowed(uint32_t value) { restart3UhrAllowed = value; }
