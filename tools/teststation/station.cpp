#include "station.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

enum : uint8_t {
    CMD_STOP = 4,
    CMD_TEST_START = 5,
    CMD_WRITE_DISPLAY = 49,
    CMD_READ_DISPLAY = 50,
    CMD_SPECIAL = 62,
    CMD_WRITE_VIRTUAL = 244,
    CMD_READ_VIRTUAL = 247,
};
constexpr uint8_t ACKNOWLEDGE = 0;
constexpr int START_RETRY_MS = 400;
// After the check has opened, answers to the start bytes still on their way may follow.
constexpr int START_SETTLE_MS = 500;
constexpr int KEEP_ALIVE_MS = 400; // well inside the panel's second

std::string hex(uint8_t b)
{
    char s[8];
    snprintf(s, sizeof s, "%02X", b);
    return s;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::vector<uint8_t> header(uint8_t command, uint16_t address, uint8_t count)
{
    return {command, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF),
            count};
}

} // namespace

uint8_t Station::expectByte(const std::string& what)
{
    const auto byte = line_.receive(timeoutMs_);
    if (!byte)
        throw StationError(1, "time-out: the panel did not answer " + what + " within " +
                                  std::to_string(timeoutMs_) + " ms");
    return *byte;
}

void Station::expectAcknowledge(const std::string& what)
{
    const uint8_t byte = expectByte(what);
    if (byte != ACKNOWLEDGE)
        throw StationError(1, "bad answer to " + what + ": expected 00, got " + hex(byte));
}

void Station::start(int waitMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    line_.discard();
    for (;;) {
        line_.send(CMD_TEST_START);
        if (const auto byte = line_.receive(START_RETRY_MS); byte && *byte == ACKNOWLEDGE) break;
        if (Clock::now() >= deadline)
            throw StationError(1, "time-out: the panel did not open the hardware quality check "
                                  "within " +
                                      std::to_string(waitMs) +
                                      " ms (it does so only in the first 3 s after power-up)");
    }
    sleepMs(START_SETTLE_MS);
    line_.discard();
    testStart();
}

void Station::testStart()
{
    line_.send(CMD_TEST_START);
    expectAcknowledge("the test start (5)");
}

void Station::stop()
{
    line_.send(CMD_STOP);
    expectAcknowledge("the stop (4)");
}

void Station::special(uint8_t function)
{
    const uint8_t bytes[] = {CMD_SPECIAL, function};
    line_.send(bytes, sizeof bytes);
    expectAcknowledge("special function " + std::to_string(function));
}

std::vector<uint8_t> Station::readDisplay(uint16_t address, uint16_t count)
{
    std::vector<uint8_t> out;
    while (count > 0) {
        const auto n = static_cast<uint8_t>(std::min<uint16_t>(count, DISPLAY_CHUNK));
        const std::vector<uint8_t> command = header(CMD_READ_DISPLAY, address, n);
        line_.send(command.data(), command.size());
        for (uint8_t i = 0; i < n; ++i)
            out.push_back(expectByte("the display read at " + std::to_string(address)));
        address = static_cast<uint16_t>(address + n);
        count = static_cast<uint16_t>(count - n);
    }
    return out;
}

void Station::writeDisplay(uint16_t address, const std::vector<uint8_t>& bytes)
{
    for (size_t at = 0; at < bytes.size(); at += DISPLAY_CHUNK) {
        const auto n = static_cast<uint8_t>(std::min<size_t>(bytes.size() - at, DISPLAY_CHUNK));
        const auto where = static_cast<uint16_t>(address + at);
        std::vector<uint8_t> command = header(CMD_WRITE_DISPLAY, where, n);
        command.insert(command.end(), bytes.begin() + long(at), bytes.begin() + long(at + n));
        line_.send(command.data(), command.size());
        expectAcknowledge("the display write at " + std::to_string(where));
    }
}

std::vector<uint8_t> Station::readVirtual(uint16_t address, uint8_t count)
{
    count = std::min(count, VIRTUAL_MAX);
    const std::vector<uint8_t> command = header(CMD_READ_VIRTUAL, address, count);
    line_.send(command.data(), command.size());
    std::vector<uint8_t> out;
    for (uint8_t i = 0; i < count; ++i)
        out.push_back(
            expectByte("the read of virtual address " + hex(address >> 8) + hex(address & 0xFF)));
    return out;
}

void Station::writeVirtual(uint16_t address, const std::vector<uint8_t>& bytes)
{
    const auto n = static_cast<uint8_t>(std::min<size_t>(bytes.size(), VIRTUAL_MAX));
    std::vector<uint8_t> command = header(CMD_WRITE_VIRTUAL, address, n);
    command.insert(command.end(), bytes.begin(), bytes.begin() + n);
    line_.send(command.data(), command.size());
    expectAcknowledge("the write of virtual address " + hex(address >> 8) + hex(address & 0xFF));
}

void Station::keepAlive(int ms)
{
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        sleepMs(static_cast<int>(std::min<int64_t>(left.count(), KEEP_ALIVE_MS)));
        testStart();
    }
}
