#include "link/uart0.h"

#include "kernel/evt.h"
#include "sim/hal/serial_port.h"

namespace {

// The port threads report here; EVT_Post takes the interrupt lock itself.
void txDone() { EVT_Post(PRIO_UI, SIG_UART_TX_DONE, 0); }
void received(uint8_t byte) { EVT_Post(PRIO_UI, SIG_UART_RX, byte); }

} // namespace

void UART0_Init() { Win32_Uart_Init(0, txDone, received); }
void UART0_Send(uint8_t byte) { Win32_Uart_Send(0, byte); }
