// Main task: the single-instance guard, start-up with its start type, the idle loop that
// dispatches every 100 ms, and the restart loop.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

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

// The entry point of the application thread; returns only when another instance runs.
void MainTask();

uint8_t APP_Init();
void APP_Start(uint8_t startType);
void APP_IdleLoop();

void APP_RequestRestart();
uint8_t APP_ResetReason();
void APP_SetResetReason(uint8_t reason);
bool APP_GuardDestroyed();

// Start type 1..4 for the restart-surviving variables; updates them as the first start does.
uint8_t APP_StartType(AppPersistent& p);

// The root of the user-interface machine (priority 1); the system monitor unless a test
// drives the start-up with a machine of its own.
void APP_SetUserInterface(StateHandler root);
