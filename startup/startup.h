// Start-up, the composition root of the panel: the single-instance guard, the construction and
// start of the five machines with the start type, the idle loop that dispatches every 100 ms,
// and the restart loop. It alone knows every layer, and it connects the lower layers to the
// higher ones they report to (tick handlers, simulation commands, circuit labels).
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

// The entry point of the application thread; returns only when another instance runs.
void MainTask();

// The lower layers report to the higher ones only through what is connected here: the ticks,
// the simulation commands, the display's light mode, the circuit labels and the time-program
// reset. APP_Init does it at every start.
void APP_ConnectLayers();

uint8_t APP_Init();
void APP_Start(uint8_t startType);
void APP_IdleLoop();

// The root of the user-interface machine (priority 1); the system monitor unless a test
// drives the start-up with a machine of its own.
void APP_SetUserInterface(StateHandler root);
