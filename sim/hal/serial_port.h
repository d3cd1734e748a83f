// Serial ports of the panel's UARTs on the host. Port 0 ("\\.\COM20") carries the factory
// test protocol; port 1 ("\\.\COM30") is never opened. The panel moves one byte at a time:
// every received byte and every completed transmission is reported through a callback.
#pragma once

#include <cstdint>

using UartTxDone = void (*)();
using UartRx = void (*)(uint8_t byte);

// Opens and starts the port; nothing when it is open already. Failures are logged and leave
// the port closed (sends are then ignored).
void Win32_Uart_Init(uint8_t port, UartTxDone txDone, UartRx rx);
// Hands one byte to the port; a byte sent before the previous one is written replaces it.
void Win32_Uart_Send(uint8_t port, uint8_t byte);
void Win32_Uart_Stop(uint8_t port);
void Win32_Uart_Close(uint8_t port);
bool Win32_Uart_IsOpen(uint8_t port);

// How the host provides the ports. The default driver opens real serial devices (or a pseudo
// terminal) with a transmit and a receive thread per port; the headless runner replaces it
// with a virtual line on its own time.
struct SIM_SerialDriver {
    void (*init)(uint8_t port, UartTxDone txDone, UartRx rx);
    void (*send)(uint8_t port, uint8_t byte);
    void (*stop)(uint8_t port);
    void (*close)(uint8_t port);
    bool (*isOpen)(uint8_t port);
};
void SIM_SetSerialDriver(const SIM_SerialDriver* driver); // nullptr: the default driver

// The host device behind a port name for the default driver: a device path, or "pty" for a
// new pseudo terminal whose name is logged; nullptr (the default) leaves the port without a
// device, so its opening fails as with a missing COM port.
void SIM_SetSerialDevice(uint8_t port, const char* device);
// The far end of an open port's pseudo terminal (the path a partner opens), or "" otherwise.
const char* SIM_SerialPeerName(uint8_t port);
