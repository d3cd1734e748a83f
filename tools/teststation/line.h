// The station's end of the serial line: 4800 baud 8E1, raw, one byte at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

// What went wrong, with the exit status it stands for: 1 the panel (time-out, bad answer,
// a difference), 2 the station's side (usage, device, files).
struct StationError : std::runtime_error {
    StationError(int status, const std::string& message)
        : std::runtime_error(message), status(status)
    {
    }
    int status;
};

class Line {
  public:
    // Opens and configures the device; a pseudo terminal, which has no parity, is used
    // without it. Throws StationError (status 2) when the device cannot be used.
    explicit Line(const std::string& device, bool verbose);
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    void send(const uint8_t* bytes, size_t count);
    void send(uint8_t byte) { send(&byte, 1); }
    // The next byte from the panel, or nothing after timeoutMs.
    std::optional<uint8_t> receive(int timeoutMs);
    // Drops whatever has arrived and is not read yet.
    void discard();
    bool withoutParity() const { return withoutParity_; }

  private:
    int fd_ = -1;
    bool verbose_;
    bool withoutParity_ = false;
    std::string device_;
};
