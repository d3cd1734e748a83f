#include "sim/hal/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
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
constexpr uint32_t byteTimeUs = 2292;        // one byte at 4800 baud, 8E1 (11 bits)
constexpr int deliverRetryMs = 5;            // while the panel refuses bytes
constexpr int readFailurePauseMs = 500;      // a broken line is not polled in a tight loop
constexpr int hungUpPauseMs = 50;            // a line without a partner reads nothing
constexpr unsigned ptySlaveMajorFirst = 136; // Linux numbers the pseudo-terminal slaves
constexpr unsigned ptySlaveMajorLast = 143;  // 136..143

// ---- the port's side towards the panel: callbacks and the receive FIFO ----

struct PanelSide {
    std::mutex lock; // FIFO and callbacks; a driver thread and the host may both deliver
    std::mutex delivering;
    UartTxDone txDone = nullptr;
    UartRx rx = nullptr;
    std::array<uint8_t, SIM_SERIAL_FIFO_SIZE> fifo{};
    size_t head = 0; // oldest byte
    size_t count = 0;
    bool sending = false; // a byte is on its way out; received bytes wait for its completion
};

std::array<PanelSide, 2> sides;

// ---- the default driver: host devices with a transmit and a receive thread ----

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
    char tail = 0;
    if (sscanf(text, "baud=%u parity=%c data=%u stop=%u%c", &baud, &parity, &data, &stop, &tail) !=
        4)
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

constexpr tcflag_t frameBits = CSIZE | PARENB | PARODD | CSTOPB;

termios wanted(const termios& current, const CommSettings& s, bool withParity)
{
    termios t = current;
    cfmakeraw(&t);
    cfsetispeed(&t, s.baud);
    cfsetospeed(&t, s.baud);
    // Three wires: no modem lines, no hardware or software flow control.
    t.c_cflag &= ~(frameBits | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_iflag &= ~(IXOFF | IXANY);
    t.c_cflag |= s.dataBits == 5 ? CS5 : s.dataBits == 6 ? CS6 : s.dataBits == 7 ? CS7 : CS8;
    if (withParity && s.parity != 'N') t.c_cflag |= PARENB | (s.parity == 'O' ? PARODD : 0);
    if (s.stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return t;
}

// The settings count only when the device reports them back: a device may accept the call
// and keep what it cannot do.
bool setAndCheck(int fd, const termios& t, tcflag_t compared)
{
    if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
    termios back{};
    if (tcgetattr(fd, &back) != 0) return false;
    return (back.c_cflag & compared) == (t.c_cflag & compared) &&
           cfgetospeed(&back) == cfgetospeed(&t);
}

bool applySettings(int fd, const CommSettings& s, bool isPty)
{
    termios current{};
    if (tcgetattr(fd, &current) != 0) return false;
    if (setAndCheck(fd, wanted(current, s, true), frameBits)) return true;
    // A pseudo terminal has no parity and forces 8 data bits: carry on without parity there.
    if (!isPty) return false;
    return setAndCheck(fd, wanted(current, s, false), CSTOPB);
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
    std::thread txThread, rxThread;
    std::string device;
    std::string peer;     // the pseudo terminal's far end
    std::string settings; // empty: the port's own
    std::atomic<SIM_SerialFault> fault{SIM_SerialFault::None};
};

std::array<Port, 2> ports;

int indexOf(const Port& p) { return static_cast<int>(&p - ports.data()); }

// Waits on the stop event for up to ms; true when the port is being stopped.
bool pauseOrStop(const Port& p, int ms)
{
    pollfd stop{p.stopPipe[0], POLLIN, 0};
    return poll(&stop, 1, ms) > 0;
}

bool writeByte(Port& p, uint8_t byte)
{
    if (p.fault == SIM_SerialFault::Write) return false;
    for (;;) {
        const ssize_t n = write(p.fd, &byte, 1);
        if (n == 1) return true;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd out{p.fd, POLLOUT, 0};
            if (poll(&out, 1, 1000) > 0) continue;
        }
        return false;
    }
}

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
        // A pseudo terminal ignores the baud rate: the byte takes its time on the line here.
        if (p.isPty) std::this_thread::sleep_for(std::chrono::microseconds(byteTimeUs));
        // A byte that did not go out is not reported as sent: the protocol above notices.
        if (!writeByte(p, byte)) {
            DBG_Printf("\ntrmThread: %d, WriteFileExFailed().", index);
            SIM_SerialTransmitted(index, false);
            continue;
        }
        // The completion comes when the byte has left the port.
        if (!p.isPty) tcdrain(p.fd);
        SIM_SerialTransmitted(index);
    }
    DBG_Printf("\nWin32_Uart_%d: com_trmThread terminated", index);
}

