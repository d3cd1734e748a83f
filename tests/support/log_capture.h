// Captures every byte of the panel's debug output while in scope.
#pragma once

#include <mutex>
#include <string>

#include "sim/hal/debug.h"

class LogCapture {
  public:
    LogCapture()
    {
        previous_ = SIM_SetDebugSink(&LogCapture::sink);
        clear();
    }
    ~LogCapture() { SIM_SetDebugSink(previous_); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const
    {
        std::lock_guard guard(lock());
        return buffer();
    }
    void clear()
    {
        std::lock_guard guard(lock());
        buffer().clear();
    }
    bool contains(const std::string& part) const { return text().find(part) != std::string::npos; }

  private:
    static std::mutex& lock()
    {
        static std::mutex m;
        return m;
    }
    static std::string& buffer()
    {
        static std::string b;
        return b;
    }
    static void sink(const char* text, size_t length)
    {
        std::lock_guard guard(lock());
        buffer().append(text, length);
    }
    SIM_DebugSink previous_;
};
