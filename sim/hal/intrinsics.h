// The target's interrupt mask and the serialisation of the simulated interrupt handlers,
// under the names of the target compiler's intrinsics.
#pragma once

void IAR_Intrinsics_Init();
void __disable_interrupt();
void __enable_interrupt();
void ISR_Enter();
void ISR_Leave();

// Virtual time runs the panel, its ticks and the host's input on one thread: the locks then
// keep only their counts. Set before the panel starts, never while a lock is held.
void IAR_SetSingleThread(bool single);
bool IAR_SingleThread();

// Read-out for tests: the interrupt-lock nesting counter.
int IAR_Nesting();
