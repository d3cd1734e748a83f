// Serial channel 0 of the panel (the factory test protocol).
#pragma once

#include <cstdint>

// Opens channel 0; its callbacks post SIG_UART_TX_DONE and SIG_UART_RX to priority 1.
void UART0_Init();
void UART0_Send(uint8_t byte);