// One read of one byte; 1 a byte, 0 nothing came (a completion without a byte), -1 failed.
int readByte(Port& p, uint8_t& byte)
{
    if (p.fault == SIM_SerialFault::Read) return -1;
    for (;;) {
        const ssize_t n = read(p.fd, &byte, 1);
        if (n == 1) return 1;
        if (n == 0) return 0;
        if (errno == EINTR) continue;
        return errno == EAGAIN ? 0 : -1;
    }
}

void recThread(uint8_t index)
{
    Port& p = ports[index];
    bool failing = false; // one log line per run of failed reads
    for (;;) {
        const size_t waiting = SIM_SerialDeliver(index);
        // With the FIFO full the line is not read: the host's buffer holds the bytes.
        if (waiting >= SIM_SERIAL_FIFO_SIZE) {
            if (pauseOrStop(p, deliverRetryMs)) break;
            continue;
        }
        pollfd fds[2] = {{p.fd, POLLIN, 0}, {p.stopPipe[0], POLLIN, 0}};
        const int ready = poll(fds, 2, waiting > 0 ? deliverRetryMs : -1);
        if (ready < 0 && errno == EINTR) continue;
        if (fds[1].revents) break;
        if (ready == 0) continue;
        int got = -1;
        uint8_t byte = 0;
        if (ready > 0) {
            if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            got = readByte(p, byte);
        }
        if (got == 1) {
            failing = false;
            SIM_SerialReceived(index, byte);
        } else if (got == 0) {
            if (pauseOrStop(p, hungUpPauseMs)) break;
        } else {
            if (!failing) DBG_Printf("\ncomRecThread: ReadFileEx failed.");
            failing = true;
            if (pauseOrStop(p, readFailurePauseMs)) break;
        }
    }
    DBG_Printf("\nWin32_Uart_%d: com_recThread terminated", index);
}

bool isPtySlave(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= ptySlaveMajorFirst && m <= ptySlaveMajorLast;
}

// Opens the device for reading and writing, not shared, existing devices only.
int openDevice(Port& p)
{
    const int index = indexOf(p);
    if (p.device.empty()) return -1;
    if (p.device == "pty") {
        int master = -1, slave = -1;
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return -1;
        fcntl(master, F_SETFD, FD_CLOEXEC);
        fcntl(slave, F_SETFD, FD_CLOEXEC);
        p.isPty = true;
        p.ptySlave = slave;
        p.peer = name;
        DBG_Printf("\nWin32_Uart_%d: %s is %s", index, portNames[index], name);
        return master;
    }
    // Without O_NONBLOCK the open of a port without carrier would wait for it.
    const int fd = ::open(p.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    ioctl(fd, TIOCEXCL);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    p.isPty = isPtySlave(fd);
    DBG_Printf("\nWin32_Uart_%d: %s is %s", index, portNames[index], p.device.c_str());
    return fd;
}

void defaultClose(uint8_t index);

bool createEvents(Port& p)
{
    if (p.fault == SIM_SerialFault::CreateEvent) return false;
    return pipe2(p.stopPipe, O_CLOEXEC) == 0;
}

bool createThreads(Port& p, uint8_t index)
{
    if (p.fault == SIM_SerialFault::CreateThread) return false;
    try {
        p.txThread = std::thread(trmThread, index);
        p.rxThread = std::thread(recThread, index);
    } catch (...) {
        return false;
    }
    return true;
}

void defaultInit(uint8_t index)
{
    Port& p = ports[index];
    if (p.open) return;
    auto failed = [&](const char* line) {
        DBG_Printf(line, index);
        defaultClose(index);
    };
    p.fd = openDevice(p);
    if (p.fd < 0) return failed("\nWin32_Uart_%d: CreateFile() failed");
    CommSettings settings{};
    const char* text = p.settings.empty() ? portSettings : p.settings.c_str();
    if (!parseSettings(text, settings)) return failed("Win32_Uart_%d: BuildCommDCB() failed");
    if (!applySettings(p.fd, settings, p.isPty))
        return failed("\nWin32_Uart_%d: SetCommState failed");
    if (!createEvents(p)) return failed("\nWin32_Uart_%d: CreateEvent() failed");
    p.stopRequested = false;
    p.txPending = false;
    if (!createThreads(p, index)) return failed("\nWin32_Uart_%d: CreateThread() failed");
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
    p.isPty = false;
    p.peer.clear();
    p.open = false;
}

bool defaultIsOpen(uint8_t index) { return ports[index].open; }

constexpr SIM_SerialDriver defaultDriver{defaultInit, defaultSend, defaultStop, defaultClose,
                                         defaultIsOpen};
const SIM_SerialDriver* driver = &defaultDriver;

} // namespace

