#include "link/uart0.h"

#include "kernel/evt.h"
#include "sim/hal/serial_port.h"

namespace {

// Received bytes leave this many slots of the user interface's queue to the keys and timers;
// the port keeps the rest in its FIFO until the queue has room again.
constexpr uint8_t SLOTS_KEPT_FREE = 4;

// The port threads report here; EVT_Post takes the interrupt lock itself, so neither callback
// may hold it.
void txDone() { EVT_Post(PRIO_UI, SIG_UART_TX_DONE, 0); }

bool received(uint8_t byte)
{
    if (EVT_Pending(PRIO_UI) >= EVT_QUEUE_SLOTS - SLOTS_KEPT_FREE) return false;
    return EVT_Post(PRIO_UI, SIG_UART_RX, byte);
}

} // namespace

void UART0_Init() { Win32_Uart_Init(0, txDone, received); }
void UART0_Send(uint8_t byte) { Win32_Uart_Send(0, byte); }
