// The hardware quality check's protocol, as the test station speaks it. Every command is
// answered by the acknowledge byte 0, except the reads, which answer with their data; the
// panel ends the check (and restarts) when the line is quiet for a second.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "line.h"

class Station {
  public:
    static constexpr uint16_t DISPLAY_BYTES = 4800; // 240 x 160 pixels, 8 a byte
    static constexpr uint8_t DISPLAY_CHUNK = 60;    // bytes a display command carries
    static constexpr uint8_t VIRTUAL_MAX = 8;

    Station(Line& line, int timeoutMs) : line_(line), timeoutMs_(timeoutMs) {}

    // Sends 5 until the panel answers: it opens the check on that byte only in the first
    // seconds after power-up. Throws a time-out when it has not answered within waitMs.
    void start(int waitMs);
    void testStart(); // 5: answered with 0, keeps the check alive
    void stop();      // 4: the panel restarts
    void special(uint8_t function);
    std::vector<uint8_t> readDisplay(uint16_t address, uint16_t count);
    void writeDisplay(uint16_t address, const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> readVirtual(uint16_t address, uint8_t count);
    void writeVirtual(uint16_t address, const std::vector<uint8_t>& bytes);
    // Waits, with a test start every few hundred milliseconds so the check stays open.
    void keepAlive(int ms);

  private:
    uint8_t expectByte(const std::string& what);
    void expectAcknowledge(const std::string& what);
    Line& line_;
    int timeoutMs_;
};
