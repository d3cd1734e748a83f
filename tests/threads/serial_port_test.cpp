// The serial port on the host's devices: its opening sequence and failure lines, and a pseudo
// terminal carrying bytes both ways on the port's own transmit and receive threads.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "sim/hal/serial_port.h"
#include "support/log_capture.h"

namespace {

using namespace std::chrono_literals;

// What the port reported to the panel side, in order: 'T' a completed send, 'R' a byte.
struct Reports {
    std::mutex lock;
    std::string order;
    std::vector<uint8_t> bytes;
    std::atomic<int> refuseAbove{1 << 30}; // a queue of this many slots, emptied by the test
    int queued = 0;
};
Reports reports;

void txDone()
{
    std::lock_guard guard(reports.lock);
    reports.order += 'T';
}

bool rx(uint8_t byte)
{
    std::lock_guard guard(reports.lock);
    if (reports.queued >= reports.refuseAbove) return false;
    ++reports.queued;
    reports.order += 'R';
    reports.bytes.push_back(byte);
    return true;
}

template <typename Condition> bool waitFor(Condition done, std::chrono::milliseconds limit = 3s)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

size_t received()
{
    std::lock_guard guard(reports.lock);
    return reports.bytes.size();
}

class SerialPort : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SIM_SetSerialDriver(nullptr);
        SIM_SetSerialFault(0, SIM_SerialFault::None);
        SIM_SetSerialSettings(0, nullptr);
        std::lock_guard guard(reports.lock);
        reports.order.clear();
        reports.bytes.clear();
        reports.refuseAbove = 1 << 30;
        reports.queued = 0;
    }
    void TearDown() override
    {
        Win32_Uart_Close(0);
        if (peer >= 0) close(peer);
        SIM_SetSerialDevice(0, nullptr);
        SIM_SetSerialFault(0, SIM_SerialFault::None);
        SIM_SetSerialSettings(0, nullptr);
    }

    // Opens the port on a new pseudo terminal and its far end as the partner.
    void openWithPeer()
    {
        SIM_SetSerialDevice(0, "pty");
        Win32_Uart_Init(0, txDone, rx);
        ASSERT_TRUE(Win32_Uart_IsOpen(0)) << log.text();
        peer = open(SIM_SerialPeerName(0), O_RDWR | O_NOCTTY);
        ASSERT_GE(peer, 0);
        termios t{};
        tcgetattr(peer, &t);
        cfmakeraw(&t);
        tcsetattr(peer, TCSANOW, &t);
    }

    std::vector<uint8_t> readPeer(size_t count)
    {
        std::vector<uint8_t> out;
        while (out.size() < count) {
            pollfd p{peer, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0) break;
            uint8_t b = 0;
            if (read(peer, &b, 1) == 1) out.push_back(b);
        }
        return out;
    }

    LogCapture log;
    int peer = -1;
};

TEST_F(SerialPort, EveryFailedStepOfTheOpeningIsLoggedAndLeavesThePortClosed)
{
    struct Case {
        const char* device;
        const char* settings;
        SIM_SerialFault fault;
        const char* line;
    };
    const Case cases[] = {
        {nullptr, nullptr, SIM_SerialFault::None, "\nWin32_Uart_0: CreateFile() failed"},
        {"/nonexistent/ttyUSB9", nullptr, SIM_SerialFault::None,
         "\nWin32_Uart_0: CreateFile() failed"},
        {"pty", "baud=4800 parity=X data=8 stop=1", SIM_SerialFault::None,
         "Win32_Uart_0: BuildCommDCB() failed"},
        {"/dev/null", nullptr, SIM_SerialFault::None, "\nWin32_Uart_0: SetCommState failed"},
        {"pty", nullptr, SIM_SerialFault::CreateEvent, "\nWin32_Uart_0: CreateEvent() failed"},
        {"pty", nullptr, SIM_SerialFault::CreateThread, "\nWin32_Uart_0: CreateThread() failed"},
    };
    for (const Case& c : cases) {
        log.clear();
        SIM_SetSerialDevice(0, c.device);
        SIM_SetSerialSettings(0, c.settings);
        SIM_SetSerialFault(0, c.fault);
        Win32_Uart_Init(0, txDone, rx);
        EXPECT_NE(log.text().find(c.line), std::string::npos) << c.line << " in " << log.text();
        EXPECT_FALSE(Win32_Uart_IsOpen(0)) << c.line;
        EXPECT_STREQ(SIM_SerialPeerName(0), "") << c.line;
        Win32_Uart_Send(0, 0x41); // ignored
        std::this_thread::sleep_for(10ms);
        std::lock_guard guard(reports.lock);
        EXPECT_EQ(reports.order, "") << c.line;
    }
    EXPECT_EQ(log.text().find("BuildCommDCB() failed\nWin32"), std::string::npos)
        << "BuildCommDCB's line has no line feed of its own";
}

TEST_F(SerialPort, APseudoTerminalCarriesBytesBothWaysAndLogsItsName)
{
    openWithPeer();
    EXPECT_TRUE(
        log.contains(std::string("\nWin32_Uart_0: \\\\.\\COM20 is ") + SIM_SerialPeerName(0)))
        << log.text();
    Win32_Uart_Send(0, 0x5A);
    EXPECT_EQ(readPeer(1), std::vector<uint8_t>{0x5A});
    ASSERT_TRUE(waitFor([] {
        std::lock_guard guard(reports.lock);
        return reports.order == "T";
    }));
    const uint8_t in[] = {0x00, 0xFF, 0x05};
    ASSERT_EQ(write(peer, in, sizeof in), 3);
    ASSERT_TRUE(waitFor([] { return received() == 3; }));
    EXPECT_EQ(reports.bytes, (std::vector<uint8_t>{0x00, 0xFF, 0x05}));

    log.clear();
    Win32_Uart_Init(0, txDone, rx); // open already: nothing happens
    EXPECT_TRUE(Win32_Uart_IsOpen(0));
    EXPECT_EQ(log.text(), "");
    Win32_Uart_Stop(0);
    EXPECT_TRUE(log.contains("\nWin32_Uart_0: com_trmThread terminated"));
    EXPECT_TRUE(log.contains("\nWin32_Uart_0: com_recThread terminated"));
}

