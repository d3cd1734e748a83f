// The fixed spine of the user-interface machine (priority 1): the system monitor
// BSM_Systemmonitor -> the contrast state BKE_Kontrasteinstellung -> the menu monitor
// BMM_Menuemonitor -> every screen. The spine knows the screens it opens only through this
// table, which the screens define.
#pragma once

#include "kernel/hsm.h"

struct UI_Screens {
    StateHandler startupDisplay;  // BLA_Laufbalkenanzeige
    StateHandler basicDisplay;    // BGA_Grundanzeige
    StateHandler mainMenu;        // BGM_Grundmenue
    StateHandler operationLocked; // BMA_BedienungGesperrt
    StateHandler help;            // BHA_Hilfeanzeige
    StateHandler serviceMenu;     // BSVM_Servicemenue
    StateHandler codingLevel2;    // BCPM_Codierung_2_Menue
    StateHandler wink;            // BTC_TeilnehmerWink
    void (*resetIdleAnimation)(); // the idle animation starts again from angle 0
};

extern const UI_Screens UI_screens;

extern const State BSM_Systemmonitor;
extern const State BSM_SystemReset;
extern const State BKE_Kontrasteinstellung;
extern const State BMM_Menuemonitor;

// The factory tests end with a cold start: the ticks stop, the start marker is cleared and the
// reset screen restarts the panel.
void BSM_ColdRestart(Hsm& me);

// System monitor: the watchdog check-in mask, initialised at every start.
void BSM_InitWatchdog(uint8_t startType);
void BSM_WatchdogCheckIn(uint8_t bit);
uint8_t BSM_WatchdogMask();

// Menu monitor services used by the screens.
void BMM_ClearFlags(); // service mode, user activity and coding level 2, at every start
uint16_t BMM_MenuTimeout();
bool BMM_MenuAllowed();
bool BMM_LockLevel1();
bool BMM_LockLevel2();
void BMM_SetServiceMode(bool on);
bool BMM_ServiceMode();
bool BMM_CodingLevel2();
void BMM_SetCodingLevel2(bool on);
bool BMM_LongMenuTimeout();
void BMM_SetUserActive(bool on);
bool BMM_UserActive();
StateHandler BMM_LastMenuChild();
StateHandler BMM_LastMenuState();
uint32_t BMM_Restart3UhrAllowed();
void BMM_SetRestart3UhrAllowed(uint32_t value);

inline constexpr uint16_t BMM_TIMEOUT_NORMAL = 1200; // 2 minutes of 100 ms
inline constexpr uint16_t BMM_TIMEOUT_LONG = 18000;  // 30 minutes
inline constexpr uint16_t BMM_SERVICE_TIMEOUT = 18000;
