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

// Reset reasons: why the last restart happened. The system monitor writes its own three; every
// other reason is an error code that SIG_BED_ERROR_RESET carried.
inline constexpr uint8_t RESET_NORMAL = 0; // first start, or normal operation reached
inline constexpr uint8_t RESET_3UHR = 1;
inline constexpr uint8_t RESET_CONTROLLER = 2;
// Error codes 32..38 restart cold.
inline constexpr uint8_t RESET_COLD_FIRST = 32;
inline constexpr uint8_t RESET_BUS_TIMEOUT = 32;  // the bus timed out twice in a row
inline constexpr uint8_t RESET_MEMORY_GUARD = 35; // the idle loop found the guard word destroyed
inline constexpr uint8_t RESET_UNKNOWN = 37;      // a reason the start did not know
inline constexpr uint8_t RESET_COLD_LAST = 38;
// Error codes 128..136 restart as after an internal error.
inline constexpr uint8_t RESET_ERROR_FIRST = 128;
inline constexpr uint8_t RESET_TEXT_ID = 129;        // a text identifier beyond the catalogue
inline constexpr uint8_t RESET_CIRCUIT_RANGE = 133;  // a circuit number beyond 2 to select or load
inline constexpr uint8_t RESET_CIRCUIT_COMMIT = 134; // a circuit number beyond 2 to store back
inline constexpr uint8_t RESET_REQUEST_SLOT = 136;   // a request slot beyond the last
inline constexpr uint8_t RESET_ERROR_LAST = 136;

// Start types, the SIG_INIT parameter of every task's initial transition at start-up.
inline constexpr uint8_t START_COLD = 1;
inline constexpr uint8_t START_3UHR = 2; // clock, timers, data pool and service flags are kept
inline constexpr uint8_t START_CONTROLLER = 3;
inline constexpr uint8_t START_ERROR = 4;

AppPersistent& APP_Persistent();

void APP_RequestRestart();
uint8_t APP_ResetReason();
void APP_SetResetReason(uint8_t reason);
bool APP_GuardDestroyed();

// The start type for the restart-surviving variables; updates them as the first start does.
uint8_t APP_StartType(AppPersistent& p);
