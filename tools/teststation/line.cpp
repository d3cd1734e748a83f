#include "line.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool configure(int fd, bool parity)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B4800);
    cfsetospeed(&t, B4800);
    t.c_cflag &= ~(CSIZE | PARODD | CSTOPB | CRTSCTS | PARENB);
    t.c_cflag |= CS8 | CLOCAL | CREAD | (parity ? PARENB : 0);
    t.c_iflag &= ~(IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
    termios back{};
    return tcgetattr(fd, &back) == 0 && (back.c_cflag & PARENB) == (t.c_cflag & PARENB);
}

} // namespace

Line::Line(const std::string& device, bool verbose) : verbose_(verbose), device_(device)
{
    // Without O_NONBLOCK the open of a port without carrier would wait for it.
    fd_ = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw StationError(2, "cannot open the device " + device + ": " + strerror(errno));
    if (!isatty(fd_)) {
        close(fd_);
        throw StationError(2, device + " is not a serial device");
    }
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    if (!configure(fd_, true)) {
        // A pseudo terminal keeps no parity: the line works without it.
        withoutParity_ = true;
        if (!configure(fd_, false)) {
            close(fd_);
            throw StationError(2, "cannot set 4800 baud 8E1 on " + device);
        }
    }
    tcflush(fd_, TCIOFLUSH);
}

Line::~Line()
{
    if (fd_ >= 0) close(fd_);
}

void Line::send(const uint8_t* bytes, size_t count)
{
    if (verbose_) {
        fprintf(stderr, ">");
        for (size_t i = 0; i < count; ++i)
            fprintf(stderr, " %02X", bytes[i]);
        fprintf(stderr, "\n");
    }
    size_t done = 0;
    while (done < count) {
        const ssize_t n = write(fd_, bytes + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw StationError(2, "cannot write to " + device_ + ": " + strerror(errno));
        done += static_cast<size_t>(n);
    }
}

std::optional<uint8_t> Line::receive(int timeoutMs)
{
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        uint8_t byte = 0;
        const ssize_t n = read(fd_, &byte, 1);
        if (n == 1) {
            if (verbose_) fprintf(stderr, "< %02X\n", byte);
            return byte;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        // The other end went away (a pseudo terminal whose partner closed).
        if (n == 0 || errno == EIO) return std::nullopt;
        throw StationError(2, "cannot read from " + device_ + ": " + strerror(errno));
    }
}

void Line::discard()
{
    while (receive(0)) {
    }
}
