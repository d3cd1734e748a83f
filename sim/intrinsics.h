// The target's interrupt mask and the serialisation of the simulated interrupt handlers,
// under the names of the target compiler's intrinsics.
#pragma once

void IAR_Intrinsics_Init();
void __disable_interrupt();
void __enable_interrupt();
void ISR_Enter();
void ISR_Leave();

// The tick lock alone: the main task holds it while it writes counters that the tick
// handlers decrement, so a write and a decrement never interleave.
void ISR_LockTicks();
void ISR_UnlockTicks();

// Read-out for tests: the interrupt-lock nesting counter.
int IAR_Nesting();