void SIM_SetSerialDriver(const SIM_SerialDriver* d) { driver = d ? d : &defaultDriver; }

bool SIM_SerialReceived(uint8_t port, uint8_t byte)
{
    if (port >= sides.size()) return false;
    PanelSide& s = sides[port];
    {
        std::lock_guard guard(s.lock);
        if (s.count == s.fifo.size()) return false;
        s.fifo[(s.head + s.count) % s.fifo.size()] = byte;
        ++s.count;
    }
    SIM_SerialDeliver(port);
    return true;
}

size_t SIM_SerialDeliver(uint8_t port)
{
    if (port >= sides.size()) return 0;
    PanelSide& s = sides[port];
    // One deliverer at a time keeps the order; the callback runs without the FIFO lock, as it
    // takes the interrupt lock itself.
    std::lock_guard one(s.delivering);
    for (;;) {
        uint8_t byte = 0;
        UartRx rx = nullptr;
        {
            std::lock_guard guard(s.lock);
            if (s.count == 0) return 0;
            if (s.rx == nullptr || s.sending) return s.count;
            byte = s.fifo[s.head];
            rx = s.rx;
        }
        if (!rx(byte)) break;
        std::lock_guard guard(s.lock);
        s.head = (s.head + 1) % s.fifo.size();
        --s.count;
    }
    return SIM_SerialBacklog(port);
}

size_t SIM_SerialBacklog(uint8_t port)
{
    if (port >= sides.size()) return 0;
    std::lock_guard guard(sides[port].lock);
    return sides[port].count;
}

void SIM_SerialTransmitted(uint8_t port, bool written)
{
    if (port >= sides.size()) return;
    UartTxDone done = nullptr;
    {
        std::lock_guard guard(sides[port].lock);
        done = written ? sides[port].txDone : nullptr;
    }
    if (done) done();
    // Only now may what the partner answered follow the completion.
    {
        std::lock_guard guard(sides[port].lock);
        sides[port].sending = false;
    }
    SIM_SerialDeliver(port);
}

void SIM_SetSerialDevice(uint8_t port, const char* device)
{
    if (port < ports.size()) ports[port].device = device ? device : "";
}

void SIM_SetSerialSettings(uint8_t port, const char* settings)
{
    if (port < ports.size()) ports[port].settings = settings ? settings : "";
}

void SIM_SetSerialFault(uint8_t port, SIM_SerialFault fault)
{
    if (port < ports.size()) ports[port].fault = fault;
}

void Win32_Uart_Init(uint8_t port, UartTxDone txDone, UartRx rx)
{
    if (port >= ports.size() || driver->isOpen(port)) return;
    {
        std::lock_guard guard(sides[port].lock);
        sides[port].txDone = txDone;
        sides[port].rx = rx;
        sides[port].head = sides[port].count = 0;
        sides[port].sending = false;
    }
    driver->init(port);
}

void Win32_Uart_Send(uint8_t port, uint8_t byte)
{
    if (port >= ports.size() || !driver->isOpen(port)) return;
    {
        std::lock_guard guard(sides[port].lock);
        sides[port].sending = true;
    }
    driver->send(port, byte);
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
