// Test programs keep the panel's debug output to themselves; a test that checks log lines
// captures them with LogCapture.
#include "sim/debug.h"

namespace {
struct QuietLog {
    QuietLog()
    {
        SIM_SetDebugSink([](const char*, size_t) {});
    }
} quietLog;
} // namespace
