// What survives a restart of the panel: the reset reason and start marker, the start type they
// give, and the restart request that ends the idle loop. Start-up itself (constructing and
// starting the machines, the idle loop) is startup/startup.h.
#pragma once

#include <cstdint>

// The variables that survive a restart (as battery-backed RAM would on the target).
struct AppPersistent {
    uint32_t startMagic;  // 0x12345678 once the first start has run
    uint8_t resetReason;  // why the last restart happened
    uint16_t resetInfo;   // 0xFFFF at every start; the factory tests use it
    uint32_t memoryGuard; // 0xC7C7C7C7 while intact
    uint8_t restartFlag;  // ends the idle loop
};

inline constexpr uint32_t APP_START_MAGIC = 0x12345678;
inline constexpr uint32_t APP_MEMORY_GUARD = 0xC7C7C7C7;

// Reset reasons.
inline constexpr uint8_t RESET_NORMAL = 0;
inline constexpr uint8_t RESET_3UHR = 1;
inline constexpr uint8_t RESET_CONTROLLER = 2;
inline constexpr uint8_t RESET_UNKNOWN = 37;

AppPersistent& APP_Persistent();

void APP_RequestRestart();
uint8_t APP_ResetReason();
void APP_SetResetReason(uint8_t reason);
bool APP_GuardDestroyed();

// Start type 1..4 for the restart-surviving variables; updates them as the first start does.
uint8_t APP_StartType(AppPersistent& p);
