#include "link/uart.h"

#include "sim/debug.h"

void UART0_Init() { DBG_Printf("\nWin32_Uart_%d: CreateFile() failed", 0); }
void UART0_Send(uint8_t) {}
