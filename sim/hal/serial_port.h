// Serial ports of the panel's UARTs on the host. Port 0 ("\\.\COM20") carries the factory
// test protocol; port 1 ("\\.\COM30") is never opened. The panel moves one byte at a time:
// every received byte and every completed transmission is reported through a callback.
//
// Received bytes wait in a FIFO of the port until the panel takes them: at 4800 baud about 44
// bytes arrive between two dispatches of the panel's queues, which hold 16 events, so the
// receive callback may refuse a byte and is offered it again later, in order. While a byte is
// being sent, received bytes wait for its completion: a partner can answer a byte only once
// it has arrived, and on a host line it arrives before the completion is reported.
#pragma once

#include <cstddef>
#include <cstdint>

using UartTxDone = void (*)();
// False when the panel cannot take the byte now; the port keeps it and offers it again.
using UartRx = bool (*)(uint8_t byte);

// Opens and starts the port; nothing when it is open already. Failures are logged and leave
// the port closed (sends are then ignored).
void Win32_Uart_Init(uint8_t port, UartTxDone txDone, UartRx rx);
// Hands one byte to the port; a byte sent before the previous one is written replaces it.
void Win32_Uart_Send(uint8_t port, uint8_t byte);
void Win32_Uart_Stop(uint8_t port);
void Win32_Uart_Close(uint8_t port);
bool Win32_Uart_IsOpen(uint8_t port);

inline constexpr size_t SIM_SERIAL_FIFO_SIZE = 256;

// How the host provides the ports. The default driver opens real serial devices (or a pseudo
// terminal) with a transmit and a receive thread per port; the headless runner replaces it
// with a virtual line on its own time. A driver reports through SIM_SerialReceived and
// SIM_SerialTransmitted.
struct SIM_SerialDriver {
    void (*init)(uint8_t port);
    void (*send)(uint8_t port, uint8_t byte);
    void (*stop)(uint8_t port);
    void (*close)(uint8_t port);
    bool (*isOpen)(uint8_t port);
};
void SIM_SetSerialDriver(const SIM_SerialDriver* driver); // nullptr: the default driver

// For drivers: a byte came off the line. It joins the FIFO and the FIFO is offered to the
// panel; false when the FIFO is full, and the driver holds the byte back (as the line would).
bool SIM_SerialReceived(uint8_t port, uint8_t byte);
// For drivers: the byte of the last send has been written (reported to the panel), or its
// write failed (not reported).
void SIM_SerialTransmitted(uint8_t port, bool written = true);
// Offers the FIFO to the panel, oldest byte first, until it refuses one; returns the bytes
// still waiting. Drivers call it again while bytes wait.
size_t SIM_SerialDeliver(uint8_t port);
size_t SIM_SerialBacklog(uint8_t port);

// The host device behind a port name for the default driver: a device path, or "pty" for a
// new pseudo terminal whose name is logged; nullptr (the default) leaves the port without a
// device, so its opening fails as with a missing COM port.
void SIM_SetSerialDevice(uint8_t port, const char* device);
// The far end of an open port's pseudo terminal (the path a partner opens), or "" otherwise.
const char* SIM_SerialPeerName(uint8_t port);

// Test hooks of the default driver: another settings string than "baud=4800 parity=E data=8
// stop=1" (nullptr restores it), and a host call that fails from now on.
void SIM_SetSerialSettings(uint8_t port, const char* settings);
enum class SIM_SerialFault : uint8_t { None, CreateEvent, CreateThread, Write, Read };
void SIM_SetSerialFault(uint8_t port, SIM_SerialFault fault);
