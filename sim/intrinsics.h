// The target's interrupt mask and the serialisation of the simulated interrupt handlers,
// under the names of the target compiler's intrinsics.
#pragma once

void IAR_Intrinsics_Init();
void __disable_interrupt();
void __enable_interrupt();
void ISR_Enter();
void ISR_Leave();

// Read-out for tests: the interrupt-lock nesting counter.
int IAR_Nesting();