// The panel takes at most a queue's worth between two dispatches; the rest waits in the port.
TEST_F(SerialPort, TwoHundredBytesAtOnceAllArriveInOrderWhileThePanelTakesFewAtATime)
{
    openWithPeer();
    reports.refuseAbove = 12;
    std::vector<uint8_t> sent(200);
    for (size_t i = 0; i < sent.size(); ++i)
        sent[i] = static_cast<uint8_t>(i * 7 + 3);
    ASSERT_EQ(write(peer, sent.data(), sent.size()), 200);
    const bool all = waitFor(
        [] {
            std::this_thread::sleep_for(10ms); // a dispatch empties the queue
            std::lock_guard guard(reports.lock);
            reports.queued = 0;
            return reports.bytes.size() == 200;
        },
        5s);
    ASSERT_TRUE(all) << received() << " bytes arrived";
    EXPECT_EQ(reports.bytes, sent);
}

TEST_F(SerialPort, AnAnswerReceivedWhileAByteIsSentFollowsItsCompletion)
{
    openWithPeer();
    std::atomic<bool> stop{false};
    // The partner answers every byte at once, before the port has reported it as sent.
    std::thread partner([&] {
        while (!stop) {
            pollfd p{peer, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            uint8_t b = 0;
            if (read(peer, &b, 1) == 1 && write(peer, &b, 1) != 1) break;
        }
    });
    for (int i = 0; i < 20; ++i) {
        const size_t before = received();
        Win32_Uart_Send(0, static_cast<uint8_t>(i));
        ASSERT_TRUE(waitFor([&] { return received() == before + 1; })) << i;
    }
    stop = true;
    partner.join();
    std::string expected;
    for (int i = 0; i < 20; ++i)
        expected += "TR";
    std::lock_guard guard(reports.lock);
    EXPECT_EQ(reports.order, expected);
}

TEST_F(SerialPort, AFailedWriteIsLoggedAndNotReportedAsSent)
{
    openWithPeer();
    SIM_SetSerialFault(0, SIM_SerialFault::Write);
    Win32_Uart_Send(0, 0x11);
    ASSERT_TRUE(waitFor([&] { return log.contains("\ntrmThread: 0, WriteFileExFailed()."); }));
    std::this_thread::sleep_for(20ms);
    {
        std::lock_guard guard(reports.lock);
        EXPECT_EQ(reports.order, "");
    }
    // Received bytes are not held back behind the failed send.
    const uint8_t in = 0x42;
    ASSERT_EQ(write(peer, &in, 1), 1);
    ASSERT_TRUE(waitFor([] { return received() == 1; }));

    SIM_SetSerialFault(0, SIM_SerialFault::None);
    Win32_Uart_Send(0, 0x22);
    EXPECT_EQ(readPeer(1), std::vector<uint8_t>{0x22});
}

TEST_F(SerialPort, AFailedReadIsLoggedOnceAndRetriedAfterAPause)
{
    openWithPeer();
    SIM_SetSerialFault(0, SIM_SerialFault::Read);
    const uint8_t in[] = {0x31, 0x32};
    ASSERT_EQ(write(peer, in, 1), 1);
    ASSERT_TRUE(waitFor([&] { return log.contains("\ncomRecThread: ReadFileEx failed."); }));
    std::this_thread::sleep_for(1200ms); // two more failed attempts
    const std::string text = log.text();
    EXPECT_EQ(text.find("ReadFileEx failed."), text.rfind("ReadFileEx failed."))
        << "one line for the run of failures: " << text;
    SIM_SetSerialFault(0, SIM_SerialFault::None);
    ASSERT_EQ(write(peer, in + 1, 1), 1);
    ASSERT_TRUE(waitFor([] { return received() == 2; }));
    EXPECT_EQ(reports.bytes, (std::vector<uint8_t>{0x31, 0x32}));
}

// A device given by its path, as a pair made with socat gives it: a pseudo terminal, which
// cannot keep even parity, so the port works without.
TEST_F(SerialPort, APseudoTerminalGivenByItsPathOpensWithoutParity)
{
    int master = -1, slave = -1;
    char name[128] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    SIM_SetSerialDevice(0, name);
    Win32_Uart_Init(0, txDone, rx);
    ASSERT_TRUE(Win32_Uart_IsOpen(0)) << log.text();
    EXPECT_TRUE(log.contains(std::string("\nWin32_Uart_0: \\\\.\\COM20 is ") + name));
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t{CS8});
    EXPECT_EQ(t.c_cflag & CSTOPB, tcflag_t{0});
    EXPECT_EQ(t.c_cflag & PARENB, tcflag_t{0});
    const uint8_t in = 0x99;
    ASSERT_EQ(write(master, &in, 1), 1);
    ASSERT_TRUE(waitFor([] { return received() == 1; }));
    Win32_Uart_Close(0);
    close(slave);
    close(master);
}

} // namespace
