#include "sim/hal/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "sim/hal/debug.h"

namespace {

constexpr std::array<const char*, 2> portNames{"\\\\.\\COM20", "\\\\.\\COM30"};
constexpr const char* portSettings = "baud=4800 parity=E data=8 stop=1";

struct CommSettings {
    speed_t baud;
    char parity; // 'N', 'E', 'O'
    int dataBits;
    int stopBits;
};

// The settings string of the port, as the host's settings parser reads it.
bool parseSettings(const char* text, CommSettings& out)
{
    unsigned baud = 0, data = 0, stop = 0;
    char parity = 0;
    if (sscanf(text, "baud=%u parity=%c data=%u stop=%u", &baud, &parity, &data, &stop) != 4)
        return false;
    switch (baud) {
    case 1200: out.baud = B1200; break;
    case 2400: out.baud = B2400; break;
    case 4800: out.baud = B4800; break;
    case 9600: out.baud = B9600; break;
    case 19200: out.baud = B19200; break;
    default: return false;
    }
    if (parity != 'N' && parity != 'E' && parity != 'O') return false;
    if (data < 5 || data > 8 || (stop != 1 && stop != 2)) return false;
    out.parity = parity;
    out.dataBits = static_cast<int>(data);
    out.stopBits = static_cast<int>(stop);
    return true;
}

bool applySettings(int fd, const CommSettings& s, bool isPty)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    cfsetispeed(&t, s.baud);
    cfsetospeed(&t, s.baud);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag |= s.dataBits == 5 ? CS5 : s.dataBits == 6 ? CS6 : s.dataBits == 7 ? CS7 : CS8;
    if (s.parity != 'N') t.c_cflag |= PARENB | (s.parity == 'O' ? PARODD : 0);
    if (s.stopBits == 2) t.c_cflag |= CSTOPB;
    if (tcsetattr(fd, TCSANOW, &t) == 0) return true;
    // A pseudo terminal has no parity: carry on without it there.
    if (!isPty) return false;
    t.c_cflag &= ~(PARENB | PARODD);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

struct Port {
    std::mutex lock;
    std::condition_variable txSignal; // the transmit event
    bool txPending = false;
    bool stopRequested = false; // the stop event
    int stopPipe[2] = {-1, -1};
    int fd = -1;
    int ptySlave = -1; // held open so the line stays up until a partner opens it
    bool isPty = false;
    bool open = false;
    uint8_t txByte = 0;
    UartTxDone txDone = nullptr;
    UartRx rx = nullptr;
    std::thread txThread, rxThread;
    std::string device;
    std::string peer; // the pseudo terminal's far end
};

std::array<Port, 2> ports;

void trmThread(uint8_t index)
{
    Port& p = ports[index];
    for (;;) {
        uint8_t byte = 0;
        {
            std::unique_lock guard(p.lock);
            p.txSignal.wait(guard, [&] { return p.txPending || p.stopRequested; });
            if (p.stopRequested) break;
            p.txPending = false;
            byte = p.txByte;
        }
        if (write(p.fd, &byte, 1) != 1) {
            DBG_Printf("\ntrmThread: %d, WriteFileExFailed().", index);
            continue;
        }
        // A pseudo terminal ignores the baud rate; the panel's protocol expects 4800 baud.
        if (p.isPty) std::this_thread::sleep_for(std::chrono::microseconds(2292));
        if (p.txDone) p.txDone();
    }
    DBG_Printf("\nWin32_Uart_%d: com_trmThread terminated", index);
}

void recThread(uint8_t index)
{
    Port& p = ports[index];
    for (;;) {
        pollfd fds[2] = {{p.fd, POLLIN, 0}, {p.stopPipe[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) break;
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        uint8_t byte = 0;
        if (read(p.fd, &byte, 1) != 1) {
            DBG_Printf("\ncomRecThread: ReadFileEx failed.");
            // A pseudo terminal without a partner reports an error at once; do not spin.
            pollfd stop{p.stopPipe[0], POLLIN, 0};
            if (poll(&stop, 1, 500) > 0) break;
            continue;
        }
        if (p.rx) p.rx(byte);
    }
    DBG_Printf("\nWin32_Uart_%d: com_recThread terminated", index);
}

int openDevice(Port& p)
{
    if (p.device.empty()) return -1;
    if (p.device == "pty") {
        int master = -1, slave = -1;
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return -1;
        p.isPty = true;
        p.ptySlave = slave;
        p.peer = name;
        const auto index = static_cast<int>(&p - ports.data());
        DBG_Printf("\nWin32_Uart_%d: %s is %s", index, portNames[index], name);
        return master;
    }
    p.isPty = false;
    return ::open(p.device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
}

void defaultClose(uint8_t index);

void defaultInit(uint8_t index, UartTxDone txDone, UartRx rx)
{
    Port& p = ports[index];
    if (p.open) return;
    p.txDone = txDone;
    p.rx = rx;
    p.fd = openDevice(p);
    if (p.fd < 0) {
        DBG_Printf("\nWin32_Uart_%d: CreateFile() failed", index);
        return;
    }
    CommSettings settings{};
    if (!parseSettings(portSettings, settings)) {
        DBG_Printf("Win32_Uart_%d: BuildCommDCB() failed", index);
        defaultClose(index);
        return;
    }
    if (!applySettings(p.fd, settings, p.isPty)) {
        DBG_Printf("\nWin32_Uart_%d: SetCommState failed", index);
        defaultClose(index);
        return;
    }
    if (pipe2(p.stopPipe, O_CLOEXEC) != 0) {
        DBG_Printf("\nWin32_Uart_%d: CreateEvent() failed", index);
        defaultClose(index);
        return;
    }
    p.stopRequested = false;
    p.txPending = false;
    try {
        p.txThread = std::thread(trmThread, index);
        p.rxThread = std::thread(recThread, index);
    } catch (...) {
        DBG_Printf("\nWin32_Uart_%d: CreateThread() failed", index);
        defaultClose(index);
        return;
    }
    p.open = true;
}

void defaultSend(uint8_t index, uint8_t byte)
{
    Port& p = ports[index];
    std::lock_guard guard(p.lock);
    if (!p.txThread.joinable()) return;
    p.txByte = byte;
    p.txPending = true;
    p.txSignal.notify_one();
}

void defaultStop(uint8_t index)
{
    Port& p = ports[index];
    {
        std::lock_guard guard(p.lock);
        p.stopRequested = true;
        p.txSignal.notify_one();
    }
    if (p.stopPipe[1] >= 0) {
        const char wake = 1;
        if (write(p.stopPipe[1], &wake, 1) != 1) {
            // the reader is gone already
        }
    }
    if (p.txThread.joinable()) p.txThread.join();
    if (p.rxThread.joinable()) p.rxThread.join();
}

void defaultClose(uint8_t index)
{
    Port& p = ports[index];
    defaultStop(index);
    if (p.fd >= 0) ::close(p.fd);
    if (p.ptySlave >= 0) ::close(p.ptySlave);
    p.ptySlave = -1;
    for (int& end : p.stopPipe) {
        if (end >= 0) ::close(end);
        end = -1;
    }
    p.fd = -1;
    p.open = false;
}

bool defaultIsOpen(uint8_t index) { return ports[index].open; }

constexpr SIM_SerialDriver defaultDriver{defaultInit, defaultSend, defaultStop, defaultClose,
                                         defaultIsOpen};
const SIM_SerialDriver* driver = &defaultDriver;

} // namespace

void SIM_SetSerialDriver(const SIM_SerialDriver* d) { driver = d ? d : &defaultDriver; }

void SIM_SetSerialDevice(uint8_t port, const char* device)
{
    if (port < ports.size()) ports[port].device = device ? device : "";
}

void Win32_Uart_Init(uint8_t port, UartTxDone txDone, UartRx rx)
{
    if (port < ports.size()) driver->init(port, txDone, rx);
}

void Win32_Uart_Send(uint8_t port, uint8_t byte)
{
    if (port < ports.size()) driver->send(port, byte);
}

void Win32_Uart_Stop(uint8_t port)
{
    if (port < ports.size()) driver->stop(port);
}

void Win32_Uart_Close(uint8_t port)
{
    if (port < ports.size()) driver->close(port);
}

const char* SIM_SerialPeerName(uint8_t port)
{
    return port < ports.size() && ports[port].open ? ports[port].peer.c_str() : "";
}

bool Win32_Uart_IsOpen(uint8_t port) { return port < ports.size() && driver->isOpen(port); }
